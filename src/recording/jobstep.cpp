#include "recording/jobstep.h"

void JobStep::end(bool ok, const QString &failure)
{
    if (m_ended)
        return;
    m_ended = true;
    m_ok = ok;
    m_failure = failure;
    QMetaObject::invokeMethod(this, &JobStep::finished, Qt::QueuedConnection);
}
