#include "estimate.h"
#include "fakevoice.h"
#include "globals.h"
#include "mainwindow.h"
#include "monitor.h"
#include "scripted.h"
#include "setup.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenvale"),
                     QStringLiteral("Quenvale"));
}

QString panel(int i)
{
    return MP3().statusPanels[i - 1]->text();
}

class StatusBar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installScriptedServices();
        QSettings s = store();
        s.clear();
        s.sync();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override
    {
        destroyWindows();
        QLocale::setDefault(QLocale::system());
    }

    // A book file of `bytes` bytes made the current text.
    void book(qint64 bytes)
    {
        CurTextPath = dir.filePath(QStringLiteral("книга.txt"));
        QFile f(CurTextPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(bytes));
    }

    QTemporaryDir dir;
};

} // namespace

TEST(Estimate, CharsPerMinuteTableCoversTheRatesFromMinusTenToTen)
{
    const int expected[] = {180, 233, 300,  360,  400,  420,  460,  520,  580,  640, 720,
                            800, 900, 1100, 1200, 1280, 1400, 1600, 1800, 2100, 2500};
    for (int rate = -10; rate <= 10; ++rate)
        EXPECT_EQ(estimate::charsPerMinute(rate), expected[rate + 10]) << rate;
    EXPECT_FALSE(estimate::charsPerMinute(-11));
    EXPECT_FALSE(estimate::charsPerMinute(11));
}

TEST(Estimate, DurationShowsHoursFromOneHourOnAndRoundedMinutesBelow)
{
    EXPECT_EQ(estimate::durationText(10.52), "10 час.31 мин.");
    EXPECT_EQ(estimate::durationText(2.08), "2 час.4 мин.");
    EXPECT_EQ(estimate::durationText(1.0), "1 час.0 мин.");
    EXPECT_EQ(estimate::durationText(1 + 59.9 / 60), "1 час.59 мин.");
    EXPECT_EQ(estimate::durationText(0.25), "15 мин.");
    EXPECT_EQ(estimate::durationText(0.05), "03 мин.");
    EXPECT_EQ(estimate::durationText(59.7 / 60), "60 мин.");
    EXPECT_EQ(estimate::durationText(0), "00 мин.");
}

TEST(Estimate, SizeHasOneDecimalInTheLocalesWayWithoutGrouping)
{
    EXPECT_EQ(estimate::sizeText(50 * 1024, QLocale::c()), "50.0 kb");
    EXPECT_EQ(estimate::sizeText(1000000, QLocale::c()), "976.6 kb");
    EXPECT_EQ(estimate::sizeText(0, QLocale::c()), "0.0 kb");
    EXPECT_EQ(estimate::sizeText(2000000000, QLocale::c()), "1953125.0 kb");
    EXPECT_EQ(estimate::sizeText(1000000, QLocale(QLocale::Russian, QLocale::Russia)), "976,6 kb");
    EXPECT_EQ(estimate::sizeText(2000000000, QLocale(QLocale::Russian, QLocale::Russia)), "1953125,0 kb");
}

TEST(Estimate, PlayingTimeDividesBySixtySix)
{
    EXPECT_NEAR(estimate::playHours(1000000, 720), 21.0437710, 1e-6);
    EXPECT_DOUBLE_EQ(estimate::playHours(11880, 180), 1.0);
}

TEST_F(StatusBar, PanelsCarryTheirToolTipsAndTheSettingsAtStart)
{
    MainWindow &w = MP3();
    ASSERT_EQ(w.statusPanels.size(), 12);
    const QStringList tips = {"размер файла",
                              "время звучания",
                              "рабочий каталог",
                              "голос",
                              "Скорость простого повествования",
                              "Скорость диалогов",
                              "Скорость комментариев",
                              "Тембр повествования",
                              "Тембр диалогов",
                              "Тембр комментариев",
                              "Формат записи",
                              "Длительность фрагмента (мин.)"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(w.statusPanels[i]->toolTip(), tips[i]) << i + 1;

    // Nothing stored: the first-start text is missing, the settings are the form's.
    EXPECT_EQ(panel(1), "0.0 kb");
    EXPECT_EQ(panel(2), "00 мин.");
    EXPECT_EQ(panel(3), "");
    EXPECT_EQ(panel(4), "Nicolai (eSpeak NG, русский, мужской)");
    const QStringList values = {"2", "3", "1", "0", "5", "-5", "MP3", "10"};
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(panel(5 + i), values[i]) << 5 + i;
    EXPECT_EQ(CharsPerMin, 900);
    EXPECT_EQ(monitor().statusPanel(3), "0.0 kb");
    EXPECT_EQ(monitor().statusPanel(4), "00 мин.");
    EXPECT_EQ(monitor().statusPanel(2), "00 мин.");
}

TEST_F(StatusBar, EstimateOfAMillionBytesAtRateZero)
{
    MainWindow &w = MP3();
    book(1000000);
    setup().FlatScrollBar3->setValue(0); // the rate handler recomputes the estimate
    EXPECT_EQ(CharsPerMin, 720);
    EXPECT_NEAR(PlayHours, 21.04377, 1e-5);
    EXPECT_EQ(panel(1), "976.6 kb");
    EXPECT_EQ(panel(2), "21 час.2 мин.");
    EXPECT_EQ(panel(5), "0");
    EXPECT_EQ(monitor().statusPanel(3), "976.6 kb");
    EXPECT_EQ(monitor().statusPanel(4), "21 час.2 мин.");
    EXPECT_EQ(monitor().statusPanel(2), "6 час.34 мин.");
    EXPECT_FALSE(monitor().isVisible());

    // The dialogue rate recomputes the same figures.
    setup().FlatScrollBar4->setValue(-4);
    EXPECT_EQ(panel(2), "21 час.2 мин.");

    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    w.Dlitelnost();
    EXPECT_EQ(panel(1), "976,6 kb");
}

TEST_F(StatusBar, EstimateAroundOneHourAndForAMissingFile)
{
    MainWindow &w = MP3();
    setup().FlatScrollBar3->setValue(-10);
    book(11880);
    w.Dlitelnost();
    EXPECT_EQ(panel(2), "1 час.0 мин.");
    book(11879);
    w.Dlitelnost();
    EXPECT_EQ(panel(2), "60 мин.");
    EXPECT_EQ(panel(1), "11.6 kb");

    CurTextPath = dir.filePath(QStringLiteral("нет.txt"));
    w.Dlitelnost();
    EXPECT_EQ(panel(1), "0.0 kb");
    EXPECT_EQ(panel(2), "00 мин.");
    EXPECT_EQ(monitor().statusPanel(2), "00 мин.");
    CurTextPath.clear();
    w.Dlitelnost();
    EXPECT_EQ(panel(1), "0.0 kb");
}

TEST_F(StatusBar, EstimateIsSkippedWhileNoRateIsKnown)
{
    MainWindow &w = MP3();
    book(1000000);
    w.setStatusPanel(2, QStringLiteral("прежнее"));
    setup().FlatScrollBar3->blockSignals(true);
    setup().FlatScrollBar3->setMaximum(20);
    setup().FlatScrollBar3->setValue(15); // outside the table: CharsPerMin stays
    CharsPerMin = 0;
    PlayHours = 7;
    w.Dlitelnost();
    EXPECT_EQ(panel(1), "976.6 kb");
    EXPECT_EQ(panel(2), "прежнее");
    EXPECT_EQ(PlayHours, 7);
    EXPECT_EQ(CharsPerMin, 0);
}

TEST_F(StatusBar, SetStatusBarFollowsTheSettingsAndKeepsTheNameForWma)
{
    MainWindow &w = MP3();
    ::Setup &s = setup();
    s.Text28->setText(QStringLiteral("/home/книги"));
    s.SSTab1->setCurrentIndex(3);
    s.lstSapi5->setCurrentRow(1);
    w.SetStatusBar();
    EXPECT_EQ(panel(3), "/home/книги");
    EXPECT_EQ(panel(4), "Katerina (eSpeak NG, русский, женский)");
    EXPECT_EQ(panel(11), "AMR");
    s.SSTab1->setCurrentIndex(5);
    w.SetStatusBar();
    EXPECT_EQ(panel(11), "AMR");
}

TEST_F(StatusBar, StoredProfileReachesThePanelsAtStart)
{
    QSettings st = store();
    st.setValue("setupUser1/FlatScrollBar7", "-2");
    st.setValue("setupUser1/FlatScrollBar1", "25");
    st.setValue("setupUser1/Text28", "/srv/аудио");
    st.setValue("setupUser1/Text11", "0");
    st.sync();
    MP3();
    EXPECT_EQ(panel(9), "-2");
    EXPECT_EQ(panel(12), "25");
    EXPECT_EQ(panel(3), "/srv/аудио");
    EXPECT_EQ(panel(11), "WAV");
}

TEST_F(StatusBar, ClickOnAPanelShowsTheSettingsWindow)
{
    MainWindow &w = MP3();
    w.show();
    EXPECT_FALSE(setup().isVisible());
    QTest::mouseClick(w.statusPanels[6], Qt::LeftButton);
    EXPECT_TRUE(setup().isVisible());
    setup().close();
    EXPECT_FALSE(setup().isVisible());
    QTest::mouseClick(w.statusPanels[0], Qt::LeftButton);
    EXPECT_TRUE(setup().isVisible());
}

TEST_F(StatusBar, TestPhraseAfterStartUpIsSpokenWithFlagsEleven)
{
    MP3();
    setup().Command22->click();
    ASSERT_EQ(fakeVoices().log.spoken.size(), 1);
    EXPECT_EQ(fakeVoices().log.spoken[0].flags, 11);
    EXPECT_TRUE(fakeVoices().log.spoken[0].text.startsWith(TembrStart + TembrNarration + " После того"));
    EXPECT_TRUE(fakeVoices().log.spoken[0].text.endsWith("добиться нельзя!"));
}
