// Reading aloud through the real eSpeak NG voice, at real-time pace without a sound card.
#include "mainwindowtest.h"
#include "platform/speech/espeakvoice.h"

#include <QDialog>
#include <QElapsedTimer>

using namespace Qt::StringLiterals;

class ReadAloudEspeak : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        installScriptedServices(
            std::make_unique<speech::EspeakVoiceFactory>(speech::EspeakVoiceFactory::Options{{}, true}));
    }
};

TEST_F(ReadAloudEspeak, ReadsToTheEndAndAStopSilencesWithinAFewPolls)
{
    MainWindow &w = MP3();
    ASSERT_TRUE(setup().Voice) << "no eSpeak NG voice";
    QElapsedTimer clock;

    // Two short paragraphs sound for about two seconds. A modal dialog opened meanwhile holds
    // nothing: the caret moves on and the reading ends while it is open.
    w.RichTextBox2->setText(u"Раз, два.\r\n Три, четыре."_s);
    QList<int> readEnds; // as the open dialog saw them
    bool endedWhileOpen = false;
    QTimer::singleShot(0, &w, [&] {
        QDialog dialog(&w);
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (readEnds.value(readEnds.size() - 1, -1) != w.ReadEnd)
                readEnds << w.ReadEnd;
            endedWhileOpen = !w.IsReading;
            if (endedWhileOpen || clock.elapsed() > 10000)
                dialog.reject();
        });
        watch.start(5);
        dialog.exec();
    });
    clock.start();
    w.ReadAloud();
    waitForJobs();
    EXPECT_TRUE(endedWhileOpen && readEnds.size() >= 2) << readEnds.size();
    EXPECT_GT(clock.elapsed(), 1000);
    EXPECT_EQ(w.ReadEnd, w.RichTextBox2->Text().size() + 1);
    EXPECT_FALSE(w.IsReading || w.RichTextBox2->Locked());
    EXPECT_TRUE(setup().Voice->WaitUntilDone(0));

    // A story opened as the user opens it (pre-formatted), stopped early on.
    scriptedFileChooser().names.enqueue(testdata::path(u"hameleon.txt"_s));
    w.OpenTextFile();
    qint64 stoppedAt = -1;
    QTimer::singleShot(800, &w, [&] {
        w.StopReading();
        stoppedAt = clock.elapsed();
    });
    clock.start();
    w.ReadAloud();
    waitForJobs();
    ASSERT_GE(stoppedAt, 0) << "the reading ended before the stop";
    EXPECT_LT(clock.elapsed() - stoppedAt, 100);
    EXPECT_LT(w.ReadEnd, w.RichTextBox2->Text().size() / 2);
    int polls = 1;
    while (!setup().Voice->WaitUntilDone(10) && polls < 500)
        ++polls;
    EXPECT_LE(polls, 5);
}
