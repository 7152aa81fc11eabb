#include "dictionaries/newwords.h"

#include "app/busy.h"
#include "app/globals.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "dictionaries/dicedit.h"
#include "dictionaries/excdic.h"
#include "dictionaries/finder.h"
#include "dictionaries/listening.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/speech/voice.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"
#include "settings/setup.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Appends to a file, telling the user when it fails.
void append(const QString &path, const QStringList &lines)
{
    QString reason;
    if (!textfile::appendLines(path, lines, &reason))
        services::prompter().critical(textfile::writeFailure(path, reason));
}

void appendToList(const QString &name, const QString &line)
{
    append(programfolder::file(QStringLiteral("DIC/") + name), {line});
}

// A found word: the header sorts the rows as the finder orders them, case ignored.
class WordItem : public QTreeWidgetItem
{
public:
    WordItem(QTreeWidget *list, const QString &word) : QTreeWidgetItem(list, {word}) {}
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return finder::sortsBefore(text(column), other.text(column));
    }
};

// The proposed dictionary entry for a word: the word, " :", TAB, and the word between
// "<" and ">" with its blanks as "##".
QString proposedEntry(const QString &word)
{
    QString spoken = word;
    spoken.replace(u' ', QStringLiteral("##"));
    return word + QStringLiteral(" :\t<") + spoken + u'>';
}

} // namespace

NewWordsWindow::NewWordsWindow(QWidget *parent) : ToolWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("NewNames"));
    setWindowTitle(QStringLiteral("Поиск новых слов"));
    resize(680, 560);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 0, 1, 0);
    layout->setSpacing(1);

    auto *menuBar = new QMenuBar(this);
    QMenu *file = menuBar->addMenu(QStringLiteral("Файл"));
    QAction *save = file->addAction(QStringLiteral("Сохранить список найденных слов"));
    save->setObjectName(QStringLiteral("file_1"));
    connect(save, &QAction::triggered, this, &NewWordsWindow::saveList);
    QAction *help = menuBar->addAction(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("Pomosh"));
    connect(help, &QAction::triggered, this, [] { mainwindowport::showHelp(QStringLiteral("Help7.rtf")); });
    layout->setMenuBar(menuBar);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *steps = new QVBoxLayout(Frame1);
    const char *labels[] = {
        "1. Кликните мышкой на выбраном для проверки слове (на самом слове, а не на квадратике "
        "слева!). Слово будет произнесено и отмечено \"галочкой\", для того, чтобы не запутаться, "
        "какие слова уже проверялись.",
        "2..Не спешите! Первое слово \"прозвучит\" только через несколько секунд!",
        "3. Если слово звучит НЕПРАВИЛЬНО - отредактируйте его звучание в нижнем окошке,  проверьте и "
        "отправьте в основной словарь ударений",
        "4.Если у какого-либо слова возможны несколько вариантов звучания - добавьте его в список "
        "омографов",
    };
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(QString::fromUtf8(labels[i]), Frame1);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setWordWrap(true);
        steps->addWidget(label);
    }
    Frame1->hide();
    layout->addWidget(Frame1);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(1);
    ListView1->setHeaderLabels({QStringLiteral("Слово")});
    ListView1->setRootIsDecorated(false);
    // A click on the header sorts, and the list stays sorted for later searches too.
    ListView1->header()->setSectionsClickable(true);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        ListView1->setSortingEnabled(true), ListView1->sortByColumn(column, Qt::AscendingOrder);
    });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] {
        ListenLoop = true;
        listen();
    });
    connect(ListView1, &QTreeWidget::currentItemChanged, this, [this] {
        if (ListenLoop)
            listen();
    });
    layout->addWidget(ListView1, 1);

    RichTextBox1 = new RichTextBox(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    RichTextBox1->setFixedHeight(60);
    ListView1->setAccessibleName(QStringLiteral("Новые слова"));
    RichTextBox1->setFieldName(QStringLiteral("Произношение слова"));
    connect(RichTextBox1, &RichTextBox::clicked, this, [this] {
        RichTextBox1->setSelText(QStringLiteral("<"));
        SpeakNewWord();
    });
    layout->addWidget(RichTextBox1);

    Toolbar2 = new QToolBar(this);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextOnly);
    struct Button
    {
        const char *caption;
        const char *tip;
        void (NewWordsWindow::*run)();
    };
    const Button buttons[] = {
        {"регистр", "Игнорировать регистр букв при записи в словарь", nullptr},
        {"ударение", "Поставить  ударение на месте курсора", &NewWordsWindow::insertStress},
        {"проверка", "Произнести откоректированное слово", &NewWordsWindow::SpeakNewWord},
        {"запись в словарь", "Занести  слово в словарь ", &NewWordsWindow::addToDictionary},
        {"омограф", "Добавить в список ОМОГРАФОВ", &NewWordsWindow::addToHomographs},
        {"найти в тексте", "Найти слово в основном текстовом окне", &NewWordsWindow::findInText},
        {"оЧЕПЯтка!!!", "Занести выделенное слово с список ошибок (err.txt)", &NewWordsWindow::addToErrors},
    };
    int index = 0;
    for (const Button &b : buttons) {
        QAction *a = Toolbar2->addAction(QString::fromUtf8(b.caption));
        a->setObjectName(QStringLiteral("Toolbar2_%1").arg(++index));
        a->setToolTip(QString::fromUtf8(b.tip));
        const auto run = b.run;
        connect(a, &QAction::triggered, this, [this, run] {
            // Every toolbar command ends listening mode, in this window and the homograph one.
            ListenLoop = false;
            if (run)
                (this->*run)();
        });
        if (!run) {
            a->setCheckable(true);
            m_ignoreCase = a;
        }
    }
    layout->addWidget(Toolbar2);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    for (const QString &text : {QStringLiteral("найдено новых слов "), QString()}) {
        auto *panel = new QLabel(text, StatusBar1);
        StatusBar1->addWidget(panel);
        statusPanels.append(panel);
    }
    layout->addWidget(StatusBar1);
}

void NewWordsWindow::fill(const QStringList &words)
{
    ListView1->clear();
    for (const QString &w : words) {
        auto *item = new WordItem(ListView1, w);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    // A new list: its first row is spoken even if a row of that index was spoken before.
    m_lastSpoken = -1;
    statusPanels[1]->setText(QString::number(ListView1->topLevelItemCount()));
}

QString NewWordsWindow::selectedWord() const
{
    const QTreeWidgetItem *item = ListView1->currentItem();
    return item ? item->text(0) : QString();
}

void NewWordsWindow::listen()
{
    QTreeWidgetItem *item = ListView1->currentItem();
    if (!item)
        return;
    const int index = ListView1->indexOfTopLevelItem(item);
    if (index != m_lastSpoken) {
        const QString word = item->text(0);
        if (item->checkState(0) != Qt::Checked)
            appendToList(QStringLiteral("already_listened .txt"), word);
        RichTextBox1->setText(proposedEntry(word.trimmed()));
        if (listening::speak(word))
            m_lastSpoken = index;
    }
    item->setCheckState(0, Qt::Checked);
}

void NewWordsWindow::SpeakNewWord()
{
    const QString line = RichTextBox1->Text();
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0 || busy::refuse(busy::Change::Speech))
        return;
    QString spoken = line.mid(colon);
    // Only the brackets of the pronunciation go; the stress marks inside it stay.
    if (const qsizetype lt = spoken.indexOf(u'<'); lt >= 0)
        spoken[lt] = u' ';
    if (const qsizetype gt = spoken.indexOf(u'>'); gt >= 0)
        spoken[gt] = u' ';
    Setup &settings = setup();
    settings.Tembrs();
    if (settings.Voice)
        settings.Voice->Speak(spoken, speech::Async);
}

void NewWordsWindow::insertStress()
{
    RichTextBox1->setSelText(QStringLiteral("<"));
}

void NewWordsWindow::addToDictionary()
{
    if (busy::refuse(busy::Change::Dictionary))
        return;
    QString entry = RichTextBox1->Text();
    if (m_ignoreCase->isChecked())
        entry = (entry + QStringLiteral(" /i")).toLower();
    // A line break would split the entry into two broken records of both copies.
    if (entry.contains(u'\r') || entry.contains(u'\n') ||
        !excdic::isEntry(entry, excdic::Source::ProgramCopy)) {
        services::prompter().critical(
            QStringLiteral("Запись не добавлена: пустое слово или произношение либо недопустимые знаки"));
        return;
    }
    DictionaryEditor &dictionary = DicEdit();
    // Saving a list that failed to load would write it over both copies; an empty
    // dictionary that loaded takes its first word.
    if (!dictionary.loaded()) {
        services::prompter().critical(QStringLiteral("Словарь исключений не загружен! Запись не добавлена."));
        return;
    }
    appendToList(QStringLiteral("Added_Words_in_exc_rus.txt"), entry);
    dictionary.ListView1->addItem(entry);
    dictionary.SaveDic();
}

void NewWordsWindow::addToHomographs()
{
    const QString word = selectedWord();
    if (word.isEmpty() ||
        !services::prompter().confirm(QStringLiteral("Добавить это слово в список ОМОГРАФОВ?")))
        return;
    appendToList(QStringLiteral("homograph.txt"), word.toLower());
}

void NewWordsWindow::findInText()
{
    const QString word = selectedWord();
    MainWindowPort *main = mainwindowport::get();
    RichTextBox *text = main ? main->editor() : nullptr;
    if (word.isEmpty() || !text)
        return;
    const int at = text->Find(word, 0, -1, RichTextBox::MatchCase);
    if (at >= 0) {
        text->setSelStart(at);
        text->setSelLength(int(word.size()));
    } else {
        services::prompter().inform(QStringLiteral("не найдено"));
        text->setSelStart(0);
    }
    showMinimized();
}

void NewWordsWindow::addToErrors()
{
    const QString word = selectedWord();
    if (word.isEmpty() ||
        !services::prompter().confirm(QStringLiteral("Действительно ли такого слова не может быть?")))
        return;
    appendToList(QStringLiteral("err.txt"), word);
}

void NewWordsWindow::saveList()
{
    const QString path =
        services::fileChooser().saveFile(QStringLiteral("Все слова будут добавлены в файл..."),
                                         QStringLiteral("All Files (*);;Текстовые файлы (*.txt)"), QString(),
                                         QStringLiteral("Текстовые файлы (*.txt)"));
    if (path.isEmpty())
        return;
    QStringList words;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        words.append(ListView1->topLevelItem(i)->text(0));
    append(path, words);
}

NewWordsWindow &NewNames()
{
    static QPointer<NewWordsWindow> instance;
    return appwindows::instance(instance);
}
