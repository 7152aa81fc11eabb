// Records one book from the command line as the main window's record command does, with the
// real eSpeak NG voice and the real encoders and no dialog on screen: messages are answered OK and
// go to stderr at the end. The end-to-end tests and the recording benchmarks run it as a process.
//
//   quenvale_record_book BOOK WORKING_FOLDER [--format wav|mp3|ogg|amr|wma] [--minutes N] [--start S]
//                        [--step D] [--stop-at-block N] [--purge-in-block N] [--refuse-in-block N]
//                        [--dialog-in-block N] [--text-copies]
//   quenvale_record_book --batch WORKING_FOLDER [options as above]
//
// With --batch every book of the working folder is recorded, as the batch command does.
// The exit code is 1 when the run was stopped (--stop-at-block), else 0; failures are messages.
//
// QUENVALE_HOME and XDG_CONFIG_HOME should point at folders of the caller's.
#include "app/busy.h"
#include "app/globals.h"
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/services/services.h"
#include "platform/speech/espeakvoice.h"
#include "platform/text/docnames.h"
#include "recording/encoders.h"
#include "recording/monitor.h"
#include "settings/setup.h"
#include "support/jobs.h"
#include "support/scripted.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QDialog>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Puts every message on screen as the program does, and notes it for the summary.
class OnScreenPrompter : public ScriptedPrompter
{
public:
    Answer ask(const QString &text, Icon icon, Buttons buttons) override
    {
        ScriptedPrompter::ask(text, icon, buttons);
        return m_real.ask(text, icon, buttons);
    }
    void notice(const QString &text, Icon icon) override
    {
        ScriptedPrompter::notice(text, icon);
        m_real.notice(text, icon);
    }

private:
    QtPrompter m_real;
};

int visibleMessageBoxes()
{
    int boxes = 0;
    for (const QWidget *w : QApplication::topLevelWidgets())
        boxes += qobject_cast<const QMessageBox *>(w) && w->isVisible();
    return boxes;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(u"Quenvale"_s);
    QApplication::setApplicationName(u"Quenvale"_s);

    QCommandLineParser parser;
    parser.addPositionalArgument(u"book"_s, u"the book text file"_s);
    parser.addPositionalArgument(u"folder"_s, u"the working folder"_s);
    parser.addOptions(
        {{u"format"_s, u"wav, mp3, ogg, amr or wma"_s, u"f"_s, u"mp3"_s},
         {u"minutes"_s, u"block length"_s, u"n"_s, u"10"_s},
         {u"start"_s, u"this copy's number"_s, u"s"_s, u"1"_s},
         {u"step"_s, u"copies"_s, u"d"_s, u"1"_s},
         {u"stop-at-block"_s, u"abort in block N"_s, u"n"_s, u"0"_s},
         {u"purge-in-block"_s, u"another voice purges the engine in block N"_s, u"n"_s, u"0"_s},
         {u"text-copies"_s, u"keep each block's text beside its audio"_s},
         {u"batch"_s, u"record every book of the working folder"_s},
         {u"refuse-in-block"_s, u"the settings' stop pressed in blocks N and N + 1, on screen"_s, u"n"_s,
          u"0"_s},
         {u"dialog-in-block"_s, u"a modal dialog opened in block N and left open"_s, u"n"_s, u"0"_s}});
    parser.process(app);
    const bool batch = parser.isSet(u"batch"_s);
    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != (batch ? 1 : 2))
        parser.showHelp(2);

    const int refuseBlock = parser.value(u"refuse-in-block"_s).toInt();
    installScriptedServices(
        std::make_unique<speech::EspeakVoiceFactory>(speech::EspeakVoiceFactory::Options{{}, true}),
        refuseBlock > 0 ? std::make_unique<OnScreenPrompter>() : std::make_unique<ScriptedPrompter>());

    MainWindow &main = MP3();
    main.endProcess = [] {};
    Setup &settings = setup();
    settings.Check1->setChecked(false);
    settings.Text28->setText(arguments.last());
    // The format page's tabs: WAV, MP3, OGG, AMR, VMO, WMA.
    const QStringList tabs = u"wav mp3 ogg amr vmo wma"_s.split(u' ');
    settings.SSTab1->setCurrentIndex(std::max(0, int(tabs.indexOf(parser.value(u"format"_s)))));
    settings.FlatScrollBar1->setValue(parser.value(u"minutes"_s).toInt());
    settings.Text24->setText(parser.value(u"start"_s));
    settings.Text21->setText(parser.value(u"step"_s));
    settings.Check4->setChecked(parser.isSet(u"text-copies"_s));
    if (!batch) {
        CurTextPath = arguments.first();
        BookTitle = docnames::bookTitleFromPath(CurTextPath);
    }

    // The user's abort, pressed while the given block is being made.
    const int stopBlock = parser.value(u"stop-at-block"_s).toInt();
    QTimer abort;
    if (stopBlock > 0) {
        QObject::connect(&abort, &QTimer::timeout, [stopBlock] {
            if (BlockNo >= stopBlock && !StopFlag)
                monitor().abortClicked();
        });
        abort.start(5);
    }

    // Another window's voice silencing the engine once block N's WAV holds some speech.
    const int purgeBlock = parser.value(u"purge-in-block"_s).toInt();
    QTimer purge;
    if (purgeBlock > 0) {
        QObject::connect(&purge, &QTimer::timeout, [purgeBlock, &purge] {
            // Speech goes to the block's temporary name until the block is whole.
            const QString wav = encoders::temporaryName(
                u"%1/%2/%3.wav"_s.arg(setup().Text28->text(), BookTitle).arg(purgeBlock, 4, 10, QChar(u'0')));
            if (BlockNo == purgeBlock && QFileInfo(wav).size() > 100000) {
                services::voices().create()->Speak(QString(), speech::PurgeBeforeSpeak);
                purge.stop();
            }
        });
        purge.start(5);
    }

    // The user presses the settings window's stop in block N and again in the next one, and
    // leaves the refusal on screen. A modal box nobody closes would hold the recording for
    // good: it is closed after a while, and the time it held is told.
    int refusals = 0, refusedIn = 0;
    qint64 modalMs = 0;
    QElapsedTimer modalClock;
    QTimer refuse, rescue; // two: a timer does not fire again inside its own handler
    if (refuseBlock > 0) {
        QObject::connect(&refuse, &QTimer::timeout, [&] {
            if (refusals < 2 && BlockNo >= refuseBlock + refusals && !QApplication::activeModalWidget()) {
                refusedIn = refusedIn ? refusedIn : BlockNo;
                ++refusals;
                setup().show();
                setup().Command55->click();
            }
        });
        QObject::connect(&rescue, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (!modalClock.isValid())
                modalClock.start();
            if (modalClock.elapsed() >= 5000) {
                modalMs += modalClock.elapsed();
                modalClock.invalidate();
                qobject_cast<QDialog *>(modal)->reject();
            }
        });
        refuse.start(5);
        rescue.start(5);
    }

    // A modal dialog (as the about box or a file dialog) opened in block N and left open until
    // two more blocks are made, the recording ends or 30 s pass: the blocks made and the books
    // begun while it was open are told.
    const int dialogBlock = parser.value(u"dialog-in-block"_s).toInt();
    int blocksWhileOpen = 0, booksWhileOpen = 0;
    qint64 openMs = 0;
    QTimer openDialog;
    if (dialogBlock > 0) {
        const auto madeBlocks = [folder = arguments.last()] {
            int made = 0;
            QDirIterator it(folder, {u"*.mp3"_s}, QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                made += it.nextFileInfo().isFile();
            return made;
        };
        QObject::connect(&openDialog, &QTimer::timeout, [&, madeBlocks] {
            if (BlockNo < dialogBlock)
                return;
            openDialog.stop();
            QDialog dialog;
            QTimer watch;
            QElapsedTimer clock;
            clock.start();
            const int before = madeBlocks();
            QString title = BookTitle;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                blocksWhileOpen = madeBlocks() - before;
                booksWhileOpen += std::exchange(title, BookTitle) != BookTitle;
                if (blocksWhileOpen >= 2 || clock.elapsed() > 30000 || !busy::runs(busy::Job::Recording))
                    dialog.reject();
            });
            watch.start(5);
            dialog.exec();
            openMs = clock.elapsed();
        });
        openDialog.start(5);
    }

    if (batch)
        main.MakePaket();
    else
        main.MakeBook();
    waitForJobs(-1);
    if (refuseBlock > 0)
        std::printf("refusal boxes_open %d modal_ms %lld blocks_after %d\n", visibleMessageBoxes(),
                    static_cast<long long>(modalMs), int(BlockNo) - refusedIn);
    if (dialogBlock > 0)
        std::printf("dialog blocks_while_open %d books_while_open %d open_ms %lld\n", blocksWhileOpen,
                    booksWhileOpen, static_cast<long long>(openMs));
    // The peak memory of this process, for the recording benchmark.
    rusage usage{};
    const long peakKb = getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : 0; // in kB on Linux
    // The run's messages, each answered OK (or Yes to a question).
    for (const auto &message : scriptedPrompter().asked)
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
    std::printf("blocks %d stopped %d peak_kb %ld\n", int(BlockNo), int(StopFlag), peakKb);
    appwindows::destroyAll();
    services::clear();
    return StopFlag ? 1 : 0;
}
