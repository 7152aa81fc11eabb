#include "platform/services/services.h"

#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/shutdown.h"
#include "platform/services/soundplayer.h"
#include "platform/services/stylechooser.h"
#include "platform/speech/voice.h"

#include <QtGlobal>

namespace services {
namespace {

Services &current()
{
    static Services s;
    return s;
}

template <typename T> T &require(const std::unique_ptr<T> &p, const char *what)
{
    if (!p)
        qFatal("service not installed: %s", what);
    return *p;
}

} // namespace

void install(Services s)
{
    current() = std::move(s);
}

void clear()
{
    current() = Services{};
}

Prompter &prompter()
{
    return require(current().prompter, "prompter");
}
FileChooser &fileChooser()
{
    return require(current().fileChooser, "fileChooser");
}
Shutdown &shutdown()
{
    return require(current().shutdown, "shutdown");
}
SoundPlayer &soundPlayer()
{
    return require(current().soundPlayer, "soundPlayer");
}
speech::VoiceFactory &voices()
{
    return require(current().voices, "voices");
}
StyleChooser &styleChooser()
{
    return require(current().styleChooser, "styleChooser");
}

} // namespace services
