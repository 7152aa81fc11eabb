// The recording commands of the main window: the current book, or every book of the working
// folder, into numbered block files of a book folder.
#include "app/bookkind.h"
#include "app/busy.h"
#include "app/globals.h"
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/books/books.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/services/shutdown.h"
#include "platform/services/soundplayer.h"
#include "platform/text/docnames.h"
#include "platform/text/estimate.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"
#include "recording/batchreport.h"
#include "recording/jobstep.h"
#include "recording/monitor.h"
#include "recording/recordingrun.h"
#include "recording/voicelist.h"
#include "settings/setup.h"
#include "settings/workfolder.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QScrollBar>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>

namespace {

Prompter &prompter()
{
    return services::prompter();
}

// The monitor shows the title and figures of the book it records now, at the speech rate set
// now. Measuring reads the whole book: once for every book recorded.
void showBookFigures()
{
    Monitor &m = monitor();
    m.setBookTitle(BookTitle);
    SetKoeff();
    m.showBookFigures(RichTextBox::measure(CurTextPath, CharsPerMin));
}

// The end of a recording, completed or not: the main window comes back with its toolbar.
void restoreWindows(MainWindow &main)
{
    main.setToolbarEnabled(true);
    main.show();
    monitor().hide();
}

void finishCompleted()
{
    if (monitor().shutdownAfterRecording())
        services::shutdown().powerOff();
}

void playEndSound()
{
    if (setup().Check3->isChecked())
        services::soundPlayer().play(programfolder::file(QStringLiteral("end.wav")));
}

// The monitor becomes the program's face, every other window hidden, and the voice's
// replacement list is loaded: every block of a book, in a batch as well, gets the list of the
// voice that speaks it.
void showMonitorWithVoiceList(MainWindow &main)
{
    monitor().show();
    appwindows::hideAllExcept(&monitor());
    main.LoadVoiceDic();
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A batch book whose finished folder exists already is not recorded again: its text moves into
// that folder, out of the queue, and the user is told (the returned line). A finished folder
// that remembers another text keeps to itself.
QString setAsideFinished(const QString &book, const std::optional<cutrecord::Record> &current)
{
    const QString finished = recordingrun::finishedFolder();
    const cutrecord::Comparison cut = recordingrun::checkCut(finished, current);
    if (cutrecord::mayHoldAnotherBook(cut.verdict))
        return QStringLiteral("Книга %1 не записана: в готовой папке %2 другая книга (%3); её текст оставлен "
                              "в рабочем каталоге.")
            .arg(BookTitle, nativePath(finished), cut.difference);
    const QString moved = QDir(finished).filePath(QFileInfo(book).fileName());
    QFile text(book);
    const QString where =
        text.rename(moved)
            ? QStringLiteral("её текст перенесён в эту папку")
            : QStringLiteral("её текст оставлен в рабочем каталоге (%1)").arg(text.errorString());
    return QStringLiteral("Книга %1 не записана: готовая книга %2 уже есть; %3.")
        .arg(BookTitle, nativePath(finished), where);
}

// A finished folder of the title stands beside the book folder: a new recording could never
// take its name. Nothing is recorded, so neither folder is touched.
bool refuseFinishedTwice()
{
    const QString finished = recordingrun::finishedFolder();
    if (!QFileInfo::exists(finished))
        return false;
    prompter().critical(
        QStringLiteral("Аудиокнига уже записана в папку %1.\nНовая запись осталась бы в папке %2 "
                       "без «!», рядом с готовой. Переименуйте или перенесите готовую папку "
                       "и начните запись снова.")
            .arg(nativePath(finished), nativePath(recordingrun::bookFolder())));
    return true;
}

// The book folder holds blocks cut otherwise or from another text: the user chooses between
// starting the book anew, the old blocks kept beside the book folder, and recording nothing.
bool startAnewOrCancel(const QString &difference)
{
    // Its blocks are not moved from under it.
    if (recordingrun::heldByRunningCopy(recordingrun::bookFolder())) {
        prompter().critical(recordingrun::heldRefusal());
        return false;
    }
    const QString aside = recordingrun::asideFolder();
    QString question =
        QStringLiteral(
            "Блоки в папке %1 нарезаны не для этой записи: %2.\nНачать книгу заново? Прежние блоки "
            "будут перенесены в папку %3, ничего не удаляется.\nОтмена — ничего не записывать.")
            .arg(nativePath(recordingrun::bookFolder()), difference, nativePath(aside));
    // Other copies would go on writing their blocks of the old cut into the new one.
    if (recordingrun::selection()->step > 1)
        question +=
            QStringLiteral("\nЕсли эту книгу записывают другие копии программы, сначала остановите их.");
    if (prompter().ask(question, Prompter::Icon::Question, Prompter::Buttons::OkCancel) !=
        Prompter::Answer::Ok)
        return false;
    // Another copy may have finished the book while the question was open.
    return !refuseFinishedTwice() && recordingrun::moveBlocksAside(aside);
}

// The start both recording commands share: none while a recording runs; the stop request
// cleared and the prosody tags built from the settings as they stand.
bool startCommand()
{
    if (busy::refuse(busy::Change::StartJob))
        return false;
    StopFlag = false;
    setup().Tembrs();
    return true;
}

// The names of the books a batch takes: texts and e-books. An RTF file is no batch book.
QStringList batchPatterns()
{
    QStringList patterns = books::namePatterns();
    patterns.removeAll(QStringLiteral("*.rtf"));
    return patterns;
}

// The first book of the batch queue that this batch has not taken yet, in name order.
QString nextBatchBook(const QString &folder, const QSet<QString> &taken)
{
    const QStringList books =
        QDir(folder).entryList(batchPatterns(), QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : books) {
        const QString path = QDir(folder).filePath(name);
        if (!taken.contains(path))
            return path;
    }
    return {};
}

// The canonical path of a file, to compare with what busy asks about.
QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

// A recording command's run, from the monitor's coming up to the windows' return: it holds the
// job and its files, and goes on from the end of each book's recording.
class RecordingJob : public QObject
{
public:
    explicit RecordingJob(MainWindow &main) : QObject(&main), m_main(main)
    {
        m_job.emplace(busy::Job::Recording);
        m_job->holdFiles([this](const QString &path) { return holds(path); });
    }

protected:
    virtual bool holds(const QString &path) const = 0;
    virtual void bookEnded(recordingrun::Result result) = 0;

    // Records the current book (CurTextPath) cut as `current`.
    void record(const std::optional<cutrecord::Record> &current)
    {
        showBookFigures();
        recordingrun::BookRecording *book = recordingrun::recordBook(current, this);
        connect(book, &JobStep::finished, this, [this, book] {
            book->deleteLater();
            bookEnded(book->result());
        });
    }
    // The job is over: other jobs may start and what is told holds nothing.
    void over()
    {
        m_job.reset();
        restoreWindows(m_main);
        deleteLater();
    }

    MainWindow &m_main;

private:
    std::optional<busy::JobScope> m_job;
};

// The current book, recorded by MakeBook.
class BookJob : public RecordingJob
{
public:
    BookJob(MainWindow &main, const std::optional<cutrecord::Record> &current)
        : RecordingJob(main), m_book(canonical(CurTextPath))
    {
        showMonitorWithVoiceList(main);
        record(current);
    }

private:
    bool holds(const QString &path) const override { return path == m_book; }
    void bookEnded(recordingrun::Result result) override
    {
        over();
        // Another copy of the program took the folder for another cut since the question.
        if (!result.otherCut.isEmpty())
            prompter().critical(
                QStringLiteral("Книга не записана: блоки в папке %1 нарезаны не для этой записи: %2.")
                    .arg(nativePath(recordingrun::bookFolder()), result.otherCut));
        if (!result.failure.isEmpty())
            prompter().critical(result.failure);
        if (result.outcome != conversion::Outcome::Completed)
            return;
        finishCompleted();
        playEndSound();
    }

    QString m_book;
};

// Every book of the working folder, one after the other, recorded by MakePaket. A failed book
// holds nothing up: the next one starts at once and the closing summary says why it failed.
// Only the user's stop ends the batch early, whatever the book being recorded did after it.
class BatchJob : public RecordingJob
{
public:
    BatchJob(MainWindow &main, const QString &folder)
        : RecordingJob(main), m_folder(folder), m_canonicalFolder(canonical(folder)),
          m_editorPath(CurTextPath), m_editorTitle(BookTitle)
    {
        showMonitorWithVoiceList(main);
        next();
    }

private:
    // The book being recorded, and every book of the folder the batch has not taken yet.
    bool holds(const QString &path) const override
    {
        const QFileInfo file(path);
        return path == m_book ||
               (QDir::match(m_patterns, file.fileName()) && canonical(file.path()) == m_canonicalFolder &&
                !m_taken.contains(QDir(m_folder).filePath(file.fileName())));
    }

    void next()
    {
        while (!StopFlag) {
            const QString book = nextBatchBook(m_folder, m_taken);
            if (book.isEmpty())
                break;
            m_taken.insert(book);
            m_book = canonical(book);
            m_queued = book;
            const QString name = QFileInfo(book).fileName();
            if (bookkind::readAsText(book)) {
                m_eBookText.reset();
                CurTextPath = book;
                BookTitle = docnames::titleBeforeFirstDot(name);
            } else if (const QString refused = takeEBook(book); !refused.isEmpty()) {
                notRecorded(QStringLiteral("Книга %1 не записана: %2 Её файл оставлен в рабочем каталоге.")
                                .arg(name, refused));
                continue;
            }
            if (m_titles.contains(BookTitle)) {
                notRecorded(QStringLiteral("Книга %1 не записана: у неё то же название %2, что у книги %3 "
                                           "этого пакета; её текст оставлен в рабочем каталоге.")
                                .arg(name, BookTitle, m_titles[BookTitle]));
                continue;
            }
            m_titles.insert(BookTitle, name);
            QString unreadable;
            const auto current = recordingrun::currentCut(&unreadable);
            if (!current) {
                if (unreadable.endsWith(u'.'))
                    unreadable.chop(1);
                notRecorded(QStringLiteral("Книга %1 не записана: %2; её текст оставлен в рабочем каталоге.")
                                .arg(name, unreadable));
                continue;
            }
            // Nobody is there to confirm a reading that may be wrong.
            if (const QString doubt = textfile::LineReader(CurTextPath).doubt(); !doubt.isEmpty()) {
                notRecorded(QStringLiteral("Книга %1 не записана: %2 Её текст оставлен в рабочем каталоге.")
                                .arg(name, doubt));
                continue;
            }
            if (QFileInfo::exists(recordingrun::finishedFolder())) {
                notRecorded(setAsideFinished(book, current));
                continue;
            }
            record(current);
            return;
        }
        m_book.clear();
        finish();
    }

    void bookEnded(recordingrun::Result result) override
    {
        const QString name = QFileInfo(m_queued).fileName();
        if (!result.otherCut.isEmpty()) {
            notRecorded(QStringLiteral("Книга %1 не записана: блоки в папке %2 нарезаны не для неё (%3); её "
                                       "текст оставлен в рабочем каталоге.")
                            .arg(BookTitle, nativePath(recordingrun::bookFolder()), result.otherCut));
        } else if (result.outcome == conversion::Outcome::Failed) {
            notRecorded(QStringLiteral("Книга %1 не записана: %2").arg(name, result.failure));
        } else if (result.finished) {
            if (!m_eBookText) {
                QFile::remove(CurTextPath);
            } else {
                // An e-book is the user's own book, not a copy made for the queue: it goes with
                // its recording.
                QFile eBook(m_queued);
                if (!eBook.rename(QDir(recordingrun::finishedFolder()).filePath(name)))
                    notRecorded(QStringLiteral("Книга %1 записана, но не перенесена в папку %2 (%3): она "
                                               "осталась в рабочем каталоге и будет записана снова.")
                                    .arg(name, nativePath(recordingrun::finishedFolder()), eBook.errorString()));
            }
            m_report << QStringLiteral("Книга %1 записана в папку %2.")
                            .arg(name, nativePath(recordingrun::finishedFolder()));
        } else if (result.outcome == conversion::Outcome::Stopped) {
            m_stoppedUnfinished = true;
        } else {
            m_report << QStringLiteral("Книга %1: блоки этой копии программы записаны, книгу заканчивают "
                                       "другие копии; её текст оставлен в рабочем каталоге.")
                            .arg(name);
        }
        m_recorded = m_recorded || result.finished || result.outcome == conversion::Outcome::Completed;
        next();
    }

    // A book not recorded, and why: for the summary and the report.
    void notRecorded(const QString &line)
    {
        m_summary << line;
        m_report << line;
    }

    // Before the power-off the summary goes to a report in the working folder, where the next
    // start finds it: no box would be read on a machine that is off. True once powered off.
    bool reportAndPowerOff(QStringList &summary)
    {
        QString reason;
        if (!batchreport::write(m_folder, m_report, &reason)) {
            summary << textfile::failureMessage(
                QStringLiteral("Компьютер не выключен: не удалось записать отчёт пакетной записи"),
                batchreport::path(m_folder), reason);
            return false;
        }
        return services::shutdown().powerOff();
    }

    // Makes the e-book at `path` the current book: its text, read once, in a text file of the
    // batch's own that the recording reads, and its title. Why it is refused, or nothing.
    QString takeEBook(const QString &path)
    {
        const books::Reading reading = books::read(path);
        if (!reading.ok)
            return reading.message.isEmpty() ? QStringLiteral("книга не прочитана.") : reading.message;
        m_eBookText.emplace();
        const QString text = m_eBookText->filePath(QStringLiteral("book.txt"));
        QString reason;
        if (!m_eBookText->isValid() ||
            !textfile::writeText(text, reading.text, textcodec::Encoding::Utf8, &reason)) {
            m_eBookText.reset();
            return textfile::writeFailure(text, reason);
        }
        CurTextPath = text;
        BookTitle = docnames::eBookTitle(reading.title);
        return {};
    }

    void finish()
    {
        CurTextPath = m_editorPath;
        BookTitle = m_editorTitle;
        m_main.Dlitelnost();
        const bool stopped = StopFlag;
        QStringList summary = m_summary;
        // Whatever else is told, the user's stop is why the later books were not recorded.
        if (stopped && (!summary.isEmpty() || m_stoppedUnfinished))
            summary << QStringLiteral("Пакетная запись прервана: книги, которые не записаны, оставлены в "
                                      "рабочем каталоге.");
        const bool poweredOff = !stopped && monitor().shutdownAfterRecording() && reportAndPowerOff(summary);
        over();
        if (!summary.isEmpty() && !poweredOff)
            prompter().ask(summary.join(u'\n'), Prompter::Icon::Exclamation, Prompter::Buttons::Ok);
        if (!stopped && m_recorded)
            playEndSound();
    }

    const QString m_folder;
    const QString m_canonicalFolder;
    // The batch's books pass through the book globals; the editor's book is current again after.
    const QString m_editorPath;
    const QString m_editorTitle;
    const QStringList m_patterns = batchPatterns();
    QString m_book;   // canonical
    QString m_queued; // the book as the queue names it
    // The text of the e-book being recorded, while it is recorded.
    std::optional<QTemporaryDir> m_eBookText;
    // A book that failed or was not finished keeps its text and is not taken again.
    QSet<QString> m_taken;
    // One book per title: a second book would resume the first one's blocks as its own.
    QHash<QString, QString> m_titles;
    QStringList m_summary; // the books not recorded, and why
    QStringList m_report;  // every book, in the batch's order
    bool m_recorded = false;
    bool m_stoppedUnfinished = false;
};

} // namespace

void MainWindow::SetFragmentSize()
{
    const QScrollBar *minutes = setup().FlatScrollBar1;
    if (minutes->value() < minutes->maximum()) {
        SetKoeff();
        BlockLimit = std::int32_t(minutes->value()) * CharsPerMin;
    } else {
        BlockLimit = 99999999; // no block reaches it: only chapter markers cut the book
    }
}

void MainWindow::LoadVoiceDic()
{
    ::LoadVoiceDic(statusPanels[3]->text());
}

void MainWindow::MakeBook()
{
    if (!startCommand())
        return;
    const auto folder = workfolder::checkedFolder();
    if (!folder)
        return;
    SetFragmentSize();
    Setup &settings = setup();
    if (workfolder::hasBlank(*folder)) {
        const QString fallBack = QDir::home().filePath(QStringLiteral("Quenvale_MP3"));
        settings.Text28->setText(fallBack);
        QDir().mkpath(fallBack);
        prompter().critical(QStringLiteral("Укажите каталог %1 или другой БЕЗ ПРОБЕЛОВ в названии !!!")
                                .arg(QDir::toNativeSeparators(fallBack)));
        return;
    }
    // The recording reads a file: an e-book's text is saved as a text first, beside the book.
    if (holdsEBook() && !saveAsText())
        return;
    // A title without a saved file (a fresh window keeps placeholders) is no book to record.
    if (BookTitle.isEmpty() || !docnames::isFilePath(CurTextPath)) {
        if (!RichTextBox2->Text().isEmpty())
            prompter().critical(QStringLiteral(
                "Запись аудиокниги осуществляется  из СОХРАНЕННОГО ФАЙЛА, а не из содержимого текстового "
                "окна! "
                "Текст должен быть сохранен в файл. Воспользуйтесь кнопкой СОХРАНИТЬ ТЕКСТ КАК... "));
        else
            prompter().critical(QStringLiteral("Не указан текстовый файл для записи аудиокниги! "));
        return;
    }
    if (!recordingrun::checkSelection())
        return;
    BookTitle = docnames::blanksToUnderscores(BookTitle);
    if (refuseFinishedTwice())
        return;
    BlockNo = 0;
    ReadStart = 0;
    ReadEnd = 0;
    if (settings.Check1->isChecked()) {
        const QString question = QStringLiteral(
            "Внимание!\r\nЗапись аудиокниги всегда производится из СОХРАНЕННОГО ФАЙЛА, а не из "
            "содержимого текстового окна, поэтому если Вы изменяли этот текст необходимо сохраните "
            "все изменения! \r\nСохранить изменения в файле и продолжить запись?");
        if (prompter().ask(question, Prompter::Icon::Question, Prompter::Buttons::OkCancel) !=
            Prompter::Answer::Ok)
            return;
        // The question promises the save: the editor's changes to this book reach the file first.
        if (textChanged && !saveEditorTo(CurTextPath))
            return;
    }
    // Asked before the monitor comes up, of the book as it is saved now.
    QString unreadable;
    const auto current = recordingrun::currentCut(&unreadable);
    if (!current) {
        prompter().critical(textfile::openFailure(CurTextPath, unreadable));
        return;
    }
    if (const QString doubt = textfile::LineReader(CurTextPath).doubt();
        !doubt.isEmpty() &&
        prompter().ask(doubt + QStringLiteral(" Записать её так?"), Prompter::Icon::Question,
                       Prompter::Buttons::OkCancel) != Prompter::Answer::Ok)
        return;
    QDir().mkpath(recordingrun::bookFolder());
    const cutrecord::Comparison cut = recordingrun::checkCut(recordingrun::bookFolder(), current);
    if (!cut.difference.isEmpty() && !startAnewOrCancel(cut.difference))
        return;

    new BookJob(*this, current);
}

void MainWindow::MakePaket()
{
    if (!startCommand())
        return;
    Setup &settings = setup();
    SetFragmentSize();
    if (!recordingrun::checkSelection())
        return;
    const QString folder = settings.Text28->text();
    if (!workfolder::found(folder))
        return;
    if (settings.Check1->isChecked() &&
        prompter().ask(
            QStringLiteral("Будет произведена запись аудиокниг из всех файлов, находящихся в рабочем "
                           "каталоге. После успешного окончания записи очередной аудиокниги, "
                           "соответствующий текстовый файл из рабочего каталога будет удален."),
            Prompter::Icon::Exclamation, Prompter::Buttons::OkCancel) != Prompter::Answer::Ok)
        return;

    new BatchJob(*this, folder);
}
