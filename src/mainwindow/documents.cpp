// The document commands of the main window: open, save, clear, add to the batch, and the
// pre-formatting of an opened text.
#include "app/bookkind.h"
#include "app/booklosses.h"
#include "app/busy.h"
#include "app/globals.h"
#include "mainwindow/mainwindow.h"
#include "platform/books/books.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/docnames.h"
#include "platform/text/preformat.h"
#include "platform/text/textfile.h"
#include "settings/setup.h"
#include "settings/workfolder.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace {

Prompter &prompter()
{
    return services::prompter();
}

bool confirmationsOn()
{
    return setup().Check1->isChecked();
}

QString chooseFile(const docnames::FileDialogSpec &spec, bool forSaving, const QString &suggested = {})
{
    FileChooser &chooser = services::fileChooser();
    return forSaving ? chooser.saveFile(spec.title, spec.filter, suggested, spec.selectedFilter)
                     : chooser.openFile(spec.title, spec.filter, suggested, spec.selectedFilter);
}

void reportUnwritten(const QString &path, const QString &reason)
{
    prompter().critical(textfile::writeFailure(path, reason));
}

// Writes the editor to `path`, never over an e-book; a failure is reported naming the file and
// the reason.
bool writeEditor(MainWindow &window, const QString &path, RichTextBox::FileType type)
{
    const RichTextBox &editor = *window.RichTextBox2;
    if (bookkind::refuseWritingOver(path))
        return false;
    if (type == RichTextBox::FileType::Text && !booklosses::lossAccepted(editor))
        return false;
    if (editor.SaveFile(path, type)) {
        window.textChanged = false;
        return true;
    }
    reportUnwritten(path, editor.errorString());
    return false;
}

// The save-as commands: the current file moves only once the new one is written. The text of
// the e-book the editor holds (`eBook`, empty for a text) is proposed a name after the book's
// title beside it (`suffix`), never the e-book's own.
bool saveEditorAs(MainWindow &window, const docnames::FileDialogSpec &dialog, RichTextBox::FileType type,
                  const QString &eBook, const QString &suffix)
{
    const QString suggested = eBook.isEmpty() ? QString() : docnames::besideFile(eBook, BookTitle, suffix);
    const QString path = chooseFile(dialog, true, suggested);
    if (path.isEmpty() || !writeEditor(window, path, type))
        return false;
    CurTextPath = path;
    window.Dlitelnost();
    return true;
}

const QString kTextSuffix = QStringLiteral(".txt");

} // namespace

void MainWindow::OpenTextFile()
{
    if (const QString path = chooseFile(docnames::openTextDialog(books::namePatterns()), false);
        !path.isEmpty())
        openBook(path);
}

bool MainWindow::openBook(const QString &path)
{
    if (!bookkind::readAsText(path)) {
        if (!loadEBook(path))
            return false;
    } else if (RichTextBox2->LoadFile(path)) {
        BookTitle = docnames::bookTitleFromPath(path);
        CurTextPath = path;
        m_eBook.clear();
    } else {
        // A file that cannot be read changes nothing: the book in the editor stays current.
        prompter().critical(textfile::openFailure(path, RichTextBox2->errorString()));
        return false;
    }
    Text7->setText(path);
    Text8->setText(BookTitle);
    Dlitelnost();
    PreFormat();
    RichTextBox2->setSelStart(0);
    booklosses::tellDamaged(*RichTextBox2);
    return true;
}

bool MainWindow::holdsEBook() const
{
    return !m_eBook.isEmpty() && !docnames::isFilePath(CurTextPath);
}

QString MainWindow::bookSource() const
{
    return holdsEBook() ? m_eBook : CurTextPath;
}

bool MainWindow::loadEBook(const QString &path, const QString &title)
{
    Label1->setText(QStringLiteral("Чтение книги %1").arg(QFileInfo(path).fileName()));
    ProgressBar1->setMaximum(1000);
    ProgressBar1->setValue(0);
    Check4->setChecked(false);
    Frame1->show();
    Frame1->raise();
    books::Reading reading;
    {
        const busy::JobScope job(busy::Job::BookReading); // locks the editor meanwhile
        // Events get through at the first step of the reader, then every 50 ms, not at every step.
        QElapsedTimer shown;
        reading = books::read(path, [this, &shown](int permille) {
            if (shown.isValid() && shown.elapsed() < 50)
                return true;
            shown.start();
            ProgressBar1->setValue(permille);
            QCoreApplication::processEvents();
            return !Check4->isChecked();
        });
    }
    Frame1->hide();
    if (!reading.ok) {
        if (!reading.message.isEmpty())
            prompter().critical(reading.message);
        return false;
    }
    RichTextBox2->setText(reading.text);
    RichTextBox2->forgetFile(); // its text is saved as a new text, never into the e-book
    CurTextPath.clear();
    m_eBook = path;
    BookTitle = title.isEmpty() ? docnames::eBookTitle(reading.title) : title;
    textChanged = false;
    textPreformatted = false;
    // The part of a damaged book that could be read is shown; what was lost is told.
    if (!reading.message.isEmpty())
        prompter().ask(reading.message, Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
    return true;
}

bool MainWindow::saveAsText()
{
    return saveEditorAs(*this, docnames::saveTextDialog(), RichTextBox::FileType::Text,
                        holdsEBook() ? m_eBook : QString(), kTextSuffix);
}

void MainWindow::PreFormat()
{
    preformatEditor(preformat::Mode::AsNeeded);
}

void MainWindow::preformatEditor(preformat::Mode mode)
{
    // A text whose reading may be wrong, or a joined one, is kept byte for byte, as its message
    // promises.
    if (RichTextBox2->keepsBytes())
        return;
    Label1->setText(preformat::caption());
    ProgressBar1->setMaximum(preformat::kProgressMaximum);
    ProgressBar1->setValue(0);
    // A cancel ends this run only; the next opened text is pre-formatted again.
    Check4->setChecked(false);
    Frame1->show();
    Frame1->raise();
    const busy::JobScope job(busy::Job::Preformatting); // locks the editor meanwhile
    const QString book = CurTextPath;
    const QString original = RichTextBox2->Text();

    preformat::Hooks hooks;
    hooks.cancelRequested = [this] {
        QCoreApplication::processEvents();
        return Check4->isChecked();
    };
    hooks.progressed = [this](int value) { ProgressBar1->setValue(value); };
    const preformat::Outcome outcome = preformat::run(original, hooks, mode);

    Frame1->hide();
    // Events got through meanwhile: the result belongs to the text it was made from, never
    // to another book that came into the editor since.
    if (CurTextPath != book || RichTextBox2->Text() != original)
        return;
    RichTextBox2->setText(outcome.text);
    // The pre-formatting is no change of the user's: the text still stands for its file.
    textChanged = false;
    textPreformatted = !outcome.cancelled;
}

void MainWindow::SaveText()
{
    // An e-book's text has no file yet: the save proposes one beside the book.
    if (holdsEBook()) {
        saveAsText();
        return;
    }
    if (confirmationsOn() && !prompter().confirm(QStringLiteral("Сохранить изменения?")))
        return;
    // The fresh-window placeholder is no file name either.
    if (!docnames::isFilePath(CurTextPath)) {
        prompter().critical(
            QStringLiteral("Не задано имя файла! Воспользуйтесь функцией СОХРАНИТЬ ТЕКСТ КАК... "));
        return;
    }
    if (writeEditor(*this, CurTextPath, RichTextBox::FileType::Text))
        Dlitelnost();
}

bool MainWindow::saveEditorTo(const QString &path)
{
    return writeEditor(*this, path, RichTextBox::FileType::Text);
}

void MainWindow::SaveTextAs()
{
    saveAsText();
}

void MainWindow::SaveRtfAs()
{
    saveEditorAs(*this, docnames::saveRtfDialog(), RichTextBox::FileType::Rtf,
                 holdsEBook() ? m_eBook : QString(), QStringLiteral(".rtf"));
}

void MainWindow::ClearText_Click()
{
    if (prompter().ask(QStringLiteral("Очистить текстовое окно?"), Prompter::Icon::Exclamation,
                       Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    // The lock stays with the running jobs: a chapter search still holds it.
    RichTextBox2->setText(QString());
    RichTextBox2->forgetFile(); // a new text is saved as one
    CurTextPath.clear();
    m_eBook.clear();
    Text7->clear();
    Text8->clear();
}

void MainWindow::AddToPaket()
{
    const std::optional<QString> folder = workfolder::checkedFolder();
    if (!folder)
        return;
    BookTitle = docnames::blanksToUnderscores(BookTitle);
    // Without a title the copy would be a hidden ".txt" that the batch never lists.
    if (BookTitle.isEmpty()) {
        services::prompter().critical(QStringLiteral("У текста нет названия: он не добавлен в пакет."));
        return;
    }
    if (!workfolder::confirmAdding())
        return;
    const QString path = docnames::batchFilePath(*folder, BookTitle);
    if (!booklosses::lossAccepted(*RichTextBox2))
        return;
    QString reason;
    if (!textfile::writeText(path, RichTextBox2->Text(), RichTextBox2->encoding(), &reason))
        reportUnwritten(path, reason);
}

void MainWindow::RichTextBox2_DblClick(int position)
{
    // Never while a reading holds the editor, and never over the word the double click selected.
    if (RichTextBox2->Locked())
        return;
    RichTextBox2->setSelStart(position);
    RichTextBox2->setSelText(QStringLiteral(">"));
}
