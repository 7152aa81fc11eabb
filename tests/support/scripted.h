#pragma once

#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/services/shutdown.h"
#include "platform/services/soundplayer.h"
#include "platform/services/stylechooser.h"

#include <QQueue>
#include <QStringList>

// Scripted services: each takes the next answer a test queued and records what it was
// asked, so no test ever shows a dialog, plays a sound or turns the machine off.

class ScriptedPrompter : public Prompter
{
public:
    struct Asked
    {
        QString text;
        Icon icon;
        Buttons buttons;
    };

    Answer ask(const QString &text, Icon icon, Buttons buttons) override;

    QQueue<Answer> answers; // when empty: Ok, or Yes for a question
    QList<Asked> asked;

    // The texts asked since the last call, forgetting them.
    QStringList takeAsked();
};

class ScriptedFileChooser : public FileChooser
{
public:
    struct Asked
    {
        QString title;
        QString filter;
        QString start;
        QString selectedFilter;
    };

    QString openFile(const QString &title, const QString &filter, const QString &folder,
                     const QString &selectedFilter = {}) override;
    QString saveFile(const QString &title, const QString &filter, const QString &suggested,
                     const QString &selectedFilter = {}) override;
    QString folder(const QString &title, const QString &start) override;

    QQueue<QString> names; // when empty: cancelled
    QList<Asked> asked;
};

class ScriptedShutdown : public Shutdown
{
public:
    bool powerOff() override
    {
        ++calls;
        return true;
    }
    int calls = 0;
};

class ScriptedSoundPlayer : public SoundPlayer
{
public:
    void play(const QString &wavPath) override { played.append(wavPath); }
    QStringList played;
};

class ScriptedStyleChooser : public StyleChooser
{
public:
    std::optional<QFont> font(const QString &title, const QFont &current) override;
    std::optional<QColor> color(const QString &title, const QColor &current) override;

    QQueue<QFont> fonts;   // when empty: cancelled
    QQueue<QColor> colors; // when empty: cancelled
    QStringList asked;     // the dialogs' titles
};

class FakeVoiceFactory;

// Installs fresh scripted services (and the fake voice factory).
void installScriptedServices();

// The installed scripted services.
ScriptedPrompter &scriptedPrompter();
ScriptedFileChooser &scriptedFileChooser();
ScriptedShutdown &scriptedShutdown();
ScriptedSoundPlayer &scriptedSoundPlayer();
ScriptedStyleChooser &scriptedStyleChooser();
FakeVoiceFactory &fakeVoices();
