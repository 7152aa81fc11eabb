#include "dictionaries/dicedit.h"

#include "app/busy.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "dictionaries/excdic.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/speech/voice.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"
#include "settings/enginecopy.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

Q_LOGGING_CATEGORY(lcDictionaries, "quenvale.dictionaries", QtWarningMsg)

const QString kVoiceFailure = QStringLiteral(
    "Ошибка голосового движка! Проверьте последнюю внесенную запись и обязательно после этого перезагрузите "
    "программу!!!");
const QString kAddVoiceFailure = QStringLiteral(
    "Ошибка голосового движка! Перезапустите программу. Если ошибка останется, удалите последние внесенные "
    "записи в словарь ударений и обязательно после этого снова перезагрузите программу!!!");

QPointer<DictionaryEditor> &instance()
{
    static QPointer<DictionaryEditor> window;
    return window;
}

template <typename T> T *named(QWidget *parent, const char *name)
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

DictionaryList::DictionaryList(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (!m_editing.isValid() || m_editing.row() != row(item))
            return;
        m_editing = QPersistentModelIndex();
        // The edit is accepted as typed; only the text it replaced is logged.
        if (item->text() != m_before)
            Q_EMIT edited(m_before);
    });
}

bool DictionaryList::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // An edit about to start (a delayed click's edit comes back as AllEditTriggers) is refused
    // while a job holds the dictionary; the list still shows and selects.
    const bool starts =
        (trigger == AllEditTriggers || (editTriggers() & trigger)) && (index.flags() & Qt::ItemIsEditable);
    if (starts && busy::refuse(busy::Change::Dictionary))
        return false;
    const bool started = QListWidget::edit(index, trigger, event);
    if (started) {
        m_editing = index;
        m_before = index.data().toString();
    }
    return started;
}

DictionaryEditor::DictionaryEditor(QWidget *parent) : ToolWindow(parent)
{
    setObjectName(QStringLiteral("DicEdit"));
    setWindowTitle(QStringLiteral("Редактор словаря различных версий  Russian (Nicolai)"));

    ListView1 = named<DictionaryList>(this, "ListView1");
    ListView1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    ListView1->setUniformItemSizes(true);
    ListView2 = named<QListWidget>(this, "ListView2");
    ListView2->hide();

    Frame1 = named<QGroupBox>(this, "Frame1");
    Frame1->setTitle(QStringLiteral("Добавление новых слов"));
    Text1 = named<QLineEdit>(Frame1, "Text1");
    RichTextBox1 = named<RichTextBox>(Frame1, "RichTextBox1");
    RichTextBox1->setMaximumHeight(60);
    Label3 = named<QLabel>(Frame1, "Label3");
    Text3 = named<QLineEdit>(this, "Text3");
    Text3->setReadOnly(true);
    Text4 = named<QLineEdit>(this, "Text4");
    Text4->setReadOnly(true);
    ListView1->setAccessibleName(QStringLiteral("Словарь"));
    Text1->setAccessibleName(QStringLiteral("Новое слово"));
    RichTextBox1->setFieldName(QStringLiteral("Произношение слова"));
    Text3->setAccessibleName(QStringLiteral("Записей в словаре"));
    Text4->setAccessibleName(QStringLiteral("Номер текущей записи"));

    Frame2 = named<QGroupBox>(this, "Frame2");
    Frame2->setTitle(QStringLiteral("версия голосового движка Russian (Nicolai)"));
    auto *versions = new QVBoxLayout(Frame2);
    QRadioButton **options[] = {&Option1, &Option2, &Option3};
    for (int i = 0; i < 3; ++i) {
        auto *o = new QRadioButton(QStringLiteral("Версия %1 (каталог ENGINE/%1)").arg(i + 1), Frame2);
        o->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        versions->addWidget(o);
        *options[i] = o;
        connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            // A running job keeps the dictionary it speaks with: the choice goes back.
            if (busy::refuse(busy::Change::Dictionary))
                showEngineVersion();
            else
                chooseEngineVersion(i + 1);
        });
    }
    Frame2->hide();

    createToolbars();
    createMenus();

    auto *frameLayout = new QVBoxLayout(Frame1);
    auto *wordRow = new QHBoxLayout;
    wordRow->addWidget(Text1, 1);
    wordRow->addWidget(Toolbar3);
    frameLayout->addLayout(wordRow);
    auto *pronunciationRow = new QHBoxLayout;
    pronunciationRow->addWidget(RichTextBox1, 1);
    pronunciationRow->addWidget(Label3);
    frameLayout->addLayout(pronunciationRow);
    frameLayout->addWidget(Toolbar2);
    // Every button of the entry toolbar stays in sight.
    Frame1->setMinimumWidth(Toolbar2->sizeHint().width() + 2 * frameLayout->contentsMargins().left() + 24);

    auto *counts = new QHBoxLayout;
    counts->addWidget(new QLabel(QStringLiteral("Записей:"), this));
    counts->addWidget(Text3);
    counts->addWidget(new QLabel(QStringLiteral("Текущая:"), this));
    counts->addWidget(Text4);

    auto *right = new QVBoxLayout;
    right->addWidget(Frame1);
    right->addWidget(Frame2);
    right->addLayout(counts);
    right->addStretch();
    auto *body = new QHBoxLayout;
    body->addWidget(ListView1, 3);
    body->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(Toolbar1);
    layout->addLayout(body, 1);
    resize(760, 520);

    connect(Text1, &QLineEdit::textChanged, this,
            [this](const QString &text) { RichTextBox1->setText(text); });
    connect(RichTextBox1, &RichTextBox::clicked, this, &DictionaryEditor::editorClicked);
    connect(ListView1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { recordClicked(item, false); });
    connect(ListView1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { recordClicked(item, true); });
    connect(ListView1, &DictionaryList::edited, this,
            [this](const QString &before) { appendLog(QStringLiteral("Changed_in_exc_rus.txt"), before); });
}

DictionaryEditor::~DictionaryEditor() = default;

QAction *DictionaryEditor::toolButton(QToolBar *bar, int index, const QString &caption, const QString &tip)
{
    QAction *a = bar->addAction(caption);
    a->setObjectName(bar->objectName() + u'_' + QString::number(index));
    a->setToolTip(tip);
    return a;
}

void DictionaryEditor::createToolbars()
{
    Toolbar1 = named<QToolBar>(this, "Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle *s = style();
    struct Button
    {
        const char *caption;
        const char *tip;
        QStyle::StandardPixmap icon;
    };
    const Button buttons1[] = {
        {"очистить", "Очистить словарь (удалить все записи)", QStyle::SP_FileIcon},
        {"загрузить", "Загрузить словарь exc_rus.txt", QStyle::SP_DialogOpenButton},
        {"сохранить", "Сохранить изменения в словаре", QStyle::SP_DialogSaveButton},
        {"произношение", "Проверять произношение слов", QStyle::SP_MediaVolumeMuted},
        {"удалить", "Удалить выделенную запись", QStyle::SP_TrashIcon},
        {"найти", "Найти слово в словаре", QStyle::SP_FileDialogContentsView},
        {"сортировка", "Убрать повторы и отсортировать словарь", QStyle::SP_ArrowDown},
    };
    int index = 1;
    for (const Button &b : buttons1) {
        QAction *a = toolButton(Toolbar1, index++, QString::fromUtf8(b.caption), QString::fromUtf8(b.tip));
        a->setIcon(s->standardIcon(b.icon));
        m_toolbar1.append(a);
    }
    m_toolbar1.append(Toolbar1->addSeparator());
    m_toolbar1.append(toolButton(Toolbar1, 9, QStringLiteral("версия"),
                                 QStringLiteral("Используемая версия голосового движка")));

    QAction *pronounce = m_toolbar1[3];
    pronounce->setCheckable(true);
    connect(pronounce, &QAction::toggled, this, [this, pronounce, s](bool down) {
        pronounce->setIcon(s->standardIcon(down ? QStyle::SP_MediaVolume : QStyle::SP_MediaVolumeMuted));
    });
    connect(m_toolbar1[6], &QAction::triggered, this, &DictionaryEditor::DelDublDic);
    connect(m_toolbar1[0], &QAction::triggered, this, &DictionaryEditor::NewDic);
    connect(m_toolbar1[1], &QAction::triggered, this, &DictionaryEditor::LoadEngineDic);
    connect(m_toolbar1[2], &QAction::triggered, this, &DictionaryEditor::SaveDic);
    connect(m_toolbar1[4], &QAction::triggered, this, &DictionaryEditor::DeleteRecord);
    connect(m_toolbar1[5], &QAction::triggered, this, &DictionaryEditor::FindWordDic);
    connect(m_toolbar1[8], &QAction::triggered, this, [this] { Frame2->setVisible(Frame2->isHidden()); });

    Toolbar2 = named<QToolBar>(Frame1, "Toolbar2");
    m_toolbar2 = {
        toolButton(Toolbar2, 1, QStringLiteral("регистр"),
                   QStringLiteral("Игнорировать строчные/прописные буквы")),
        toolButton(Toolbar2, 2, QStringLiteral("ударение"), QStringLiteral("Вставить ударение ")),
        toolButton(Toolbar2, 3, QStringLiteral("проверить"),
                   QStringLiteral("Проверить звучание слова после редактирования")),
        toolButton(Toolbar2, 4, QStringLiteral("добавить"), QStringLiteral("Добавить запись в словарь")),
    };
    m_toolbar2[0]->setCheckable(true);
    connect(m_toolbar2[0], &QAction::toggled, this,
            [this](bool down) { Label3->setText(down ? QStringLiteral("/i") : QString()); });
    connect(m_toolbar2[1], &QAction::triggered, this, &DictionaryEditor::SetStress);
    connect(m_toolbar2[2], &QAction::triggered, this, &DictionaryEditor::SayWordDic);
    connect(m_toolbar2[3], &QAction::triggered, this, &DictionaryEditor::AddWordDic);

    Toolbar3 = named<QToolBar>(Frame1, "Toolbar3");
    connect(toolButton(Toolbar3, 1, QStringLiteral("Вставить"),
                       QStringLiteral("Вставить слово, выделенное в основном окне программы")),
            &QAction::triggered, this, &DictionaryEditor::PastWordDic);
}

void DictionaryEditor::createMenus()
{
    menuBar = named<QMenuBar>(this, "menuBar");
    auto item = [this](QMenu *menu, const char *name, const QString &caption) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QMenu *file = menuBar->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("menu1"));
    connect(item(file, "menu1_1", QStringLiteral("Новый словарь")), &QAction::triggered, this,
            &DictionaryEditor::NewDic);
    connect(item(file, "menu1_2", QStringLiteral("Загрузить exc_rus.txt")), &QAction::triggered, this,
            &DictionaryEditor::LoadEngineDic);
    QMenu *import = file->addMenu(QStringLiteral("Импорт"));
    import->setObjectName(QStringLiteral("menu1_3"));
    connect(item(import, "menu1_3_1", QStringLiteral("из словаря старых версий")), &QAction::triggered, this,
            &DictionaryEditor::ImportOldDic);
    connect(item(import, "menu1_3_2", QStringLiteral("из файла автозамены")), &QAction::triggered, this,
            &DictionaryEditor::ImportAutoReplaceDic);
    connect(item(file, "menu1_4", QStringLiteral("Сохранить")), &QAction::triggered, this,
            &DictionaryEditor::SaveDic);

    QMenu *check = menuBar->addMenu(QStringLiteral("Проверка"));
    check->setObjectName(QStringLiteral("menu2"));
    const struct
    {
        const char *name;
        const char *caption;
        void (DictionaryEditor::*run)();
    } checks[] = {
        {"menu2_1", "Удалить повторы и отсортировать", &DictionaryEditor::DelDublDic},
        {"menu2_2", "Поиск перекрывающихся записей", &DictionaryEditor::FindOverlapDic},
        {"menu2_3", "Поиск одиночных омографов", &DictionaryEditor::FindHomographDic},
        {"menu2_4", "Выделение разночтений в отдельный файл", &DictionaryEditor::SplitVariantsDic},
        {"menu2_5", "Поиск неадекватных записей", &DictionaryEditor::menu2_5_Click},
        {"menu2_7", "Поиск односложных слов", &DictionaryEditor::FindOneSyllableDic},
        {"menu2_8", "Выделить словосочетания в файл автозамены", &DictionaryEditor::menu2_8_Click},
        {"Sel_yo", "Выделить слова с Ё в отдельный файл", &DictionaryEditor::Sel_yo_Click},
        {"find2", "Поиск длинных записей", &DictionaryEditor::find2_Click},
    };
    for (const auto &c : checks)
        connect(item(check, c.name, QString::fromUtf8(c.caption)), &QAction::triggered, this, c.run);

    QAction *help = menuBar->addAction(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("help2"));
    connect(help, &QAction::triggered, this, [] { mainwindowport::showHelp(QStringLiteral("Help4.rtf")); });
}

void DictionaryEditor::formLoad()
{
    showEngineVersion();
    // Whichever window chooses the version, or a profile brings it back, both show it.
    for (QRadioButton *theirs : {setup().Option1, setup().Option2, setup().Option3})
        connect(theirs, &QRadioButton::toggled, this, &DictionaryEditor::showEngineVersion);
    const QString homographs = programfolder::file(QStringLiteral("DIC/homograph.txt"));
    if (const auto words = textfile::readFields(homographs)) {
        for (const QString &w : *words)
            ListView2->addItem(u' ' + w.trimmed() + u' ');
    }
    Voice = setup().Voice.get();
    showCount();
    // Selecting the voice and the walk over the voices would disturb a running job's speech:
    // an editor first opened under one only shows the dictionary.
    if (!busy::refusal(busy::Change::Dictionary)) {
        setup().Tembrs();
        ReloadVoice();
    }
}

void DictionaryEditor::showEngineVersion()
{
    // Only shown: the settings window is saved by its own commands.
    const Setup &settings = setup();
    QRadioButton *mine[] = {Option1, Option2, Option3};
    const QRadioButton *theirs[] = {settings.Option1, settings.Option2, settings.Option3};
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker quiet(mine[i]);
        mine[i]->setChecked(theirs[i]->isChecked());
    }
    showVersionIcon();
}

void DictionaryEditor::showVersionIcon()
{
    const int version = engineVersion();
    if (version < 1)
        return;
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DriveHDIcon, QStyle::SP_DriveCDIcon,
                                            QStyle::SP_DriveNetIcon};
    m_toolbar1[8]->setIcon(style()->standardIcon(icons[version - 1]));
}

int DictionaryEditor::engineVersion() const
{
    if (Option1->isChecked())
        return 1;
    if (Option2->isChecked())
        return 2;
    return Option3->isChecked() ? 3 : 0;
}

int DictionaryEditor::currentRecord() const
{
    const QList<QListWidgetItem *> selected = ListView1->selectedItems();
    return selected.isEmpty() ? 0 : ListView1->row(selected.front()) + 1;
}

QStringList DictionaryEditor::listEntries() const
{
    QStringList entries;
    const int n = ListView1->count();
    entries.reserve(n);
    for (int i = 0; i < n; ++i)
        entries.append(ListView1->item(i)->text());
    return entries;
}

void DictionaryEditor::appendEntries(const QStringList &entries)
{
    const int first = ListView1->count();
    ListView1->addItems(entries);
    for (int i = first; i < ListView1->count(); ++i)
        ListView1->item(i)->setFlags(ListView1->item(i)->flags() | Qt::ItemIsEditable);
}

void DictionaryEditor::showCount()
{
    Text3->setText(QString::number(ListView1->count()));
}

void DictionaryEditor::makeCurrent(int record)
{
    if (record < 1 || record > ListView1->count()) {
        ListView1->clearSelection();
        return;
    }
    QListWidgetItem *item = ListView1->item(record - 1);
    ListView1->setCurrentItem(item);
    item->setSelected(true);
    Text4->setText(QString::number(record));
}

void DictionaryEditor::Autoload_DIC()
{
    if (ListView1->count() > 0)
        return;
    const QString copy = excdic::programCopy();
    if (const auto entries = excdic::readFieldFile(copy, excdic::Source::ProgramCopy)) {
        appendEntries(*entries);
        m_fileRead = true;
        showCount();
        return;
    }
    qCInfo(lcDictionaries) << "program copy not readable:" << copy;
    const auto answer = services::prompter().ask(
        QStringLiteral(
            "Не удалось загрузить копию пользовательского словаря из каталога с программой Quenvale, "
            "поэтому будет загружен базовый словарь FW.dic! Если хотите  загрузить словарь голосового "
            "движка из другого места, например из каталога голосового движка, или файл словаря, "
            "загруженный с сайта, нажмите ДА ."),
        Prompter::Icon::Exclamation, Prompter::Buttons::YesNo);
    if (answer == Prompter::Answer::Yes)
        LoadEngineDic();
    const QString base = excdic::baseDictionary();
    QString reason;
    if (const auto entries = excdic::readFieldFile(base, excdic::Source::OtherFile, &reason)) {
        appendEntries(*entries);
        m_fileRead = true;
    } else
        services::prompter().critical(textfile::openFailure(base, reason));
    showCount();
}

bool DictionaryEditor::loaded() const
{
    return m_fileRead || ListView1->count() > 0;
}

bool DictionaryEditor::refusesEdit()
{
    return m_toolRunning || busy::refuse(busy::Change::Dictionary);
}

void DictionaryEditor::LoadEngineDic()
{
    if (refusesEdit())
        return;
    const QString title = QStringLiteral("Файл словаря ") + enginecopy::path(engineVersion());
    const QString dictionaryFilter = QStringLiteral("Файл словаря ударений (exc_rus.txt) (exc_rus.txt)");
    const QString path = services::fileChooser().openFile(
        title, QStringLiteral("All Files (*)") + QStringLiteral(";;") + dictionaryFilter, QString());
    if (path.isEmpty())
        return;
    QString reason;
    if (const auto entries = excdic::readLineFile(path, excdic::Source::OtherFile, &reason))
        appendEntries(*entries);
    else
        services::prompter().critical(textfile::openFailure(path, reason));
    showCount();
}

void DictionaryEditor::NewDic()
{
    if (refusesEdit())
        return;
    ListView1->clear();
    showCount();
}

bool DictionaryEditor::reloadVoice()
{
    return !Voice || excdic::reloadVoice(*Voice, excdic::dictionaryVoice(engineVersion()));
}

void DictionaryEditor::ReloadVoice()
{
    reloadVoice();
}

bool DictionaryEditor::SelectDicVoice()
{
    return Voice && excdic::selectDictionaryVoice(*Voice, excdic::dictionaryVoice(engineVersion()));
}

bool DictionaryEditor::SaveEngineDic()
{
    const QString path = enginecopy::path(engineVersion());
    if (!reloadVoice() || path.isEmpty()) {
        qCInfo(lcDictionaries) << "engine copy not written: version" << engineVersion();
        services::prompter().critical(QStringLiteral(
            "Не удалось сохранить словарь! Возможно неверно указана версия голосового движка или "
            "голосовой движок установлен не в ту директорию, которая указана по умолчанию"));
        return false;
    }
    QString reason;
    if (!excdic::write(path, listEntries(), &reason)) {
        services::prompter().critical(textfile::writeFailure(path, reason));
        return false;
    }
    reloadVoice();
    return true;
}

bool DictionaryEditor::SaveDicCopy()
{
    QString reason;
    if (excdic::writeProgramCopy(listEntries(), &reason))
        return true;
    services::prompter().critical(textfile::writeFailure(excdic::programCopy(), reason));
    return false;
}

void DictionaryEditor::voiceFailed(const QString &message)
{
    m_toolbar1[3]->setChecked(false);
    services::prompter().critical(message);
}

void DictionaryEditor::SaveDic()
{
    if (busy::refuse(busy::Change::Dictionary))
        return;
    SaveEngineDic();
    const bool voiceOk = reloadVoice() && SelectDicVoice();
    // The program copy is written whatever the voice did: the user's entries come first.
    SaveDicCopy();
    if (!voiceOk)
        voiceFailed(kVoiceFailure);
}

void DictionaryEditor::AddWordDic()
{
    if (refusesEdit())
        return;
    const QString word = Text1->text();
    const QString pronunciation = RichTextBox1->Text();
    const QString entry = excdic::compose(word, pronunciation, m_toolbar2[0]->isChecked());
    if (word.trimmed().isEmpty() || pronunciation.trimmed().isEmpty() ||
        !excdic::isEntry(entry, excdic::Source::ProgramCopy)) {
        services::prompter().critical(
            QStringLiteral("Запись не добавлена: пустое слово или произношение либо недопустимые знаки"));
        return;
    }
    m_lastEntry = entry;
    appendEntries({entry});
    // The first record with this text becomes the current one.
    const QList<QListWidgetItem *> same = ListView1->findItems(entry, Qt::MatchFixedString);
    const int record =
        ListView1->row(same.isEmpty() ? ListView1->item(ListView1->count() - 1) : same.front()) + 1;
    makeCurrent(record);
    ListView1->scrollToItem(ListView1->item(record - 1));
    RichTextBox1->setText(QString());

    SaveEngineDic();
    appendLog(QStringLiteral("Added_Words_in_exc_rus.txt"), m_lastEntry);
    bool voiceOk = reloadVoice() && SelectDicVoice();
    if (voiceOk)
        voiceOk = Voice->Speak(word, speech::Async);
    SaveDicCopy();
    if (!voiceOk)
        voiceFailed(kAddVoiceFailure);
}

QString DictionaryEditor::spokenPronunciation() const
{
    QString text = RichTextBox1->Text();
    text.replace(QStringLiteral("##"), QStringLiteral(" "), Qt::CaseInsensitive);
    return text;
}

bool DictionaryEditor::speakChecked(const QString &text)
{
    // A running job keeps its voice: nothing is selected, nor spoken (which says why).
    if (m_toolbar1[3]->isChecked() ? busy::refuse(busy::Change::Speech)
                                   : busy::refusal(busy::Change::Speech).has_value())
        return true;
    if (!SelectDicVoice())
        return false;
    if (!m_toolbar1[3]->isChecked())
        return true;
    return Voice->Speak(text, speech::Async);
}

void DictionaryEditor::SetStress()
{
    RichTextBox1->setSelText(QStringLiteral("<"));
    speakChecked(spokenPronunciation());
}

void DictionaryEditor::SayWordDic()
{
    speakChecked(spokenPronunciation());
}

void DictionaryEditor::editorClicked()
{
    // A click marks the stress where it lands and never replaces a selection.
    RichTextBox1->setSelStart(RichTextBox1->SelStart() + RichTextBox1->SelLength());
    RichTextBox1->setSelText(QStringLiteral("<"));
    SayWordDic();
}

void DictionaryEditor::PastWordDic()
{
    MainWindowPort *main = mainwindowport::get();
    RichTextBox *editor = main ? main->editor() : nullptr;
    if (!editor)
        return;
    QString word = editor->SelText().replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    word.remove(u'.');
    word.replace(QStringLiteral("  "), QStringLiteral(" "));
    for (const QChar c : {u',', u';', u':', u'!', u'?', u'(', u')'})
        word.remove(c);
    Text1->setText(word);
    RichTextBox1->setText(word.trimmed().replace(u' ', QStringLiteral("##")));
}

void DictionaryEditor::FindWordDic()
{
    ListView1->setFocus();
    const QString wanted = Text1->text();
    const int count = ListView1->count();
    for (int record = currentRecord() + 1; record <= count; ++record) {
        if (!ListView1->item(record - 1)->text().contains(wanted, Qt::CaseInsensitive))
            continue;
        makeCurrent(record);
        const int shown = count - record > 5 ? record + 4 : record;
        ListView1->scrollToItem(ListView1->item(shown - 1));
        return;
    }
    // The next find starts again at the top.
    ListView1->clearSelection();
    services::prompter().critical(QStringLiteral("Не найдено"));
}

void DictionaryEditor::DeleteRecord()
{
    if (refusesEdit())
        return;
    const int record = currentRecord();
    if (record == 0)
        return;
    appendLog(QStringLiteral("Deleted_from_exc_rus.txt"), ListView1->item(record - 1)->text());
    QApplication::processEvents();
    delete ListView1->takeItem(record - 1);
    ListView1->clearSelection();
    QApplication::processEvents();
    ListView1->repaint();
    QApplication::processEvents();
    SaveEngineDic();
}

void DictionaryEditor::appendLog(const QString &name, const QString &line)
{
    const QString path = programfolder::file(QStringLiteral("DIC/") + name);
    if (!textfile::appendLines(path, {line}))
        qCInfo(lcDictionaries) << "log not written:" << path;
}

void DictionaryEditor::recordClicked(QListWidgetItem *item, bool doubleClick)
{
    const int record = ListView1->row(item) + 1;
    Text4->setText(QString::number(record));
    const QString text = item->text();
    const qsizetype colon = text.indexOf(u':');
    const QString exception = colon < 0 ? text : text.left(colon + 1);
    if (!speakChecked(doubleClick ? u'(' + exception : exception))
        voiceFailed(kVoiceFailure);
}

void DictionaryEditor::chooseEngineVersion(int version)
{
    Frame2->hide();
    showVersionIcon();
    Setup &settings = setup();
    QRadioButton *theirs[] = {settings.Option1, settings.Option2, settings.Option3};
    theirs[version - 1]->setChecked(true);
    // The version alone: whatever else the settings window holds unsaved stays unsaved.
    SaveSettings(settings, {settings.Option3, settings.Option2, settings.Option1});
}

DictionaryEditor &DicEdit()
{
    return appwindows::instance(instance(), &DictionaryEditor::formLoad);
}
