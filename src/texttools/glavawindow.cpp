#include "texttools/glavawindow.h"

#include "app/busy.h"
#include "app/globals.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/docnames.h"
#include "platform/text/textfile.h"
#include "settings/setup.h"
#include "texttools/chapters.h"
#include "texttools/logging.h"
#include "texttools/session.h"
#include "texttools/toolwindowparts.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kPreviewLength = 80;
constexpr int kShownLength = 100; // what a click on a row selects of its heading

// Caption of each box (1..13) and whether it is bold; boxes 9, 12 and 13 have their
// pattern box instead of a caption.
struct BoxSpec
{
    const char *caption;
    bool bold;
};
const BoxSpec kBoxes[] = {
    {"\"ГЛАВА\"", true},
    {"\"Глава\"", true},
    {" >10 пробелов", false},
    {"\"КНИГА\"", true},
    {"3 пустые строки", false},
    {"2 пустые строки", false},
    {"1 пустая строка", false},
    {"\"Книга\"", true},
    {"", false},
    {"1. - 99.", false},
    {"Римские цифры", false},
    {"", false},
    {"", false},
};
// The boxes from the top of their column down.
const int kScreenOrder[] = {4, 8, 1, 2, 5, 6, 7, 3, 10, 11, 9, 12, 13};

QLineEdit *patternBox(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setFont(QFont(QStringLiteral("Courier New")));
    return box;
}

} // namespace

GlavaWindow::GlavaWindow(QWidget *parent) : ToolWindow(parent)
{
    setObjectName(QStringLiteral("glava"));
    setWindowTitle(QStringLiteral("Разделение аудиокниги на главы"));

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct
    {
        const char *caption;
        const char *tip;
    } buttons[] = {{"Искать заново", "Найти в тексте помеченные признаки"},
                   {"\"Разрезать\"", "Вставить разделитель @@@@@ в найденные места"},
                   {"Помощь", ""}};
    for (const auto &spec : buttons) {
        const int index = int(m_buttons.size()) + 1;
        m_buttons.append(toolwindowparts::button(
            *Toolbar1, index, QStringLiteral("Toolbar1_%1").arg(index), QString::fromUtf8(spec.caption),
            QString::fromUtf8(spec.tip), QIcon(), [this](int button) { Toolbar1_ButtonClick(button); }));
    }

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setFont(QFont(QStringLiteral("Courier New")));
    ListView1->setHeaderLabels({QStringLiteral("текст"), QStringLiteral("pos"), QStringLiteral("мин.")});
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(TextColumn, QHeaderView::Stretch);
    ListView1->setColumnWidth(PosColumn, 70);
    ListView1->setColumnWidth(MinutesColumn, 50);
    // A tick only ticks; a click on the row shows the heading, or removes a row that was
    // unticked. The view reports a click on a box too, right after the box changed.
    connect(ListView1, &QTreeWidget::itemChanged, this, [this] {
        m_tickChanged = true;
        QTimer::singleShot(0, this, [this] { m_tickChanged = false; });
    });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (std::exchange(m_tickChanged, false))
            return;
        ListView1->setCurrentItem(item);
        ListView1_Click();
    });

    for (int box = 1; box <= 13; ++box) {
        const BoxSpec &spec = kBoxes[box - 1];
        auto *check = new QCheckBox(QString::fromUtf8(spec.caption), this);
        check->setObjectName(QStringLiteral("Check%1").arg(box));
        if (spec.bold) {
            QFont bold = check->font();
            bold.setBold(true);
            check->setFont(bold);
        }
        if (box == 13)
            connect(check, &QCheckBox::clicked, this, &GlavaWindow::Check13_Click);
        else
            connect(check, &QCheckBox::clicked, this, &GlavaWindow::SearchAllChapters);
        Checks.append(check);
    }
    Text1 = patternBox(this, "Text1", QString());
    Text2 = patternBox(this, "Text2", QString());
    Text3 = patternBox(this, "Text3", QStringLiteral("фрагмент текста"));
    // The boxes without a caption are told by their pattern.
    ListView1->setAccessibleName(QStringLiteral("Найденные главы"));
    check(10)->setAccessibleName(QStringLiteral("Номера глав 1. - 99."));
    for (const auto &[box, pattern, name] : {std::tuple{9, Text1, QStringLiteral("свой образец 1")},
                                             {12, Text2, QStringLiteral("свой образец 2")},
                                             {13, Text3, QStringLiteral("фрагмент текста")}}) {
        check(box)->setAccessibleName(QStringLiteral("Искать ") + name);
        pattern->setAccessibleName(QStringLiteral("Образец: ") + name);
    }

    auto *boxes = new QVBoxLayout;
    for (const int box : kScreenOrder) {
        // A pattern box stands right beside its check box, which has no caption.
        if (QLineEdit *pattern = box == 9 ? Text1 : box == 12 ? Text2 : box == 13 ? Text3 : nullptr) {
            auto *pair = new QHBoxLayout;
            pair->addWidget(check(box));
            pair->addWidget(pattern, 1);
            boxes->addLayout(pair);
        } else {
            boxes->addWidget(check(box));
        }
    }
    boxes->addStretch(1);

    auto *body = new QHBoxLayout;
    body->addWidget(ListView1, 1);
    body->addLayout(boxes);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Toolbar1);
    layout->addLayout(body, 1);
    resize(760, 440);
}

GlavaWindow::~GlavaWindow() = default;

QAction *GlavaWindow::button(int index) const
{
    return m_buttons.value(index - 1);
}

QCheckBox *GlavaWindow::check(int box) const
{
    return Checks.value(box - 1);
}

void GlavaWindow::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 1:
        SearchAllChapters();
        break;
    case 2:
        MarkChapters();
        break;
    case 3:
        mainwindowport::showHelp(QStringLiteral("Help8.rtf"));
        break;
    default:
        break;
    }
}

void GlavaWindow::Check13_Click()
{
    if (RichTextBox *editor = texttools::mainEditor())
        Text3->setText(editor->SelText());
    SearchAllChapters();
}

// ---- Search ----

void GlavaWindow::SearchAllChapters()
{
    // A box clicked during a search: the running search starts over with the new boxes.
    if (m_searching) {
        m_restart = true;
        return;
    }
    RichTextBox *editor = texttools::mainEditor();
    // Its hits point into the text: none while another job holds the book.
    if (!editor || busy::refuse(busy::Change::StartJob))
        return;
    QPointer<RichTextBox> guard(editor);
    {
        texttools::BusyScope scope(m_searching, busy::Job::ChapterSearch);
        while (guard && !searchOnce())
            ;
    }
    if (!guard)
        return;
    // Only the last hit is selected: selecting every hit would lay the editor out each time.
    if (m_lastHit >= 0) {
        editor->setSelStart(int(m_lastHit));
        editor->setSelLength(int(m_lastLength));
    }
    qCInfo(lcTextTools) << "chapter search:" << ListView1->topLevelItemCount() << "headings";
    if (ListView1->topLevelItemCount() > 0)
        FillMinutesColumn();
    else
        services::prompter().ask(QStringLiteral("Не найдено"), Prompter::Icon::None, Prompter::Buttons::Ok);
}

bool GlavaWindow::searchOnce()
{
    m_restart = false;
    ListView1->clear();
    m_offsets.clear();
    m_lastHit = -1;
    RichTextBox *editor = texttools::mainEditor();
    if (!editor)
        return true;
    m_text = editor->Text();
    texttools::EventPump pump;
    for (const chapters::Kind &kind : chapters::kinds(Text1->text(), Text2->text(), Text3->text())) {
        if (!check(kind.box)->isChecked())
            continue;
        for (const QString &pattern : kind.patterns) {
            if (!searchPattern(pattern, pump))
                return false;
        }
    }
    m_text.clear();
    return true;
}

bool GlavaWindow::searchPattern(const QString &pattern, texttools::EventPump &pump)
{
    for (qsizetype at = chapters::nextHeading(m_text, pattern, chapters::kSkip); at >= 0;
         at = chapters::nextHeading(m_text, pattern, at + chapters::kSkip)) {
        addHeading(at, pattern);
        pump.maybe();
        if (m_restart)
            return false;
    }
    pump.maybe();
    return !m_restart;
}

void GlavaWindow::PoiskGlav(const QString &pattern)
{
    RichTextBox *editor = texttools::mainEditor();
    if (m_searching || !editor || busy::refuse(busy::Change::StartJob))
        return;
    texttools::BusyScope scope(m_searching, busy::Job::ChapterSearch);
    m_text = editor->Text();
    texttools::EventPump pump;
    searchPattern(pattern, pump);
    m_text.clear();
}

void GlavaWindow::addHeading(qsizetype offset, const QString &pattern)
{
    // Only the user's ticks count as changes of a row.
    const QSignalBlocker quiet(ListView1);
    auto *item = new QTreeWidgetItem;
    item->setText(TextColumn, chapters::preview(m_text, offset));
    item->setText(PosColumn, QString::number(offset));
    item->setData(TextColumn, Qt::UserRole, pattern);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(TextColumn, Qt::Checked);
    const qsizetype row = chapters::rowFor(m_offsets, offset);
    m_offsets.insert(row, offset);
    ListView1->insertTopLevelItem(int(row), item);
    m_lastHit = offset;
    m_lastLength = qMin<qsizetype>(kPreviewLength, m_text.size() - offset);
}

void GlavaWindow::FillMinutesColumn()
{
    RichTextBox *editor = texttools::mainEditor();
    if (!editor)
        return;
    const QSignalBlocker quiet(ListView1);
    const auto column =
        chapters::minutesColumn(m_offsets, editor->Text().size(), setup().FlatScrollBar3->value());
    for (int row = 0; row < column.size(); ++row) {
        // A rate off the scale gives no figure: the cell keeps what it showed.
        if (column[row])
            ListView1->topLevelItem(row)->setText(MinutesColumn, QString::number(*column[row]));
    }
}

// ---- The list ----

void GlavaWindow::ListView1_Click()
{
    QTreeWidgetItem *item = ListView1->currentItem();
    RichTextBox *editor = texttools::mainEditor();
    if (m_searching || !item || !editor)
        return;
    const int row = ListView1->indexOfTopLevelItem(item);
    editor->setSelStart(int(m_offsets.value(row)));
    editor->setSelLength(kShownLength);
    if (item->checkState(TextColumn) != Qt::Checked) {
        m_offsets.removeAt(row);
        delete item;
    }
    if (ListView1->topLevelItemCount() > 0)
        FillMinutesColumn();
}

void GlavaWindow::MarkChapters()
{
    RichTextBox *editor = texttools::mainEditor();
    if (m_searching || !editor || busy::refuse(busy::Change::Text))
        return;
    QList<chapters::Candidate> candidates;
    for (int row = 0; row < ListView1->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = ListView1->topLevelItem(row);
        candidates.append({m_offsets.value(row), item->data(TextColumn, Qt::UserRole).toString(),
                           item->checkState(TextColumn) == Qt::Checked});
    }
    const QString marker = chapters::marker();
    for (const qsizetype place : chapters::placesToMark(editor->Text(), candidates)) {
        editor->setSelStart(int(place));
        editor->setSelText(marker);
    }
    // The offsets no longer match the text: a second marking must not use them.
    ListView1->clear();
    m_offsets.clear();

    if (services::prompter().ask(QStringLiteral("Сохранить изменения в файле?"), Prompter::Icon::Question,
                                 Prompter::Buttons::YesNo) != Prompter::Answer::Yes)
        return;
    if (!docnames::isFilePath(CurTextPath)) {
        services::prompter().critical(
            QStringLiteral("Не задано имя файла! Воспользуйтесь функцией СОХРАНИТЬ ТЕКСТ КАК... "));
        return;
    }
    if (!editor->SaveFile(CurTextPath, RichTextBox::FileType::Text))
        services::prompter().critical(textfile::writeFailure(CurTextPath, editor->errorString()));
}

GlavaWindow &glava()
{
    static QPointer<GlavaWindow> instance;
    if (!instance) {
        instance = new GlavaWindow;
        appwindows::track(instance);
    }
    return *instance;
}
