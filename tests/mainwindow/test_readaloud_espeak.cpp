// Reading aloud through the real eSpeak NG voice, at real-time pace without a sound card.
#include "mainwindowtest.h"
#include "platform/speech/espeakvoice.h"

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

    // Two short paragraphs sound for about two seconds; the reading waits for them.
    w.RichTextBox2->setText(u"Раз, два.\r\n Три, четыре."_s);
    clock.start();
    w.ReadAloud();
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
    ASSERT_GE(stoppedAt, 0) << "the reading ended before the stop";
    EXPECT_LT(clock.elapsed() - stoppedAt, 100);
    EXPECT_LT(w.ReadEnd, w.RichTextBox2->Text().size() / 2);
    int polls = 1;
    while (!setup().Voice->WaitUntilDone(10) && polls < 500)
        ++polls;
    EXPECT_LE(polls, 5);
}
