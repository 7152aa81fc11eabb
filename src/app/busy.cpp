#include "app/busy.h"

#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QList>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

namespace busy {
namespace {

struct Running
{
    const JobScope *scope;
    Job job;
    std::function<bool(const QString &)> holds; // the files it needs; none when empty
};

QList<Running> &running()
{
    static QList<Running> jobs;
    return jobs;
}

struct Rule
{
    Job job;
    const char *message;
    std::initializer_list<Change> refused;
};

using enum Change;

// A job refuses what changes the book it works on, the voice it speaks with or the
// dictionary it reads; no job starts inside another, as the inner one would hold the
// outer one still until it ends. The chapter search only keeps the user from typing into
// the text its hits point into; it holds nothing else back.
const Rule kRules[] = {
    {Job::Recording,
     "Идёт запись аудиокниги. Дождитесь её окончания или прервите запись.",
     {Book, Text, Save, Speech, StopSpeech, Settings, Output, Dictionary, StartJob, Typing}},
    {Job::Reading,
     "Идёт чтение вслух. Дождитесь его окончания или остановите чтение.",
     {Book, Text, Speech, Settings, Dictionary, StartJob, Typing}},
    {Job::Preformatting,
     "Идёт предварительное форматирование текста. Дождитесь его окончания или прервите его.",
     {Book, Text, Save, Speech, StartJob, Typing}},
    {Job::BookReading,
     "Идёт чтение книги. Дождитесь его окончания или прервите его.",
     {Book, Text, Save, Speech, StartJob, Typing}},
    {Job::ListRun,
     "Идёт замена в тексте. Дождитесь её окончания.",
     {Book, Text, Save, Speech, StartJob, Typing}},
    {Job::MarkupCleaning,
     "Идёт очистка разметки. Дождитесь её окончания.",
     {Book, Text, Save, Speech, StartJob, Typing}},
    {Job::Search,
     "Идёт поиск слов. Дождитесь его окончания или прервите поиск.",
     {Book, Text, Dictionary, StartJob, Typing}},
    {Job::Comparison, "Идёт сравнение словарей. Дождитесь его окончания.", {Dictionary, StartJob}},
    {Job::ChapterSearch, "Идёт поиск глав. Дождитесь его окончания.", {Typing}},
};

// Why `change` may not happen while `job` runs; nothing when it may.
std::optional<QString> refusalBy(Job job, Change change)
{
    for (const Rule &rule : kRules)
        if (rule.job == job) {
            for (Change c : rule.refused)
                if (c == change)
                    return QString::fromUtf8(rule.message);
            return std::nullopt;
        }
    return std::nullopt;
}

// A key that would change a text box's text: typing, deleting, pasting, cutting, undoing.
bool editsText(const QKeyEvent &key)
{
    using K = QKeySequence;
    for (K::StandardKey edit :
         {K::Paste, K::Cut, K::Undo, K::Redo, K::Delete, K::Backspace, K::DeleteEndOfWord,
          K::DeleteStartOfWord, K::DeleteEndOfLine, K::DeleteCompleteLine})
        if (key.matches(edit))
            return true;
    if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete)
        return true;
    const QString text = key.text();
    return !text.isEmpty() && text.front().isPrint() &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
}

// Eats the user's attempts to change the watched controls while a job refuses its change.
// Text boxes are watched apart from the other controls: a look into one is no attempt.
class Guard : public QObject
{
public:
    Guard(QObject *owner, Change change, bool texts) : QObject(owner), m_change(change), m_texts(texts) {}

    void watch(QWidget *control)
    {
        control->installEventFilter(this);
        if (m_texts)
            m_held.append({qobject_cast<QLineEdit *>(control), std::nullopt});
    }

    // A watched text box is read-only while a job refuses the change, so nothing changes it
    // by whatever road (a context menu's paste, a middle click, a drop); then it gets its
    // own setting back.
    void hold()
    {
        const bool refused = refusal(m_change).has_value();
        for (Held &held : m_held) {
            if (!held.box || refused == held.own.has_value())
                continue;
            if (refused) {
                held.own = held.box->isReadOnly();
                held.box->setReadOnly(true);
            } else {
                held.box->setReadOnly(*std::exchange(held.own, std::nullopt));
            }
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if ((m_texts ? changesText(*event) : attempt(*event)) && refuse(m_change))
            return true;
        return QObject::eventFilter(watched, event);
    }

private:
    static bool attempt(const QEvent &event)
    {
        switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Drop:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
            return true;
        case QEvent::KeyPress: {
            const int key = static_cast<const QKeyEvent &>(event).key();
            return key != Qt::Key_Tab && key != Qt::Key_Backtab;
        }
        default:
            return false;
        }
    }

    // A look (a click, the arrows, a selection, a copy, the wheel) is no attempt.
    static bool changesText(const QEvent &event)
    {
        switch (event.type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // The middle button pastes the selection.
            return static_cast<const QMouseEvent &>(event).button() == Qt::MiddleButton;
        case QEvent::Drop:
        case QEvent::InputMethod:
            return true;
        case QEvent::KeyPress:
            return editsText(static_cast<const QKeyEvent &>(event));
        default:
            return false;
        }
    }

    struct Held
    {
        QPointer<QLineEdit> box;
        std::optional<bool> own; // its own setting, while held
    };

    Change m_change;
    bool m_texts;
    QList<Held> m_held;
};

struct Listener
{
    QPointer<QObject> receiver;
    std::function<void()> changed;
};

QList<Listener> &listeners()
{
    static QList<Listener> list;
    return list;
}

void jobsChanged()
{
    QList<Listener> &list = listeners();
    list.removeIf([](const Listener &l) { return l.receiver.isNull(); });
    // A listener may add another: call the ones there are now.
    for (const Listener &l : QList<Listener>(list))
        if (l.receiver)
            l.changed();
}

} // namespace

JobScope::JobScope(Job job)
{
    running().append({this, job, {}});
    jobsChanged();
}

JobScope::~JobScope()
{
    running().removeIf([this](const Running &r) { return r.scope == this; });
    jobsChanged();
}

void JobScope::holdFiles(std::function<bool(const QString &)> holds)
{
    for (Running &r : running())
        if (r.scope == this)
            r.holds = std::move(holds);
}

bool runs(Job job)
{
    return std::any_of(running().cbegin(), running().cend(),
                       [job](const Running &r) { return r.job == job; });
}

std::optional<QString> refusal(Change change)
{
    for (const Running &r : running())
        if (const auto message = refusalBy(r.job, change))
            return message;
    return std::nullopt;
}

bool refuseFile(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    for (const Running &r : running())
        if (r.holds && r.holds(canonical)) {
            services::prompter().notice(
                QStringLiteral("Файл %1 нельзя удалить: из него идёт запись аудиокниги или он ждёт своей "
                               "очереди в пакетной записи. Дождитесь окончания записи или прервите её.")
                    .arg(QDir::toNativeSeparators(path)),
                Prompter::Icon::Critical);
            return true;
        }
    return false;
}

bool refuse(Change change)
{
    const auto message = refusal(change);
    if (message)
        services::prompter().notice(*message, Prompter::Icon::Critical);
    return message.has_value();
}

void guard(QObject *owner, std::initializer_list<QWidget *> controls, Change change)
{
    auto *others = new Guard(owner, change, false);
    auto *texts = new Guard(owner, change, true);
    for (QWidget *control : controls)
        (qobject_cast<QLineEdit *>(control) ? texts : others)->watch(control);
    texts->hold(); // a job may be running already
    onJobsChanged(texts, [texts] { texts->hold(); });
}

void holdEditor(RichTextBox *editor)
{
    onJobsChanged(editor, [editor] { editor->setLocked(refusal(Typing).has_value()); });
}

void onJobsChanged(QObject *receiver, std::function<void()> changed)
{
    listeners().append({receiver, std::move(changed)});
}

} // namespace busy
