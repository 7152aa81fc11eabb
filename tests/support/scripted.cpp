#include "support/scripted.h"

#include <utility>

#include "support/fakevoice.h"

Prompter::Answer ScriptedPrompter::ask(const QString &text, Icon icon, Buttons buttons)
{
    asked.append({text, icon, buttons});
    if (!answers.isEmpty())
        return answers.dequeue();
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

namespace {
QString nextName(QQueue<QString> &names)
{
    return names.isEmpty() ? QString() : names.dequeue();
}
} // namespace

QString ScriptedFileChooser::openFile(const QString &title, const QString &filter, const QString &folder,
                                      const QString &selectedFilter)
{
    asked.append({title, filter, folder, selectedFilter});
    return nextName(names);
}

QString ScriptedFileChooser::saveFile(const QString &title, const QString &filter, const QString &suggested,
                                      const QString &selectedFilter)
{
    asked.append({title, filter, suggested, selectedFilter});
    return nextName(names);
}

QString ScriptedFileChooser::folder(const QString &title, const QString &start)
{
    asked.append({title, {}, start, {}});
    return nextName(names);
}

std::optional<QFont> ScriptedStyleChooser::font(const QString &title, const QFont &)
{
    asked.append(title);
    if (fonts.isEmpty())
        return std::nullopt;
    return fonts.dequeue();
}

std::optional<QColor> ScriptedStyleChooser::color(const QString &title, const QColor &)
{
    asked.append(title);
    if (colors.isEmpty())
        return std::nullopt;
    return colors.dequeue();
}

void installScriptedServices()
{
    Services s;
    s.prompter = std::make_unique<ScriptedPrompter>();
    s.fileChooser = std::make_unique<ScriptedFileChooser>();
    s.shutdown = std::make_unique<ScriptedShutdown>();
    s.soundPlayer = std::make_unique<ScriptedSoundPlayer>();
    s.voices = std::make_unique<FakeVoiceFactory>();
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
