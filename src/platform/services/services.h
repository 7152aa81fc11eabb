#pragma once

#include <memory>

class Prompter;
class FileChooser;
class Shutdown;
class SoundPlayer;
class StyleChooser;
namespace speech {
class VoiceFactory;
}

// The outside services the windows use. The program installs the real ones at start;
// tests install scripted ones before they touch a window.
struct Services
{
    std::unique_ptr<Prompter> prompter;
    std::unique_ptr<FileChooser> fileChooser;
    std::unique_ptr<Shutdown> shutdown;
    std::unique_ptr<SoundPlayer> soundPlayer;
    std::unique_ptr<speech::VoiceFactory> voices;
    std::unique_ptr<StyleChooser> styleChooser;
};

namespace services {

// Installs the real services: Qt dialogs, systemd, Qt Multimedia and the eSpeak NG voices.
void installReal();

void install(Services s);
// Releases every service (the end of the program or of a test).
void clear();

Prompter &prompter();
FileChooser &fileChooser();
Shutdown &shutdown();
SoundPlayer &soundPlayer();
speech::VoiceFactory &voices();
StyleChooser &styleChooser();

} // namespace services
