// Quenvale: turns Russian books into audio books.
#include "filechooser.h"
#include "mainwindow.h"
#include "prompter.h"
#include "services.h"
#include "shutdown.h"
#include "soundplayer.h"
#include "speech/espeakvoice.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

namespace {

Services realServices()
{
    Services s;
    s.prompter = std::make_unique<QtPrompter>();
    s.fileChooser = std::make_unique<QtFileChooser>();
    s.shutdown = std::make_unique<SystemShutdown>();
    s.soundPlayer = std::make_unique<QtSoundPlayer>();
    s.voices = std::make_unique<speech::EspeakVoiceFactory>();
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenvale"));
    QApplication::setApplicationName(QStringLiteral("Quenvale"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own buttons and editor menus speak Russian, as the rest of the program does.
    QTranslator qtRussian;
    if (qtRussian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);
    services::install(realServices());

    MP3().show();

    // For scripted runs (CI, benchmarks): leave after the given time, as the session
    // manager would, without asking or saving.
    bool ok = false;
    const int quitAfter = qEnvironmentVariableIntValue("QUENVALE_QUIT_AFTER_MS", &ok);
    if (ok)
        QTimer::singleShot(quitAfter, &app, &QCoreApplication::quit);

    const int rc = QApplication::exec();
    destroyWindows();
    services::clear();
    return rc;
}
