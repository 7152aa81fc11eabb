#pragma once

// For benchmarks of windows: a private program folder, and services that answer every
// prompt Yes at once, give `path` from the open-file dialog, and have no voice, no sound
// and no shutdown.
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/services/shutdown.h"
#include "platform/services/soundplayer.h"
#include "platform/services/stylechooser.h"
#include "platform/speech/voice.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

// A program folder and settings store of the run's own; made before the QApplication, which
// runs offscreen unless the caller asked for a display.
struct BenchHome : QTemporaryDir
{
    BenchHome()
    {
        qputenv("QUENVALE_HOME", path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (path() + QStringLiteral("/config")).toUtf8());
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};

struct QuietFileChooser : FileChooser
{
    QString path;
    QString openFile(const QString &, const QString &, const QString &, const QString &) override
    {
        return path;
    }
    QString saveFile(const QString &, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString folder(const QString &, const QString &) override { return {}; }
};

// A benchmark of the program's own windows with the real services: a private program folder
// (with its DIC folder), offscreen, the program's names.
struct RealProgram
{
    RealProgram(int &argc, char **argv) : app(argc, argv)
    {
        QApplication::setOrganizationName(QStringLiteral("Quenvale"));
        QApplication::setApplicationName(QStringLiteral("Quenvale"));
        services::installReal();
        QDir(home.path()).mkpath(QStringLiteral("DIC"));
    }

    BenchHome home; // made before the application
    QApplication app;
};

// Installs the quiet services and returns the file chooser, which the services own.
inline QuietFileChooser &installQuietServices()
{
    struct Yes : Prompter
    {
        Answer ask(const QString &, Icon, Buttons) override { return Answer::Yes; }
        void notice(const QString &, Icon) override {}
    };
    struct NoVoices : speech::VoiceFactory
    {
        std::unique_ptr<speech::Voice> create() override { return nullptr; }
    };
    struct NoShutdown : Shutdown
    {
        bool powerOff() override { return false; }
    };
    struct NoSound : SoundPlayer
    {
        void play(const QString &) override {}
    };
    auto chooser = std::make_unique<QuietFileChooser>();
    QuietFileChooser &files = *chooser;
    Services s;
    s.prompter = std::make_unique<Yes>();
    s.fileChooser = std::move(chooser);
    s.shutdown = std::make_unique<NoShutdown>();
    s.soundPlayer = std::make_unique<NoSound>();
    s.voices = std::make_unique<NoVoices>();
    services::install(std::move(s));
    return files;
}
