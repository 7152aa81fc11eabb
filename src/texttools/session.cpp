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

BusyScope::BusyScope(bool &busy, RichTextBox *editor) : m_busy(busy), m_editor(editor)
{
    m_busy = true;
    if (m_editor) {
        m_wasLocked = m_editor->Locked();
        m_editor->setLocked(true);
    }
}

BusyScope::~BusyScope()
{
    if (m_editor)
        m_editor->setLocked(m_wasLocked);
    m_busy = false;
}

} // namespace texttools
