#include "texttools/library.h"

#include "app/bookkind.h"
#include "app/booklosses.h"
#include "app/busy.h"
#include "app/globals.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/docnames.h"
#include "platform/text/estimate.h"
#include "platform/text/logging.h"
#include "platform/text/textfile.h"
#include "settings/workfolder.h"
#include "texttools/libraryfiles.h"
#include "texttools/toolwindowparts.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QStorageInfo>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

using toolwindowparts::named;

const QString kNoFile = QStringLiteral("Укажите файл!");

Prompter &prompter()
{
    return services::prompter();
}

RichTextBox *mainText()
{
    MainWindowPort *main = mainwindowport::get();
    return main ? main->editor() : nullptr;
}

} // namespace

Library::Library(QWidget *parent) : ToolWindow(parent)
{
    setObjectName(QStringLiteral("biblioteka"));
    setWindowTitle(QStringLiteral("БИБЛИОТЕКАРЬ - помощник в поиске книг"));

    Toolbar1 = named(new QToolBar(this), QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto button = [this](int index, const QString &name, const QString &caption, const QString &toolTip,
                               QStyle::StandardPixmap icon) {
        return toolwindowparts::button(*Toolbar1, index, name, caption, toolTip, style()->standardIcon(icon),
                                       [this](int clicked) { Toolbar1_ButtonClick(clicked); });
    };
    QAction *search =
        button(1, QStringLiteral("SearchInFiles"), QStringLiteral("Найти книгу"),
               QStringLiteral("Поиск слов в текстах выбранного каталога"), QStyle::SP_FileDialogContentsView);
    stopButton = button(2, QStringLiteral("StopSearch"), QStringLiteral("Остановить"),
                        QStringLiteral("Остановить поиск"), QStyle::SP_BrowserStop);
    stopButton->setCheckable(true);
    button(3, QStringLiteral("DeleteTextFile"), QStringLiteral("Удалить"),
           QStringLiteral("Безвозвратно удалить выбранный файл"), QStyle::SP_TrashIcon);
    button(4, QStringLiteral("AddToWorkFolder"), QStringLiteral("Добавить"),
           QStringLiteral("Добавить текст для \"пакетной\" обработки"), QStyle::SP_FileDialogNewFolder);
    button(5, QStringLiteral("OpenInMainWindow"), QStringLiteral("Открыть"),
           QStringLiteral("Загрузить выбранный файл в основное окно программы"), QStyle::SP_DialogOpenButton);
    button(6, QStringLiteral("ShowLibraryHelp"), QStringLiteral("Помощь"),
           QStringLiteral("Краткая инструкция по работе с Библиотекарем"), QStyle::SP_DialogHelpButton);

    Drive1 = named(new QComboBox, QStringLiteral("Drive1"));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            Drive1->addItem(volume.rootPath());
    }
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    Dir1 = named(new QTreeView, QStringLiteral("Dir1"));
    Dir1->setModel(m_folders);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        Dir1->hideColumn(column);
    File1 = named(new QListWidget, QStringLiteral("File1"));
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    Text1 = named(new RichTextBox, QStringLiteral("Text1"));
    Text1->setLocked(true);
    Drive1->setAccessibleName(QStringLiteral("Диск"));
    Dir1->setAccessibleName(QStringLiteral("Каталоги"));
    File1->setAccessibleName(QStringLiteral("Файлы"));
    Text1->setFieldName(QStringLiteral("Начало выбранного файла"));

    Frame1 = named(new QGroupBox(QStringLiteral("Слова для поиска в библиотеке")), QStringLiteral("Frame1"));
    auto *termsLayout = new QHBoxLayout(Frame1);
    for (int i = 0; i < 4; ++i) {
        terms << named(new QLineEdit, QStringLiteral("Text%1").arg(2 + i));
        terms.last()->setAccessibleName(QStringLiteral("Слово для поиска %1").arg(i + 1));
        termsLayout->addWidget(terms.last());
    }
    terms.first()->setToolTip(QStringLiteral("Слово или фраза для поиска"));
    // Return in a search field searches, as the tool-bar button does.
    for (QLineEdit *term : terms)
        connect(term, &QLineEdit::returnPressed, search, &QAction::trigger);

    StatusBar1 = named(new QStatusBar, QStringLiteral("StatusBar1"));
    const QString panelTips[] = {QStringLiteral("Размер произведения"), QStringLiteral("Время звучания")};
    for (int i = 0; i < 2; ++i) {
        auto *panel = named(new QLabel, QStringLiteral("Panel%1").arg(i + 1));
        panel->setToolTip(panelTips[i]);
        panel->setMinimumWidth(120);
        StatusBar1->addWidget(panel);
        statusPanels << panel;
    }

    auto *lists = new QVBoxLayout;
    lists->addWidget(Drive1);
    lists->addWidget(Dir1, 1);
    auto *browser = new QHBoxLayout;
    browser->addLayout(lists, 2);
    browser->addWidget(File1, 2);
    browser->addWidget(Text1, 3);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->addWidget(Toolbar1);
    layout->addLayout(browser, 1);
    layout->addWidget(Frame1);
    layout->addWidget(StatusBar1);
    resize(820, 520);

    // The lists start at the current folder, on its volume.
    const QString start = QDir::currentPath();
    const int drive = Drive1->findText(QStorageInfo(start).rootPath());
    if (drive >= 0)
        Drive1->setCurrentIndex(drive);
    if (!Drive1->currentText().isEmpty()) {
        m_folders->setRootPath(Drive1->currentText());
        Dir1->setRootIndex(m_folders->index(Drive1->currentText()));
    }
    connect(Drive1, &QComboBox::currentIndexChanged, this, &Library::Drive1_Change);
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    setFolder(m_folders->filePath(current));
            });
    connect(File1, &QListWidget::itemSelectionChanged, this, &Library::File1_Click);

    // Files that appear in or leave the folder show in the list; a burst of changes is one
    // refresh, and a running search is not disturbed: the refresh waits for its end.
    m_watcher = new QFileSystemWatcher(this);
    m_refresh = new QTimer(this);
    m_refresh->setSingleShot(true);
    m_refresh->setInterval(100);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_refresh, qOverload<>(&QTimer::start));
    connect(m_refresh, &QTimer::timeout, this, [this] {
        if (m_searching)
            m_refresh->start();
        else
            fillFiles();
    });
    setFolder(start);
}

void Library::Drive1_Change(int index)
{
    const QString root = Drive1->itemText(index);
    // A volume that cannot be read leaves the lists as they were.
    if (!QFileInfo(root).isReadable())
        return;
    m_folders->setRootPath(root);
    Dir1->setRootIndex(m_folders->index(root));
    setFolder(root);
}

void Library::setFolder(const QString &path)
{
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_folder = QDir::cleanPath(path);
    m_watcher->addPath(m_folder);
    const QModelIndex index = m_folders->index(m_folder);
    if (index.isValid() && Dir1->currentIndex() != index) {
        const QSignalBlocker blocker(Dir1->selectionModel());
        Dir1->setCurrentIndex(index);
        Dir1->scrollTo(index);
    }
    fillFiles();
}

void Library::fillFiles()
{
    // The selected file stays selected while it is there.
    const QList<QListWidgetItem *> selected = File1->selectedItems();
    const QString kept = selected.isEmpty() ? QString() : selected.first()->text();
    {
        const QSignalBlocker blocker(File1);
        File1->clear();
        File1->addItems(QDir(m_folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
        const QList<QListWidgetItem *> same = File1->findItems(kept, Qt::MatchExactly);
        if (!kept.isEmpty() && !same.isEmpty())
            File1->setCurrentItem(same.first());
    }
    File1_Click();
}

QString Library::selectedPath() const
{
    const QList<QListWidgetItem *> selected = File1->selectedItems();
    return selected.isEmpty() ? QString() : QDir(m_folder).filePath(selected.first()->text());
}

void Library::File1_Click()
{
    Text1->setText(QString());
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    if (bookkind::readAsText(path)) {
        Text1->setText(libraryfiles::preview(path));
        ShowFileInfo(path);
        return;
    }
    // An e-book shows its title and text, a file that is no text why it is refused.
    const books::Reading reading = books::read(path);
    Text1->setText(libraryfiles::eBookPreview(reading));
    if (reading.ok)
        showFigures(estimate::figures(QFileInfo(path).size(), reading.text.size(), CharsPerMin));
}

void Library::ShowFileInfo(const QString &path)
{
    if (QFileInfo(path).isFile())
        showFigures(RichTextBox::measure(path, CharsPerMin));
}

void Library::showFigures(const estimate::Figures &figures)
{
    // Only this window's bar: the main one keeps showing the current book.
    statusPanels[0]->setText(figures.size);
    if (figures.hours)
        statusPanels[1]->setText(estimate::durationText(*figures.hours));
    StatusBar1->update();
}

void Library::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 1:
        SearchInFiles();
        break;
    case 3:
        DeleteTextFile();
        break;
    case 4:
        AddToWorkFolder();
        break;
    case 5:
        OpenInMainWindow();
        break;
    case 6:
        ShowLibraryHelp();
        break;
    default: // 2, the stop toggle, is only read by a running search
        break;
    }
}

void Library::SearchInFiles()
{
    // A second press while a search lets events through would start one inside it.
    if (m_searching)
        return;
    const QScopedValueRollback searching(m_searching, true);
    stopButton->setChecked(false);
    Text1->hide();
    QCoreApplication::processEvents();
    QStringList words;
    for (const QLineEdit *term : terms)
        words << term->text();
    // The selected file was found last: the search goes on after it.
    const int start = selectedPath().isEmpty() ? 0 : File1->currentRow() + 1;
    for (int row = start; row < File1->count(); ++row) {
        if (stopButton->isChecked()) {
            Text1->show();
            return;
        }
        File1->setCurrentRow(row);
        const QString path = selectedPath();
        const std::optional<bool> match = libraryfiles::fileMatches(path, words);
        if (!match)
            qCInfo(lcFiles).noquote() << "library search skips unreadable" << path;
        if (match.value_or(false)) {
            Text1->show();
            return;
        }
        QCoreApplication::processEvents();
    }
    prompter().critical(QStringLiteral("Не найдено!"));
    Text1->show();
}

void Library::DeleteTextFile()
{
    const QString path = selectedPath();
    if (path.isEmpty()) {
        prompter().critical(kNoFile);
        return;
    }
    // A book a running recording reads, or a batch has still to record, stays; asked again
    // after the question, as a recording may have started from the main window meanwhile.
    if (busy::refuseFile(path))
        return;
    if (prompter().ask(QStringLiteral("Удалить файл безвозврано?\n") + QDir::toNativeSeparators(path),
                       Prompter::Icon::Exclamation, Prompter::Buttons::YesNo) != Prompter::Answer::Yes ||
        busy::refuseFile(path))
        return;
    QFile file(path);
    if (!file.remove()) {
        qCInfo(lcFiles).noquote() << "library could not delete" << path << file.errorString();
        return;
    }
    fillFiles();
}

RichTextBox *Library::mainTextForSelected(QString &path) const
{
    path = selectedPath();
    RichTextBox *editor = mainText();
    if (path.isEmpty() || !editor) {
        prompter().critical(kNoFile);
        return nullptr;
    }
    return editor;
}

void Library::OpenInMainWindow()
{
    if (busy::refuse(busy::Change::Book))
        return;
    QString path;
    RichTextBox *editor = mainTextForSelected(path);
    if (!editor)
        return;
    // An e-book, or a file that is no text, is opened or refused as "Открыть" does.
    if (!bookkind::readAsText(path)) {
        if (mainwindowport::get()->openBook(path))
            hide();
        return;
    }
    if (!editor->LoadFile(path)) {
        prompter().critical(textfile::failureMessage(kNoFile, path, editor->errorString()));
        return;
    }
    CurTextPath = path;
    BookTitle = docnames::titleBeforeFirstDot(QFileInfo(path).fileName());
    hide();
    MainWindowPort &main = *mainwindowport::get();
    main.PreFormat();
    main.Dlitelnost();
    // Dlitelnost has just measured this very file.
    if (CharsPerMin > 0)
        statusPanels[1]->setText(estimate::durationText(PlayHours));
    booklosses::tellDamaged(*editor);
}

void Library::AddToWorkFolder()
{
    if (busy::refuse(busy::Change::Book))
        return;
    QString path;
    RichTextBox *editor = mainTextForSelected(path);
    if (!editor)
        return;
    const std::optional<QString> folder = workfolder::checkedFolder();
    if (!folder || !workfolder::confirmAdding())
        return;
    // The main text is this book from now on, whether or not its copy can be written: an
    // e-book as "Открыть" reads it, under the book's own title.
    if (!bookkind::readAsText(path)) {
        if (!mainwindowport::get()->openBook(path))
            return;
    } else if (!editor->LoadFile(path)) {
        prompter().critical(textfile::openFailure(path, editor->errorString()));
        return;
    } else {
        CurTextPath = path;
        BookTitle = docnames::blanksToUnderscores(QFileInfo(path).fileName());
    }
    const QString copy = docnames::batchFilePath(*folder, BookTitle);
    if (!booklosses::lossAccepted(*editor))
        return;
    QString reason;
    if (!textfile::writeText(copy, editor->Text(), editor->encoding(), &reason))
        prompter().critical(textfile::writeFailure(copy, reason));
}

void Library::ShowLibraryHelp()
{
    mainwindowport::showHelp(QStringLiteral("Help2.rtf"));
}

Library &biblioteka()
{
    static QPointer<Library> instance;
    return appwindows::instance(instance);
}
