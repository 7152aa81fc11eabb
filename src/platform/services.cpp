#include "services.h"

#include "filechooser.h"
#include "prompter.h"
#include "shutdown.h"
#include "soundplayer.h"
#include "speech/voice.h"

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

Prompter &prompter() { return require(current().prompter, "prompter"); }
FileChooser &fileChooser() { return require(current().fileChooser, "fileChooser"); }
Shutdown &shutdown() { return require(current().shutdown, "shutdown"); }
SoundPlayer &soundPlayer() { return require(current().soundPlayer, "soundPlayer"); }
speech::VoiceFactory &voices() { return require(current().voices, "voices"); }

} // namespace services
