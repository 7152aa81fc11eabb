#include "app/busy.h"

#include "platform/services/prompter.h"
#include "platform/services/services.h"

#include <QList>

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
     {Book, Text, Save, Speech, StopSpeech, Settings, Dictionary, StartJob}},
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

} // namespace busy
