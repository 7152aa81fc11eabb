#include "texttools/session.h"

#include "texttools/logging.h"

#include "app/mainwindowport.h"
#include "platform/richtext/richtextbox.h"

#include <QCoreApplication>

Q_LOGGING_CATEGORY(lcTextTools, "quenvale.texttools", QtWarningMsg)

namespace texttools {

RichTextBox *mainEditor()
{
    MainWindowPort *main = mainwindowport::get();
    return main ? main->editor() : nullptr;
}

EventPump::EventPump(int intervalMs) : m_interval(intervalMs) {}

void EventPump::maybe()
{
    if (!m_clock.isValid() || m_clock.elapsed() >= m_interval)
        now();
}

void EventPump::now()
{
    QCoreApplication::processEvents();
    m_clock.restart();
}

BusyScope::BusyScope(bool &busy, busy::Job job) : m_busy(busy), m_job(job)
{
    m_busy = true;
}

BusyScope::~BusyScope()
{
    m_busy = false;
}

} // namespace texttools
