// Quenvale: turns Russian books into audio books.
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/programfolder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenvale"));
    QApplication::setApplicationName(QStringLiteral("Quenvale"));
    QApplication::setApplicationVersion(QStringLiteral(QUENVALE_VERSION));
    // The desktop entry this program is started from: its icon and name stand for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quenvale.Quenvale"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own buttons and editor menus speak Russian, as the rest of the program does.
    QTranslator qtRussian;
    if (qtRussian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtRussian);
    services::installReal();

    // A book on the command line (the desktop entry's "Open with") opens in place of the last.
    QCommandLineParser arguments;
    arguments.setApplicationDescription(QStringLiteral("Запись русских книг в аудиокниги."));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("книга"),
                                    QStringLiteral("Текстовый файл, который открыть вместо последней книги."),
                                    QStringLiteral("[книга]"));
    arguments.process(app);
    if (const QStringList books = arguments.positionalArguments(); !books.isEmpty())
        setStartupBook(QFileInfo(books.first()).absoluteFilePath());

    MP3().show();
    // A fresh user folder that could not be filled lacks dictionaries and help: say which.
    if (const QStringList problems = programfolder::setupProblems(); !problems.isEmpty())
        services::prompter().critical(QStringLiteral("Не удалось подготовить папку программы:\n") +
                                      problems.join(u'\n'));

    // For scripted runs (CI, benchmarks): leave after the given time, as the session
    // manager would, without asking or saving.
    bool ok = false;
    const int quitAfter = qEnvironmentVariableIntValue("QUENVALE_QUIT_AFTER_MS", &ok);
    if (ok)
        QTimer::singleShot(quitAfter, &app, &QCoreApplication::quit);

    const int rc = QApplication::exec();
    appwindows::destroyAll();
    services::clear();
    return rc;
}
