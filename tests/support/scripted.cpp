#include "support/scripted.h"

#include <utility>

#include "support/fakevoice.h"

Prompter::Answer ScriptedPrompter::ask(const QString &text, Icon icon, Buttons buttons)
{
    asked.append({text, icon, buttons});
    if (onAsk)
        onAsk();
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

void installScriptedServices()
{
    installScriptedServices(std::make_unique<FakeVoiceFactory>());
}

void installScriptedServices(std::unique_ptr<speech::VoiceFactory> voices)
{
    installScriptedServices(std::move(voices), std::make_unique<ScriptedPrompter>());
}

void installScriptedServices(std::unique_ptr<speech::VoiceFactory> voices,
                             std::unique_ptr<ScriptedPrompter> prompter)
{
    Services s;
    s.prompter = std::move(prompter);
    s.fileChooser = std::make_unique<ScriptedFileChooser>();
    s.shutdown = std::make_unique<ScriptedShutdown>();
    s.soundPlayer = std::make_unique<ScriptedSoundPlayer>();
    s.voices = std::move(voices);
    s.styleChooser = std::make_unique<ScriptedStyleChooser>();
    services::install(std::move(s));
}

ScriptedPrompter &scriptedPrompter()
{
    return static_cast<ScriptedPrompter &>(services::prompter());
}
ScriptedFileChooser &scriptedFileChooser()
{
    return static_cast<ScriptedFileChooser &>(services::fileChooser());
}
ScriptedShutdown &scriptedShutdown()
{
    return static_cast<ScriptedShutdown &>(services::shutdown());
}
ScriptedSoundPlayer &scriptedSoundPlayer()
{
    return static_cast<ScriptedSoundPlayer &>(services::soundPlayer());
}
FakeVoiceFactory &fakeVoices()
{
    return static_cast<FakeVoiceFactory &>(services::voices());
}
ScriptedStyleChooser &scriptedStyleChooser()
{
    return static_cast<ScriptedStyleChooser &>(services::styleChooser());
}

QStringList ScriptedPrompter::takeAsked()
{
    QStringList texts;
    for (const Asked &a : std::exchange(asked, {}))
        texts.append(a.text);
    return texts;
}
