// Quenvale: turns Russian books into audio books.
#include "mainwindow/mainwindow.h"
#include "platform/services/services.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

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
    services::installReal();

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
