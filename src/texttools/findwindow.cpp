#include "texttools/findwindow.h"

#include "app/windows.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/programfolder.h"
#include "platform/text/twips.h"
#include "texttools/blanks.h"
#include "texttools/replacelist.h"
#include "texttools/session.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// Heights of the window without and with the list part, twips.
constexpr int kSearchOnlyHeight = 1920;
constexpr int kWithListHeight = 7300;
constexpr int kWidth = 7000;

const QColor kGreen = RichTextBox::fromRgbValue(65280);
const QColor kBlack = RichTextBox::fromRgbValue(0);

const QString kFilter = QStringLiteral("All Files (*);;Файлы словарей (*.dic)");
const QString kDicFilter = QStringLiteral("Файлы словарей (*.dic)");

struct ButtonSpec
{
    const char *tip;
    QStyle::StandardPixmap icon;
    bool checkable;
};

QList<QAction *> addButtons(QToolBar *bar, const char *barName, std::initializer_list<ButtonSpec> specs)
{
    QList<QAction *> actions;
    int n = 0;
    for (const ButtonSpec &spec : specs) {
        QAction *a = bar->addAction(bar->style()->standardIcon(spec.icon), QString());
        a->setToolTip(QString::fromUtf8(spec.tip));
        a->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(barName)).arg(++n));
        a->setCheckable(spec.checkable);
        actions.append(a);
    }
    return actions;
}

} // namespace

FindWindow::FindWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Find"));
    setWindowTitle(QStringLiteral("Поиск / Замена"));

    Toolbar2 = new QToolBar(this);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    m_searchButtons = addButtons(Toolbar2, "Toolbar2",
                                 {{"Найти", QStyle::SP_FileDialogContentsView, false},
                                  {"Заменить и найти далее...", QStyle::SP_ArrowForward, false},
                                  {"Заменить по всему тексту", QStyle::SP_BrowserReload, false},
                                  {"В начало текста", QStyle::SP_ArrowUp, false},
                                  {"С учетом регистра", QStyle::SP_FileDialogDetailedView, true},
                                  {"Автозамена по списку", QStyle::SP_FileDialogListView, true}});
    for (int i = 0; i < m_searchButtons.size(); ++i)
        connect(m_searchButtons[i], &QAction::triggered, this, [this, i] { Toolbar2_ButtonClick(i + 1); });

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral("найти..."));
    Label1 = new QLabel(QStringLiteral("="), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setToolTip(QStringLiteral("заменить на..."));
    auto *row = new QHBoxLayout;
    row->addWidget(Text1);
    row->addWidget(Label1);
    row->addWidget(Text2);

    Frame1 = new QGroupBox(QStringLiteral("Замена по списку"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Toolbar1 = new QToolBar(Frame1);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    m_listButtons = addButtons(Toolbar1, "Toolbar1",
                               {{"Загрузить список", QStyle::SP_DialogOpenButton, false},
                                {"Сохранить список", QStyle::SP_DialogSaveButton, false},
                                {"Добавить новую запись в список", QStyle::SP_FileDialogNewFolder, false},
                                {"Удалить выделенную запись из списка", QStyle::SP_TrashIcon, false},
                                {"Начать замену по списку", QStyle::SP_MediaPlay, false},
                                {"Остановить замену по списку", QStyle::SP_MediaStop, true}});
    for (int i = 0; i < m_listButtons.size(); ++i)
        connect(m_listButtons[i], &QAction::triggered, this, [this, i] { Toolbar1_ButtonClick(i + 1); });
    Toolbar1->setEnabled(false);
    ListView1 = new QListWidget(Frame1);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    // The recording applies the entries in this order, so the list is never sorted.
    ListView1->setSortingEnabled(false);
    connect(ListView1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> selected = ListView1->selectedItems();
        CurEntry = selected.isEmpty() ? 0 : std::int16_t(ListView1->row(selected.first()) + 1);
    });
    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(Toolbar1);
    frameLayout->addWidget(ListView1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Toolbar2);
    layout->addLayout(row);
    layout->addWidget(Frame1, 1);
    showListPart(false);
}

FindWindow::~FindWindow() = default;

QAction *FindWindow::searchButton(int button) const
{
    return m_searchButtons.value(button - 1);
}

QAction *FindWindow::listButton(int button) const
{
    return m_listButtons.value(button - 1);
}

void FindWindow::closeEvent(QCloseEvent *event)
{
    // The boxes, toggles and the list stay for the next showing.
    event->ignore();
    hide();
}

void FindWindow::showListPart(bool shown)
{
    Frame1->setVisible(shown);
    if (shown)
        Toolbar1->setEnabled(true);
    resize(twips::toPixels(kWidth), twips::toPixels(shown ? kWithListHeight : kSearchOnlyHeight));
}

Qt::CaseSensitivity FindWindow::caseMode() const
{
    return searchButton(5)->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

void FindWindow::Toolbar2_ButtonClick(int button)
{
    switch (button) {
    case 1:
        FindNext();
        break;
    case 2:
        ReplaceOne();
        break;
    case 3:
        ReplaceAll();
        break;
    case 4:
        GoToStart();
        break;
    case 6:
        showListPart(searchButton(6)->isChecked());
        break;
    default:
        break; // 5 is a state read by the searches
    }
}

void FindWindow::Toolbar1_ButtonClick(int button)
{
    switch (button) {
    case 1:
        OpenReplaceList();
        break;
    case 2:
        SaveReplaceList();
        break;
    case 3:
        AddEntry();
        break;
    case 4:
        RemoveEntry();
        break;
    case 5:
        ReplaceScroll();
        break;
    default:
        break; // 6 is the stop state read by a running list run
    }
}

// ---- Single search and replace ----

void FindWindow::FindNext()
{
    if (!m_busy)
        findNext(Text1->text(), caseMode());
}

void FindWindow::ReplaceOne()
{
    if (!m_busy)
        replaceOne(Text1->text(), Text2->text(), caseMode());
}

void FindWindow::ReplaceAll()
{
    // The texts are taken once: an edit of the boxes meanwhile cannot make the loop endless.
    const QString what = Text1->text();
    RichTextBox *editor = texttools::mainEditor();
    if (m_busy || what.isEmpty() || !editor)
        return;
    const QString with = Text2->text();
    const Qt::CaseSensitivity cs = caseMode();
    texttools::BusyScope scope(m_busy, editor);
    texttools::EventPump pump;
    NotFoundFlag = false;
    while (!NotFoundFlag) {
        replaceOne(what, with, cs);
        pump.maybe();
    }
}

void FindWindow::GoToStart()
{
    RichTextBox *editor = texttools::mainEditor();
    if (m_busy || !editor)
        return;
    editor->setFocus();
    editor->setSelStart(0);
    m_lastHit.reset();
    Text1->setFocus();
}

void FindWindow::findNext(const QString &what, Qt::CaseSensitivity cs)
{
    RichTextBox *editor = texttools::mainEditor();
    if (what.isEmpty() || !editor)
        return;
    editor->setFocus();
    const RichTextBox::FindOptions options = cs == Qt::CaseSensitive
                                                 ? RichTextBox::FindOptions(RichTextBox::MatchCase)
                                                 : RichTextBox::FindOptions();
    int from = editor->SelStart();
    // The caret stays at the start of a hit; the next search begins after that hit, as
    // long as the hit is still there.
    if (m_lastHit && editor->SelLength() == 0 && from == m_lastHit->start &&
        QStringView(editor->Text()).mid(from, m_lastHit->length).compare(what, cs) == 0)
        from += m_lastHit->length;
    const int at = editor->Find(what, from, -1, options);
    if (at < 0) {
        services::prompter().ask(QStringLiteral("не найдено"), Prompter::Icon::Information,
                                 Prompter::Buttons::Ok);
        editor->setSelStart(0);
        m_lastHit.reset();
        NotFoundFlag = true;
    } else {
        editor->setSelStart(at);
        editor->setSelLength(int(what.size()));
        editor->setSelColor(kGreen);
        editor->setSelStart(at);
        editor->setSelColor(kBlack);
        m_lastHit = Hit{at, int(what.size())};
    }
    Text1->setFocus();
}

void FindWindow::replaceOne(const QString &what, const QString &with, Qt::CaseSensitivity cs)
{
    RichTextBox *editor = texttools::mainEditor();
    if (what.isEmpty() || !editor)
        return;
    // Only the search text itself is replaced; anything else at the caret is left alone.
    const int caret = editor->SelStart();
    if (QStringView(editor->Text()).mid(caret, what.size()).compare(what, cs) == 0) {
        editor->setSelStart(caret);
        editor->setSelLength(int(what.size()));
        editor->setSelText(with);
    }
    findNext(what, cs);
}

// ---- The replacement list ----

bool FindWindow::loadList(const QString &path, QString *error)
{
    const auto lines = replacelist::read(path, error);
    if (!lines)
        return false;
    ListView1->clear();
    ListView1->addItems(*lines);
    return true;
}

QStringList FindWindow::entries() const
{
    QStringList lines;
    for (int i = 0; i < ListView1->count(); ++i)
        lines.append(ListView1->item(i)->text());
    return lines;
}

void FindWindow::OpenReplaceList()
{
    if (m_busy)
        return;
    const QString path = services::fileChooser().openFile(QStringLiteral("Открыть файл  со списком замен"),
                                                          kFilter, QString(), kDicFilter);
    if (path.isEmpty())
        return;
    QString reason;
    if (!loadList(path, &reason))
        texttools::reportFileFailure(QStringLiteral("Не удалось открыть файл"), path, reason);
}

void FindWindow::AutoLoadScroll()
{
    if (!m_busy)
        loadList(programfolder::file(QStringLiteral("DIC/Nicolai.dic")));
}

void FindWindow::SaveReplaceList()
{
    if (m_busy)
        return;
    const QString path = services::fileChooser().saveFile(QStringLiteral("Сохранить файл  со списком замен"),
                                                          kFilter, QString(), kDicFilter);
    if (path.isEmpty())
        return;
    QString reason;
    if (!replacelist::write(path, entries(), &reason))
        texttools::reportFileFailure(QStringLiteral("Не удалось записать файл"), path, reason);
}

void FindWindow::AddEntry()
{
    if (m_busy)
        return;
    const QString line = texttools::trimBlanks(Text1->text()) + u'=' + texttools::trimBlanks(Text2->text());
    if (!replacelist::parseEntry(line))
        return;
    ListView1->addItem(line);
    // An entry that was already listed: the earlier one becomes the current entry.
    const QList<QListWidgetItem *> same =
        ListView1->findItems(line, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QListWidgetItem *first = same.first();
    ListView1->setCurrentItem(first);
    ListView1->scrollToItem(first);
}

void FindWindow::RemoveEntry()
{
    const QList<QListWidgetItem *> selected = ListView1->selectedItems();
    if (m_busy || selected.isEmpty())
        return;
    const int row = ListView1->row(selected.first());
    delete ListView1->takeItem(row);
    // The entry that moved up into the place is the current one, so removing again goes on
    // down the list.
    if (row < ListView1->count())
        ListView1->setCurrentRow(row);
    else
        ListView1->clearSelection();
}

void FindWindow::ReplaceScroll()
{
    RichTextBox *editor = texttools::mainEditor();
    if (m_busy || !editor)
        return;
    QAction *stop = listButton(6);
    stop->setChecked(false);
    texttools::BusyScope scope(m_busy, editor);
    QPointer<RichTextBox> guard(editor);
    m_disturbed = false;
    const QMetaObject::Connection watch = connect(editor, &RichTextBox::changed, this, [this] {
        if (!m_editing)
            m_disturbed = true;
    });

    QString text = editor->Text();
    const int count = ListView1->count();
    for (int i = count; i >= 1 && !stop->isChecked() && guard; --i) {
        // The list may have been reloaded meanwhile; the run goes on with what is there.
        if (i > ListView1->count())
            continue;
        const auto entry = replacelist::parseEntry(ListView1->item(i - 1)->text());
        if (!entry)
            continue;
        searchButton(5)->setChecked(entry->cs == Qt::CaseSensitive);
        Text1->setText(entry->search);
        Text2->setText(entry->replacement);
        if (!runEntry(*editor, text, *entry))
            break;
    }
    disconnect(watch);
    if (guard)
        guard->setSelStart(0);
}

bool FindWindow::runEntry(RichTextBox &editor, QString &text, const replacelist::Entry &entry)
{
    texttools::EventPump pump;
    QPointer<RichTextBox> guard(&editor);
    if (m_disturbed) {
        m_disturbed = false;
        text = editor.Text();
    }
    QList<qsizetype> hits = replacelist::replaceAll(text, entry);
    for (qsizetype k = 0; k < hits.size(); ++k) {
        const int at = int(hits[k]);
        m_editing = true;
        editor.setSelStart(at);
        editor.setSelLength(int(entry.search.size()));
        editor.setSelColor(kGreen);
        editor.setSelText(entry.replacement);
        editor.setSelStart(at);
        editor.setSelColor(kBlack);
        m_editing = false;
        pump.maybe();
        if (!guard || listButton(6)->isChecked())
            return false;
        if (m_disturbed) {
            // Something else changed the text: go on from here in the text as it is now.
            m_disturbed = false;
            text = editor.Text();
            hits = replacelist::replaceAll(text, entry, replacelist::resumePoint(entry, at));
            k = -1;
        }
    }
    pump.now();
    if (!guard)
        return false;
    editor.setSelStart(0);
    return !listButton(6)->isChecked();
}

FindWindow &Find()
{
    static QPointer<FindWindow> instance;
    if (!instance) {
        instance = new FindWindow;
        appwindows::track(instance);
    }
    return *instance;
}
