// The recording monitor: remaining time, share done, abort and the user's close.
#include "recording/monitor.h"

#include "app/globals.h"
#include "platform/text/textfile.h"
#include "settings/setup.h"
#include "support/fakemain.h"
#include "support/fixture.h"
#include "support/scripted.h"
#include "support/testdata.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTime>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Progress, RemainingTimeElapsedAndShare)
{
    // 100 characters in 100 s: one a second, so the characters left are the seconds left.
    for (const auto &[left, text] : {std::pair{5400, "1 час.30 мин."},
                                     {61, "0 час.01 мин."},
                                     {3570, "1 час.00 мин."},
                                     {3569, "0 час.59 мин."},
                                     {7500, "2 час.05 мин."},
                                     {-50, "0 час.00 мин."}})
        EXPECT_EQ(progress::remainingTime(100, 100 + left, 100), QString::fromUtf8(text)) << left;
    EXPECT_FALSE(progress::remainingTime(0, 1000, 100) || progress::remainingTime(100, 1000, 0));
    EXPECT_EQ(progress::elapsedSeconds(23 * 3600 + 50 * 60, 10 * 60), 1200);
    EXPECT_EQ(progress::shareDone(1, 3, QLocale(QLocale::Russian)), u"33,33% выполнено"_s);
    EXPECT_FALSE(progress::shareDone(0, 0, QLocale::c()));
}

using MonitorWindow = FakeMainTest;

TEST_F(MonitorWindow, AbortAsksOnlyWithConfirmationsOn)
{
    for (const auto &[confirmations, answer] : {std::pair{false, Prompter::Answer::No},
                                                {true, Prompter::Answer::Yes},
                                                {true, Prompter::Answer::No}}) {
        const bool stops = answer == Prompter::Answer::Yes || !confirmations;
        installScriptedServices();
        StopFlag = false;
        main = std::make_unique<FakeMain>();
        main->setToolbarEnabled(false); // as button 4 left it
        setup().Check1->setChecked(confirmations);
        scriptedPrompter().answers.enqueue(answer);
        monitor().button(1)->trigger();

        EXPECT_EQ(scriptedPrompter().asked.size(), confirmations ? 1 : 0);
        EXPECT_EQ(std::tuple(StopFlag, main->isVisible(), main->toolbarEnabled, main->voiceStops),
                  std::tuple(stops, stops, stops, stops ? 1 : 0))
            << confirmations;
    }
    EXPECT_EQ(scriptedPrompter().asked[0].text, u"Прервать запись аудиокниги?"_s);
}

TEST_F(MonitorWindow, MainWindowButtonAndCloseDuringARecording)
{
    // The status panels' tooltips, bar by bar.
    QStringList tips;
    for (const QStatusBar *bar : {monitor().StatusBar1, monitor().StatusBar2, monitor().StatusBar3})
        for (const QLabel *panel : bar->findChildren<QLabel *>())
            tips << panel->toolTip();
    EXPECT_EQ(tips.join(u'|').toStdString(),
              "Номер записываемого блока|Осталось времени до окончания записи|"
              "Размер текстового файла|Примерное время звучания|Название файла|");
    // Only the shut-down and encoder-window buttons stay down.
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(monitor().button(n)->isCheckable(), n == 2 || n == 5) << n;
    monitor().button(4)->trigger();
    EXPECT_TRUE(main->isVisible() && !main->toolbarEnabled && !StopFlag);

    setup().Check1->setChecked(true);
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    monitor().closeClicked();
    EXPECT_EQ(scriptedPrompter().asked.value(0).text, u"Прервать запись и выйти из программы?"_s);
    EXPECT_EQ(main->ends, 0);
    setup().Check1->setChecked(false);
    monitor().closeClicked();
    EXPECT_EQ(std::pair(main->ends, main->voiceStops), std::pair(1, 1));
}

TEST_F(MonitorWindow, TotalProgressBarShowsShareAndRemainingTime)
{
    QLocale::setDefault(QLocale::c());
    Monitor &m = monitor();
    m.setStatusPanel(2, u"estimate"_s);
    CurTextPath = testdata::path(u"hameleon.txt"_s);
    const qint64 size = QFileInfo(CurTextPath).size();
    StartTime = QTime::currentTime().msecsSinceStartOfDay() / 1000.0 - 600;
    TotalProgressBar(); // nothing done yet: the estimate stays
    EXPECT_EQ(std::tuple(m.windowTitle(), m.statusPanel(2), m.ProgressBar1->value()),
              std::tuple(u"0.00% выполнено"_s, u"estimate"_s, 0));

    // A UTF-8 copy holds more bytes than characters; half its characters are still half.
    const QString utf8 = home() + u"/utf8.txt"_s;
    ASSERT_TRUE(textfile::writeBytes(utf8, textfile::readText(CurTextPath)->toUtf8()));
    for (const QString &book : {CurTextPath, utf8}) {
        CurTextPath = book;
        CharsDone = std::int32_t(size / 2);
        TotalProgressBar();
        EXPECT_EQ(m.windowTitle(), u"49.99% выполнено"_s) << book.toStdString();
        EXPECT_EQ(m.statusPanel(2), u"0 час.10 мин."_s) << book.toStdString(); // half in ten minutes
    }
    QLocale::setDefault(QLocale::system());
}

TEST(Progress, BlocksDoneCountsTheBlocksToCome)
{
    // The last block is the only one below the limit; a sentence may carry a block past it.
    for (const auto &[block, done, total, text] : {std::tuple{12, 3000, 10000, "Блок 12 из 40, 30 %"},
                                                   {1, 0, 10001, "Блок 1 из 41, 0 %"},
                                                   {45, 9999, 10000, "Блок 45 из 45, 99 %"},
                                                   {46, 10100, 10000, "Блок 46 из 46, 100 %"}})
        EXPECT_EQ(progress::blocksDone(block, 250, done, total), QString::fromUtf8(text)) << block;
}
