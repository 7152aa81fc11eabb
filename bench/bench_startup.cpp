// Start-up to the main window shown, offscreen, with the real services and voice.
//   QT_QPA_PLATFORM=offscreen ./bench_startup [runs]
// Each run is a fresh process (the program starts once per process), so the figure
// includes QApplication, the settings window, the voice engine and the profile load.
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/services/services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int startOnce(int argc, char **argv)
{
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenvale"));
    QApplication::setApplicationName(QStringLiteral("Quenvale"));
    services::installReal();
    MP3().show();
    QCoreApplication::processEvents();
    std::printf("%lld\n", static_cast<long long>(clock.nsecsElapsed() / 1000));
    appwindows::destroyAll();
    services::clear();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("QUENVALE_BENCH_CHILD"))
        return startOnce(argc, argv);

    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    QTemporaryDir home;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUENVALE_BENCH_CHILD"), QStringLiteral("1"));
        env.insert(QStringLiteral("QUENVALE_HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        QElapsedTimer wall;
        wall.start();
        child.start(QString::fromLocal8Bit(argv[0]), {});
        child.waitForFinished(-1);
        const double inside = child.readAllStandardOutput().trimmed().toDouble() / 1000.0;
        std::printf("run %d: %.1f ms to the main window shown (process wall %.1f ms)\n", i + 1, inside,
                    wall.nsecsElapsed() / 1e6);
        ms.push_back(inside);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("start-up: median %.1f ms, best %.1f ms, worst %.1f ms over %d runs (target < 500 ms)\n",
                ms[ms.size() / 2], ms.front(), ms.back(), runs);
    return 0;
}
