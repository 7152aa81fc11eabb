// The recording monitor: remaining time, share done, abort and the user's close.
#include "recording/monitor.h"

#include "app/globals.h"
#include "support/fakemain.h"
#include "settings/setup.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "support/testdata.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QProgressBar>
#include <QTime>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Progress, RemainingTimeInWholeMinutes)
{
    // 100 characters done in 100 s: one character a second, so the rest is the seconds left.
    const struct
    {
        qint64 secondsLeft;
        const char *text;
    } cases[] = {
        {5400, "1 час.30 мин."}, {61, "0 час.01 мин."},  {3570, "1 час.00 мин."}, {3569, "0 час.59 мин."},
        {0, "0 час.00 мин."},    {7500, "2 час.05 мин."}, {89, "0 час.01 мин."},  {90, "0 час.02 мин."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(progress::remainingTime(100, 100 + c.secondsLeft, 100), QString::fromUtf8(c.text))
            << c.secondsLeft;
    // More counted than the file holds: nothing left, never a negative time.
    EXPECT_EQ(progress::remainingTime(150, 100, 10), u"0 час.00 мин."_s);
    EXPECT_FALSE(progress::remainingTime(0, 1000, 100));
    EXPECT_FALSE(progress::remainingTime(100, 1000, 0));
}

TEST(Progress, ElapsedPassesMidnightAndShareFollowsTheLocale)
{
    EXPECT_EQ(progress::elapsedSeconds(23 * 3600 + 50 * 60, 10 * 60), 1200);
    EXPECT_EQ(progress::elapsedSeconds(100, 160.5), 60.5);
    EXPECT_EQ(progress::shareDone(500, 1000, QLocale::c()), u"50.00% выполнено"_s);
    EXPECT_EQ(progress::shareDone(1, 3, QLocale(QLocale::Russian)), u"33,33% выполнено"_s);
    EXPECT_FALSE(progress::shareDone(0, 0, QLocale::c()));
}

class MonitorWindow : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        main = std::make_unique<FakeMain>();
    }
    void TearDown() override
    {
        QuenvaleTest::TearDown();
        main.reset();
        QLocale::setDefault(QLocale::system());
    }

    std::unique_ptr<FakeMain> main;
};

TEST_F(MonitorWindow, AbortAsksOnlyWithConfirmationsOn)
{
    const struct
    {
        bool confirmations;
        Prompter::Answer answer;
        bool stops;
    } cases[] = {
        {false, Prompter::Answer::Yes, true},
        {true, Prompter::Answer::Yes, true},
        {true, Prompter::Answer::No, false},
    };
    for (const auto &c : cases) {
        installScriptedServices();
        StopFlag = false;
        main = std::make_unique<FakeMain>();
        setup().Check1->setChecked(c.confirmations);
        main->setToolbarEnabled(false); // as the main window shown during a recording has it
        scriptedPrompter().answers.enqueue(c.answer);
        monitor().button(1)->trigger();

        EXPECT_EQ(StopFlag, c.stops) << c.confirmations;
        EXPECT_EQ(scriptedPrompter().asked.size(), c.confirmations ? 1 : 0);
        if (c.confirmations) {
            EXPECT_EQ(scriptedPrompter().asked[0].text, u"Прервать запись аудиокниги?"_s);
        }
        EXPECT_EQ(main->isVisible(), c.stops);
        EXPECT_EQ(main->toolbarEnabled, c.stops);
        EXPECT_EQ(main->voiceReleases, c.stops ? 1 : 0);
        EXPECT_FALSE(monitor().isVisible()); // the recording hides it when it has stopped
    }
}

TEST_F(MonitorWindow, ShowingTheMainWindowSwitchesItsToolbarOffAndGoesOn)
{
    monitor().button(4)->trigger();
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->toolbarEnabled);
    EXPECT_FALSE(StopFlag);
    monitor().button(3)->trigger();
    EXPECT_TRUE(setup().isVisible());
    monitor().button(2)->trigger();
    monitor().button(5)->trigger();
    EXPECT_TRUE(monitor().shutdownAfterRecording() && monitor().showEncoderWindow());
}

TEST_F(MonitorWindow, UserCloseEndsTheProgramUnlessAnsweredNo)
{
    setup().Check1->setChecked(true);
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    monitor().closeClicked();
    EXPECT_EQ(scriptedPrompter().asked.value(0).text, u"Прервать запись и выйти из программы?"_s);
    EXPECT_EQ(main->ends, 0);
    EXPECT_FALSE(StopFlag);

    setup().Check1->setChecked(false);
    monitor().closeClicked();
    EXPECT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_EQ(main->ends, 1);
    EXPECT_EQ(main->voiceReleases, 1);
}

TEST_F(MonitorWindow, TotalProgressBarShowsShareAndRemainingTime)
{
    QLocale::setDefault(QLocale::c());
    Monitor &m = monitor();
    m.setStatusPanel(2, u"estimate"_s);

    CurTextPath = testdata::path(u"hameleon.txt"_s) + u".missing"_s;
    TotalProgressBar();
    EXPECT_EQ(m.windowTitle(), u"Quenvale - Save-to-file"_s);

    CurTextPath = testdata::path(u"hameleon.txt"_s);
    const qint64 size = QFileInfo(CurTextPath).size();
    CharsDone = 0; // nothing counted yet: the estimate stays
    StartTime = QTime::currentTime().msecsSinceStartOfDay() / 1000.0 - 60;
    TotalProgressBar();
    EXPECT_EQ(m.windowTitle(), u"0.00% выполнено"_s);
    EXPECT_EQ(m.statusPanel(2), u"estimate"_s);

    CharsDone = std::int32_t(size / 2);
    TotalProgressBar();
    EXPECT_EQ(m.ProgressBar1->maximum(), size);
    EXPECT_EQ(m.ProgressBar1->value(), size / 2);
    EXPECT_EQ(m.windowTitle(), progress::shareDone(size / 2, size, QLocale::c()));
    // Half done in a minute: about a minute left.
    EXPECT_TRUE(m.statusPanel(2) == u"0 час.01 мин."_s || m.statusPanel(2) == u"0 час.00 мин."_s)
        << qPrintable(m.statusPanel(2));
}
