#include "dictionaries/listening.h"

#include "app/busy.h"
#include "platform/speech/voice.h"
#include "settings/setup.h"

#include <QString>

namespace listening {

bool speak(const QString &text)
{
    if (busy::refuse(busy::Change::Speech))
        return false;
    Setup &settings = setup();
    settings.Tembrs();
    if (settings.Voice) {
        settings.Voice->Speak(QString(), speech::PurgeBeforeSpeak);
        settings.Voice->Speak(text, speech::Async);
    }
    return true;
}

} // namespace listening
