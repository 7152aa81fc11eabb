#include "texttools/findwindow.h"

#include "app/busy.h"
#include "app/windows.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/preformat.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"
#include "platform/text/twips.h"
#include "texttools/blanks.h"
#include "texttools/logging.h"
#include "texttools/replacelist.h"
#include "texttools/session.h"
#include "texttools/toolwindowparts.h"

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

// The buttons of a bar, named "<bar>_<n>"; `clicked` gets the 1-based n.
QList<QAction *> addButtons(QToolBar &bar, std::initializer_list<ButtonSpec> specs,
                            const std::function<void(int)> &clicked)
{
    QList<QAction *> actions;
    for (const ButtonSpec &spec : specs) {
        const int index = int(actions.size()) + 1;
        QAction *a = toolwindowparts::button(
            bar, index, QStringLiteral("%1_%2").arg(bar.objectName()).arg(index), QString(),
            QString::fromUtf8(spec.tip), bar.style()->standardIcon(spec.icon), clicked);
        a->setCheckable(spec.checkable);
        actions.append(a);
    }
    return actions;
}

} // namespace

FindWindow::FindWindow(QWidget *parent) : ToolWindow(parent)
{
    setObjectName(QStringLiteral("Find"));
    setWindowTitle(QStringLiteral("Поиск / Замена"));

    Toolbar2 = new QToolBar(this);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    m_searchButtons = addButtons(*Toolbar2,
                                 {{"Найти", QStyle::SP_FileDialogContentsView, false},
                                  {"Заменить и найти далее...", QStyle::SP_ArrowForward, false},
                                  {"Заменить по всему тексту", QStyle::SP_BrowserReload, false},
                                  {"В начало текста", QStyle::SP_ArrowUp, false},
                                  {"С учетом регистра", QStyle::SP_FileDialogDetailedView, true},
                                  {"Автозамена по списку", QStyle::SP_FileDialogListView, true}},
                                 [this](int button) { Toolbar2_ButtonClick(button); });

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral("найти..."));
    Text1->setAccessibleName(QStringLiteral("Что найти"));
    Label1 = new QLabel(QStringLiteral("="), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setToolTip(QStringLiteral("заменить на..."));
    Text2->setAccessibleName(QStringLiteral("Заменить на"));
    // Return in the search field finds, as the tool-bar button does.
    connect(Text1, &QLineEdit::returnPressed, m_searchButtons[0], &QAction::trigger);
    auto *row = new QHBoxLayout;
    row->addWidget(Text1);
    row->addWidget(Label1);
    row->addWidget(Text2);

    Frame1 = new QGroupBox(QStringLiteral("Замена по списку"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Toolbar1 = new QToolBar(Frame1);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    m_listButtons = addButtons(*Toolbar1,
                               {{"Загрузить список", QStyle::SP_DialogOpenButton, false},
                                {"Сохранить список", QStyle::SP_DialogSaveButton, false},
                                {"Добавить новую запись в список", QStyle::SP_FileDialogNewFolder, false},
                                {"Удалить выделенную запись из списка", QStyle::SP_TrashIcon, false},
                                {"Начать замену по списку", QStyle::SP_MediaPlay, false},
                                {"Остановить замену по списку", QStyle::SP_MediaStop, true}},
                               [this](int button) { Toolbar1_ButtonClick(button); });
    Toolbar1->setEnabled(false);
    ListView1 = new QListWidget(Frame1);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    // The recording applies the entries in this order, so the list is never sorted.
    ListView1->setSortingEnabled(false);
    connect(ListView1, &QListWidget::itemSelectionChanged, this, &FindWindow::followSelection);
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
    if (!m_busy && !busy::refuse(busy::Change::Text))
        replaceOne(Text1->text(), Text2->text(), caseMode());
}

void FindWindow::ReplaceAll()
{
    const QString what = Text1->text();
    RichTextBox *editor = texttools::mainEditor();
    if (m_busy || what.isEmpty() || !editor || busy::refuse(busy::Change::Text))
        return;
    // Computed on a copy and applied in one edit: the same replacements as replacing hit by
    // hit from the caret on, each search starting after the text the step before put in.
    Pass pass{{what, Text2->text(), caseMode()}, {}};
    preformat::replaceAll(editor->Text(), what, pass.entry.replacement, pass.entry.cs, editor->SelStart(),
                          &pass.hits);
    applyPasses(*editor, {pass});
    notFound(*editor);
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

RichTextBox *FindWindow::searchedEditor()
{
    RichTextBox *editor = texttools::mainEditor();
    // A book loaded since the last hit is searched from its beginning.
    if (editor && editor != m_searched) {
        m_searched = editor;
        connect(editor, &RichTextBox::fileLoaded, this, [this] { m_lastHit.reset(); });
    }
    return editor;
}

void FindWindow::findNext(const QString &what, Qt::CaseSensitivity cs)
{
    RichTextBox *editor = searchedEditor();
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
        notFound(*editor);
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

void FindWindow::notFound(RichTextBox &editor)
{
    services::prompter().ask(QStringLiteral("не найдено"), Prompter::Icon::Information,
                             Prompter::Buttons::Ok);
    editor.setSelStart(0);
    m_lastHit.reset();
    NotFoundFlag = true;
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
        // The hit is gone: whatever now stands at the caret is a new one, to be found.
        m_lastHit.reset();
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
        services::prompter().critical(textfile::openFailure(path, reason));
}

void FindWindow::AutoLoadScroll()
{
    const QString path = programfolder::file(QStringLiteral("DIC/Nicolai.dic"));
    QString reason;
    if (!m_busy && !loadList(path, &reason))
        qCInfo(lcTextTools).noquote() << "default list" << path << "not loaded:" << reason;
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
        services::prompter().critical(textfile::writeFailure(path, reason));
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
        ListView1->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    else
        ListView1->clearSelection();
    // A removal moves the selection without always telling.
    followSelection();
}

void FindWindow::followSelection()
{
    const QList<QListWidgetItem *> selected = ListView1->selectedItems();
    CurEntry = selected.isEmpty() ? 0 : std::int16_t(ListView1->row(selected.first()) + 1);
}

void FindWindow::ReplaceScroll()
{
    RichTextBox *editor = texttools::mainEditor();
    if (m_busy || !editor || busy::refuse(busy::Change::Text))
        return;
    QAction *stop = listButton(6);
    stop->setChecked(false);
    texttools::BusyScope scope(m_busy, busy::Job::ListRun);
    QPointer<RichTextBox> guard(editor);
    m_disturbed = false;
    const QMetaObject::Connection watch =
        connect(editor, &RichTextBox::changed, this, [this] { m_disturbed = true; });

    // The entries run over a copy of the text, which is fast; the editor then takes all the
    // replacements in one go, so that it lays the book out once and not after each one.
    QList<Pass> passes;
    QString text = editor->Text();
    QString folded = text.toCaseFolded();
    texttools::EventPump pump;
    for (int i = ListView1->count(); i >= 1; --i) {
        // The list may have been reloaded meanwhile; the run goes on with what is there.
        if (i > ListView1->count())
            continue;
        const auto entry = replacelist::parseEntry(ListView1->item(i - 1)->text());
        if (!entry)
            continue;
        searchButton(5)->setChecked(entry->cs == Qt::CaseSensitive);
        Text1->setText(entry->search);
        Text2->setText(entry->replacement);
        const QList<qsizetype> hits = replacelist::replaceAll(text, folded, *entry);
        if (!hits.isEmpty())
            passes.append({*entry, hits});
        pump.maybe();
        if (!guard)
            return;
        if (m_disturbed) {
            // Something else changed the text: start over on the text as it is now.
            m_disturbed = false;
            passes.clear();
            text = editor->Text();
            folded = text.toCaseFolded();
            i = int(ListView1->count()) + 1;
            continue;
        }
        if (stop->isChecked())
            break;
    }
    disconnect(watch);
    qsizetype hits = 0;
    for (const Pass &pass : passes)
        hits += pass.hits.size();
    qCInfo(lcTextTools) << "list run:" << passes.size() << "entries replaced" << hits << "times"
                        << (stop->isChecked() ? "(stopped)" : "");
    applyPasses(*editor, passes);
}

void FindWindow::applyPasses(RichTextBox &editor, const QList<Pass> &passes)
{
    editor.beginEdits();
    for (const Pass &pass : passes) {
        for (const qsizetype at : pass.hits) {
            editor.setSelStart(int(at));
            editor.setSelLength(int(pass.entry.search.size()));
            editor.setSelColor(kGreen);
            editor.setSelText(pass.entry.replacement);
        }
    }
    editor.setSelStart(0);
    editor.setSelColor(kBlack);
    editor.endEdits();
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
