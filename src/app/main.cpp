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
#include <QProcess>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

namespace {

// Names the program (settings, folders, --version, and the window class that the desktop entry's
// StartupWMClass names) and lets Qt's own texts speak Russian, as the rest of the program does:
// the option help, buttons and editor menus.
void introduce(QTranslator &qtRussian)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quenvale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quenvale"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENVALE_VERSION));
    if (qtRussian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtRussian);
}

void describe(QCommandLineParser &arguments)
{
    arguments.setApplicationDescription(QStringLiteral("Превращает русские книги в аудиокниги."));
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(
        QStringLiteral("книги"),
        QStringLiteral("Книги, которые открыть: первая открывается вместо последней книги, "
                       "каждая следующая — в отдельной копии программы."),
        QStringLiteral("[книги...]"));
}

// --help and --version answer before the window system is opened: over ssh or on a console
// there may be none. Qt's own window-system options are left for QApplication.
void answerConsoleOptions(int argc, char **argv)
{
    QCoreApplication console(argc, argv);
    QTranslator qtRussian;
    introduce(qtRussian);
    QCommandLineParser arguments;
    describe(arguments);
    arguments.parse(QCoreApplication::arguments());
    if (arguments.isSet(QStringLiteral("help")))
        arguments.showHelp(0);
    if (arguments.isSet(QStringLiteral("help-all")))
        arguments.process(console);
    if (arguments.isSet(QStringLiteral("version")))
        arguments.showVersion();
}

// The books after the first each open in a program of their own, as "Open with" on several
// books starts them (Exec=quenvale %f). Returns those that could not be started.
QStringList openInOtherPrograms(const QStringList &books)
{
    QStringList failed;
    for (const QString &book : books)
        if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), {book}))
            failed.append(book);
    return failed;
}

} // namespace

int main(int argc, char **argv)
{
    answerConsoleOptions(argc, argv);
    QApplication app(argc, argv);
    QTranslator qtRussian;
    introduce(qtRussian);
    // The desktop entry this program is started from: its icon and name stand for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quenvale.Quenvale"));
    QApplication::setQuitOnLastWindowClosed(false);
    services::installReal();

    // A book on the command line (the desktop entry's "Open with") opens in place of the last.
    QCommandLineParser arguments;
    describe(arguments);
    arguments.process(app);
    QStringList books = arguments.positionalArguments();
    for (QString &book : books) {
        // A file manager or a browser may hand over a file:// address instead of a path.
        const QUrl address(book);
        book = address.isLocalFile() ? address.toLocalFile() : QFileInfo(book).absoluteFilePath();
    }
    if (!books.isEmpty())
        setStartupBook(books.takeFirst());
    const QStringList unopened = openInOtherPrograms(books);

    MP3().show();
    // A fresh user folder that could not be filled lacks dictionaries and help: say which.
    if (const QStringList problems = programfolder::setupProblems(); !problems.isEmpty())
        services::prompter().critical(QStringLiteral("Не удалось подготовить папку программы:\n") +
                                      problems.join(u'\n'));
    // An upgrade never overwrites what the user changed: it says where the new version lies.
    if (const QStringList fresh = programfolder::newShippedVersions(); !fresh.isEmpty())
        services::prompter().inform(
            QStringLiteral("С новой версией программы пришли новые версии файлов, которые вы изменили. "
                           "Ваши файлы оставлены как есть, новые записаны рядом с ними:\n") +
            fresh.join(u'\n') +
            QStringLiteral("\n\nСловарь или список можно сравнить с новой версией командой "
                           "«Сервис» → «Сравнение двух словарей»."));
    if (!unopened.isEmpty())
        services::prompter().critical(QStringLiteral("Не удалось открыть в отдельной копии программы:\n") +
                                      unopened.join(u'\n'));

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
