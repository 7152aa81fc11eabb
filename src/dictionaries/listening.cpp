#include "dictionaries/listening.h"

#include "platform/speech/voice.h"
#include "settings/setup.h"

#include <QString>

namespace listening {

void speak(const QString &text)
{
    Setup &settings = setup();
    settings.Tembrs();
    if (!settings.Voice)
        return;
    settings.Voice->Speak(QString(), speech::PurgeBeforeSpeak);
    settings.Voice->Speak(text, speech::Async);
}

} // namespace listening
