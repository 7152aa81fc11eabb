#pragma once

#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/services/shutdown.h"
#include "platform/services/soundplayer.h"
#include "platform/services/stylechooser.h"

#include <QQueue>
#include <QStringList>

#include <functional>

// Scripted services: each gives the next queued answer and records what it was asked.

class ScriptedPrompter : public Prompter
{
public:
    struct Asked
    {
        QString text;
        Icon icon;
        Buttons buttons;
        bool notice = false; // shown without waiting for an answer
    };

    Answer ask(const QString &text, Icon icon, Buttons buttons) override;
    void notice(const QString &text, Icon icon) override { asked.append({text, icon, Buttons::Ok, true}); }

    QQueue<Answer> answers; // when empty: Ok, or Yes for a question
    QList<Asked> asked;     // notices too
    // Runs while a question waits for its answer, as a user who lets it wait.
    std::function<void()> onAsk;

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
                     const QString &selectedFilter = {}) override
    {
        return next({title, filter, folder, selectedFilter});
    }
    QString saveFile(const QString &title, const QString &filter, const QString &suggested,
                     const QString &selectedFilter = {}) override
    {
        return next({title, filter, suggested, selectedFilter});
    }
    QString folder(const QString &title, const QString &start) override
    {
        return next({title, {}, start, {}});
    }

    QQueue<QString> names; // when empty: cancelled
    QList<Asked> asked;

private:
    QString next(const Asked &a)
    {
        asked.append(a);
        return names.isEmpty() ? QString() : names.dequeue();
    }
};

class ScriptedShutdown : public Shutdown
{
public:
    bool powerOff() override
    {
        ++calls;
        if (onPowerOff)
            onPowerOff();
        return true;
    }
    int calls = 0;
    // Runs as the machine would go off: what is there by then is all the user will find.
    std::function<void()> onPowerOff;
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
    std::optional<QFont> font(const QString &title, const QFont &) override { return next(title, fonts); }
    std::optional<QColor> color(const QString &title, const QColor &) override { return next(title, colors); }

    QQueue<QFont> fonts;   // when empty: cancelled
    QQueue<QColor> colors; // when empty: cancelled
    QStringList asked;     // the dialogs' titles

private:
    template <class T> std::optional<T> next(const QString &title, QQueue<T> &queue)
    {
        asked.append(title);
        return queue.isEmpty() ? std::nullopt : std::optional<T>(queue.dequeue());
    }
};

class FakeVoiceFactory;

// Installs fresh scripted services and `voices`, by default the fake voice factory.
void installScriptedServices();
void installScriptedServices(std::unique_ptr<speech::VoiceFactory> voices);
void installScriptedServices(std::unique_ptr<speech::VoiceFactory> voices,
                             std::unique_ptr<ScriptedPrompter> prompter);

// The installed scripted services.
ScriptedPrompter &scriptedPrompter();
ScriptedFileChooser &scriptedFileChooser();
ScriptedShutdown &scriptedShutdown();
ScriptedSoundPlayer &scriptedSoundPlayer();
ScriptedStyleChooser &scriptedStyleChooser();
FakeVoiceFactory &fakeVoices();
