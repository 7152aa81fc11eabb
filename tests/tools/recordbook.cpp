// Records one book from the command line as the main window's record command does, with the
// real eSpeak NG voice and the real encoders and no dialog on screen: messages go to stderr and
// are answered OK. The end-to-end tests and the recording benchmarks run it as a process.
//
//   quenvale_record_book BOOK WORKING_FOLDER [--format wav|mp3|ogg|amr|wma] [--minutes N] [--start S]
//                        [--step D] [--stop-at-block N] [--purge-in-block N]
//
// QUENVALE_HOME and XDG_CONFIG_HOME should point at folders of the caller's.
#include "app/globals.h"
#include "recording/encoders.h"
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/speech/espeakvoice.h"
#include "platform/text/docnames.h"
#include "recording/monitor.h"
#include "settings/setup.h"
#include "support/scripted.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

class StderrPrompter : public Prompter
{
public:
    Answer ask(const QString &text, Icon, Buttons buttons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quenvale"));
    QApplication::setApplicationName(QStringLiteral("Quenvale"));

    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("book"), QStringLiteral("the book text file"));
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("the working folder"));
    const QCommandLineOption format(QStringLiteral("format"), QStringLiteral("wav, mp3, ogg, amr or wma"),
                                    QStringLiteral("f"), QStringLiteral("mp3"));
    const QCommandLineOption minutes(QStringLiteral("minutes"), QStringLiteral("block length"),
                                     QStringLiteral("n"), QStringLiteral("10"));
    const QCommandLineOption start(QStringLiteral("start"), QStringLiteral("this copy's number"),
                                   QStringLiteral("s"), QStringLiteral("1"));
    const QCommandLineOption step(QStringLiteral("step"), QStringLiteral("copies"), QStringLiteral("d"),
                                  QStringLiteral("1"));
    const QCommandLineOption stopAt(QStringLiteral("stop-at-block"), QStringLiteral("abort in block N"),
                                    QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption purgeIn(QStringLiteral("purge-in-block"),
                                     QStringLiteral("another voice purges the engine in block N"),
                                     QStringLiteral("n"), QStringLiteral("0"));
    parser.addOptions({format, minutes, start, step, stopAt, purgeIn});
    parser.process(app);
    if (parser.positionalArguments().size() != 2)
        parser.showHelp(2);

    Services s;
    s.prompter = std::make_unique<StderrPrompter>();
    s.fileChooser = std::make_unique<ScriptedFileChooser>();
    s.shutdown = std::make_unique<ScriptedShutdown>();
    s.soundPlayer = std::make_unique<ScriptedSoundPlayer>();
    s.voices = std::make_unique<speech::EspeakVoiceFactory>(speech::EspeakVoiceFactory::Options{{}, true});
    services::install(std::move(s));

    MainWindow &main = MP3();
    main.endProcess = [] {};
    Setup &settings = setup();
    settings.Check1->setChecked(false);
    settings.Text28->setText(parser.positionalArguments().at(1));
    // The format page's tabs: WAV, MP3, OGG, AMR, VMO, WMA.
    const QStringList tabs = {QStringLiteral("wav"), QStringLiteral("mp3"), QStringLiteral("ogg"),
                              QStringLiteral("amr"), QStringLiteral("vmo"), QStringLiteral("wma")};
    settings.SSTab1->setCurrentIndex(std::max(0, int(tabs.indexOf(parser.value(format)))));
    settings.FlatScrollBar1->setValue(parser.value(minutes).toInt());
    settings.Text24->setText(parser.value(start));
    settings.Text21->setText(parser.value(step));
    CurTextPath = parser.positionalArguments().at(0);
    BookTitle = docnames::bookTitleFromPath(CurTextPath);

    // The user's abort, pressed while the given block is being made.
    const int stopBlock = parser.value(stopAt).toInt();
    QTimer abort;
    if (stopBlock > 0) {
        QObject::connect(&abort, &QTimer::timeout, [stopBlock] {
            if (BlockNo >= stopBlock && !StopFlag)
                monitor().abortClicked();
        });
        abort.start(5);
    }

    // Another window's voice silencing the engine once block N's WAV holds some speech.
    const int purgeBlock = parser.value(purgeIn).toInt();
    QTimer purge;
    if (purgeBlock > 0) {
        QObject::connect(&purge, &QTimer::timeout, [purgeBlock, &purge] {
            // Speech goes to the block's temporary name until the block is whole.
            const QString wav = encoders::temporaryName(QStringLiteral("%1/%2/%3.wav")
                                                            .arg(setup().Text28->text(), BookTitle)
                                                            .arg(purgeBlock, 4, 10, QLatin1Char('0')));
            if (BlockNo == purgeBlock && QFileInfo(wav).size() > 100000) {
                services::voices().create()->Speak(QString(), speech::PurgeBeforeSpeak);
                purge.stop();
            }
        });
        purge.start(5);
    }

    main.MakeBook();
    // The peak memory of this process, for the recording benchmark.
    QFile status(QStringLiteral("/proc/self/status"));
    long peakKb = 0;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                peakKb = line.mid(6).trimmed().split(' ').value(0).toLong();
    std::printf("blocks %d stopped %d peak_kb %ld\n", int(BlockNo), int(StopFlag), peakKb);
    appwindows::destroyAll();
    services::clear();
    return StopFlag ? 1 : 0;
}
