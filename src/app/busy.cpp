#include "app/busy.h"

#include "platform/services/prompter.h"
#include "platform/services/services.h"

#include <QString>

namespace busy {
namespace {
int running = 0;
}

bool recording()
{
    return running > 0;
}

RecordingScope::RecordingScope()
{
    ++running;
}

RecordingScope::~RecordingScope()
{
    --running;
}

bool refuseWhileRecording()
{
    if (!recording())
        return false;
    services::prompter().critical(
        QStringLiteral("Идёт запись аудиокниги. Дождитесь её окончания или прервите запись."));
    return true;
}

} // namespace busy
