#include "app/busy.h"

#include "platform/services/prompter.h"
#include "platform/services/services.h"

#include <QEvent>
#include <QKeyEvent>
#include <QList>
#include <QWidget>

#include <initializer_list>

namespace busy {
namespace {

// Jobs started inside another job's command stack up; the latest ends first.
QList<Job> &running()
{
    static QList<Job> jobs;
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
// outer one still until it ends.
const Rule kRules[] = {
    {Job::Recording,
     "Идёт запись аудиокниги. Дождитесь её окончания или прервите запись.",
     {Book, Text, Save, Speech, StopSpeech, Settings, Output, Dictionary, StartJob}},
    {Job::Reading,
     "Идёт чтение вслух. Дождитесь его окончания или остановите чтение.",
     {Book, Text, Speech, Settings, Dictionary, StartJob}},
    {Job::Preformatting,
     "Идёт предварительное форматирование текста. Дождитесь его окончания или прервите его.",
     {Book, Text, Save, Speech, StartJob}},
    {Job::ListRun, "Идёт замена в тексте. Дождитесь её окончания.", {Book, Text, Save, Speech, StartJob}},
    {Job::MarkupCleaning,
     "Идёт очистка разметки. Дождитесь её окончания.",
     {Book, Text, Save, Speech, StartJob}},
    {Job::Search,
     "Идёт поиск слов. Дождитесь его окончания или прервите поиск.",
     {Book, Text, Dictionary, StartJob}},
    {Job::Comparison, "Идёт сравнение словарей. Дождитесь его окончания.", {Dictionary, StartJob}},
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

// Eats the user's attempts on the watched controls while a job refuses its change.
class Guard : public QObject
{
public:
    Guard(QObject *owner, Change change) : QObject(owner), m_change(change) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        return attempt(*event) && refuse(m_change) ? true : QObject::eventFilter(watched, event);
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

    Change m_change;
};

} // namespace

JobScope::JobScope(Job job) : m_job(job)
{
    running().append(job);
}

JobScope::~JobScope()
{
    running().removeAt(running().lastIndexOf(m_job));
}

std::optional<QString> refusal(Change change)
{
    for (Job job : running())
        if (const auto message = refusalBy(job, change))
            return message;
    return std::nullopt;
}

bool refuse(Change change)
{
    const auto message = refusal(change);
    if (message)
        services::prompter().critical(*message);
    return message.has_value();
}

void guard(QObject *owner, std::initializer_list<QWidget *> controls, Change change)
{
    auto *watch = new Guard(owner, change);
    for (QWidget *control : controls)
        control->installEventFilter(watch);
}

} // namespace busy
