#include "fakevoice.h"
#include "globals.h"
#include "mainwindowport.h"
#include "scripted.h"
#include "setup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

// Stands in for the main window: records what the settings window writes into it.
class FakeMain : public QWidget, public MainWindowPort
{
public:
    FakeMain()
    {
        setObjectName(QStringLiteral("MP3"));
        mainwindowport::set(this);
    }
    ~FakeMain() override
    {
        if (mainwindowport::get() == this)
            mainwindowport::set(nullptr);
    }

    QWidget &window() override { return *this; }
    void SetStatusBar() override { ++statusBarFills; }
    void Dlitelnost() override { ++estimates; }
    void setStatusPanel(int panel, const QString &text) override { panels[panel] = text; }
    bool applyTextView() override { return true; }
    void showHelp(const QString &page) override { help.append(page); }

    QMap<int, QString> panels;
    QStringList help;
    int statusBarFills = 0;
    int estimates = 0;
};

QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenvale"),
                     QStringLiteral("Quenvale"));
}

const QString kClose = QStringLiteral(" </pitch> </rate> </volume>");

QString open(int volume, int rate, int pitch)
{
    return QStringLiteral(R"( <volume level="%1"> <rate absspeed="%2"> <pitch absmiddle="%3">)")
        .arg(volume)
        .arg(rate)
        .arg(pitch);
}

class SetupWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installScriptedServices();
        QSettings s = store();
        s.clear();
        s.sync();
        SpeakFlags = 11; // as the main window's start-up sets it
        TembrStart.clear();
    }
    void TearDown() override
    {
        destroySetup();
        main.reset();
    }

    // Starts the settings window as the main window's start-up does.
    ::Setup &load()
    {
        main = std::make_unique<FakeMain>();
        return setup();
    }

    std::unique_ptr<FakeMain> main;
};

} // namespace

TEST_F(SetupWindow, FreshStoreShowsTheFormValues)
{
    ::Setup &w = load();
    EXPECT_EQ(w.windowTitle(), "Quenvale настройки");
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    EXPECT_EQ(WinDrive, "/");

    ASSERT_EQ(w.SSTab2->count(), 3);
    EXPECT_EQ(w.SSTab2->tabText(0), "голос");
    EXPECT_EQ(w.SSTab2->tabText(1), "запись");
    EXPECT_EQ(w.SSTab2->tabText(2), "опции");
    EXPECT_EQ(w.SSTab2->currentIndex(), 0);
    EXPECT_EQ(w.profil->text(), "User1");

    ASSERT_EQ(w.lstSapi5->count(), 2);
    EXPECT_EQ(w.lstSapi5->currentRow(), 0);
    EXPECT_EQ(w.Voice->CurrentVoice().id, "ru");

    struct Bar
    {
        QScrollBar *bar;
        int min, max, value;
        QLineEdit *text;
    };
    for (const Bar &b :
         {Bar{w.FlatScrollBar3, -10, 10, 2, w.Text4}, Bar{w.FlatScrollBar4, -10, 10, 3, w.Text5},
          Bar{w.FlatScrollBar5, -10, 10, 1, w.Text6}, Bar{w.FlatScrollBar6, -10, 10, 0, w.Text7},
          Bar{w.FlatScrollBar7, -10, 10, 5, w.Text8}, Bar{w.FlatScrollBar8, -10, 10, -5, w.Text9},
          Bar{w.FlatScrollBar9, 0, 30, 0, w.Text1}, Bar{w.FlatScrollBar10, 0, 30, 0, w.Text2},
          Bar{w.FlatScrollBar2, 0, 2000, 500, nullptr}, Bar{w.FlatScrollBar11, 0, 2000, 0, nullptr},
          Bar{w.FlatScrollBar12, 0, 2000, 800, nullptr}, Bar{w.FlatScrollBar1, 1, 60, 10, nullptr}}) {
        SCOPED_TRACE(b.bar->objectName().toStdString());
        EXPECT_EQ(b.bar->minimum(), b.min);
        EXPECT_EQ(b.bar->maximum(), b.max);
        EXPECT_EQ(b.bar->value(), b.value);
        if (b.text) {
            EXPECT_EQ(b.text->text(), QString::number(b.value));
        }
    }
    EXPECT_EQ(w.FlatScrollBar3->toolTip(), "Простое повествование");
    EXPECT_EQ(w.FlatScrollBar7->toolTip(), "Прямая речь в диалогах");
    EXPECT_EQ(w.FlatScrollBar8->toolTip(), "Комментарии автора");
    EXPECT_EQ(w.Slider1->value(), 85);
    EXPECT_EQ(w.Slider2->value(), 100);
    EXPECT_EQ(w.Slider3->value(), 70);
    EXPECT_EQ(w.Slider3->maximum(), 100);
    EXPECT_EQ(w.Label14->text(), "500 ms");
    EXPECT_EQ(w.Label8->text(), "0 ms");
    EXPECT_EQ(w.Label10->text(), "800 ms");
    EXPECT_EQ(w.Label20->text(), "~10мин.");
    EXPECT_EQ(w.Frame6->title(), "Громкость");
    EXPECT_EQ(w.Frame11->title(), "Формат аудиозаписи");
    EXPECT_EQ(w.Command22->toolTip(), "Прослушать тестовую фразу с заданными параметрами");

    ASSERT_EQ(w.SSTab1->count(), 6);
    EXPECT_EQ(w.SSTab1->tabText(5), "WMA");
    EXPECT_EQ(w.SSTab1->currentIndex(), 1);
    EXPECT_EQ(w.Text11->text(), "1");
    ASSERT_EQ(w.FormatCB->count(), 36);
    EXPECT_EQ(w.FormatCB->currentText(), "SAFT22kHz16BitMono");
    EXPECT_EQ(w.FormatCB->currentData().toInt(), 22);
    EXPECT_EQ(w.FormatCB->itemData(0).toInt(), 4);
    EXPECT_EQ(w.FormatCB->itemText(35), "SAFT48kHz16BitStereo");
    EXPECT_EQ(w.FormatCB->itemData(35).toInt(), 39);
    ASSERT_EQ(w.Combo1->count(), 6);
    EXPECT_EQ(w.Combo1->currentIndex(), 0);
    EXPECT_EQ(w.Combo1->currentText(), "Высокое качество (128 kbps, 56 МБ/час)");
    EXPECT_EQ(w.Text3->text(), " -b128 -h -m m   --strictly-enforce-ISO ");
    EXPECT_EQ(w.Text3->toolTip(), "Здесь Вы можете поменять параметры Lame");
    EXPECT_TRUE(w.Text12->text().isEmpty());
    EXPECT_EQ(w.Text12->toolTip(), "Строка параметров кодека OGG");
    EXPECT_TRUE(w.Option5->isChecked());
    EXPECT_FALSE(w.Option6->isChecked());
    EXPECT_EQ(w.Check7->text(), "Оставлять промежуточные MP3-файлы  (128 kbps HQ)");
    EXPECT_FALSE(w.Check7->isChecked());
    EXPECT_FALSE(w.Check8->isChecked());

    EXPECT_TRUE(w.Text14->text().isEmpty());
    EXPECT_TRUE(w.Text10->text().isEmpty());
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_FALSE(w.Check2->isChecked());
    EXPECT_TRUE(w.Check3->isChecked());
    EXPECT_FALSE(w.Check4->isChecked());
    EXPECT_TRUE(w.Check5->isChecked());
    EXPECT_FALSE(w.Check6->isChecked());
    EXPECT_EQ(w.Text21->text(), "1");
    EXPECT_EQ(w.Text24->text(), "1");
    EXPECT_TRUE(w.Text28->text().isEmpty());
    EXPECT_EQ(w.Text28->toolTip(), "Здесь укажите рабочий каталог (поиск - кнопка справа)");
    EXPECT_FALSE(w.Option1->isChecked());
    EXPECT_FALSE(w.Option2->isChecked());
    EXPECT_TRUE(w.Option3->isChecked());

    // The load sequence showed the voice and built the tags; nothing was stored.
    EXPECT_EQ(main->panels.value(4), "Nicolai (eSpeak NG, русский, мужской)");
    EXPECT_EQ(TembrStart, open(85, 2, 0));
    EXPECT_GE(main->statusBarFills, 1);
    EXPECT_TRUE(store().allKeys().isEmpty());
}

TEST_F(SetupWindow, StoreVisitsTheTaggedControlsInDesignOrder)
{
    ::Setup &w = load();
    QStringList names;
    for (const QWidget *c : w.controlsInDesignOrder()) {
        names << c->objectName();
        EXPECT_EQ(c->property("Tag").toString(), "Save") << c->objectName().toStdString();
    }
    EXPECT_EQ(names, QStringList({"Option3",         "Option2",        "Option1",        "Check5",
                                  "Check1",          "Check3",         "Check4",         "Check6",
                                  "Check2",          "Text1",          "Text2",          "FlatScrollBar9",
                                  "FlatScrollBar10", "Text11",         "Text21",         "Text24",
                                  "FlatScrollBar5",  "FlatScrollBar4", "FlatScrollBar3", "Frame6",
                                  "Slider3",         "Slider2",        "Slider1",        "FlatScrollBar8",
                                  "FlatScrollBar7",  "FlatScrollBar6", "lstSapi5",       "FlatScrollBar1",
                                  "Label20",         "Frame11",        "SSTab1",         "Check8",
                                  "Check7",          "Text12",         "Combo1",         "Text3",
                                  "Option5",         "Option6",        "FormatCB",       "FlatScrollBar12",
                                  "FlatScrollBar11", "FlatScrollBar2", "Label14",        "Label8",
                                  "Label10",         "Text28"}));
    for (const QWidget *c : {static_cast<QWidget *>(w.Text4), static_cast<QWidget *>(w.Text9),
                             static_cast<QWidget *>(w.Text14), static_cast<QWidget *>(w.Text10),
                             static_cast<QWidget *>(w.profil), static_cast<QWidget *>(w.SSTab2)})
        EXPECT_FALSE(c->property("Tag").isValid()) << c->objectName().toStdString();
}

TEST_F(SetupWindow, RateAndPitchKeepTextPanelsTagsAndEstimateInStep)
{
    ::Setup &w = load();
    const int estimates = main->estimates;
    w.FlatScrollBar3->setValue(-3);
    EXPECT_EQ(w.Text4->text(), "-3");
    EXPECT_EQ(main->panels.value(5), "-3");
    EXPECT_EQ(TembrStart, open(85, -3, 0));
    EXPECT_EQ(main->estimates, estimates + 1);

    w.FlatScrollBar4->setValue(-10);
    EXPECT_EQ(w.Text5->text(), "-10");
    EXPECT_EQ(main->panels.value(6), "-10");
    EXPECT_EQ(TembrDialog, kClose + open(100, -10, 5));
    w.FlatScrollBar5->setValue(10);
    EXPECT_EQ(main->panels.value(7), "10");
    EXPECT_EQ(main->estimates, estimates + 3);

    w.FlatScrollBar6->setValue(-5);
    EXPECT_EQ(w.Text7->text(), "-5");
    EXPECT_EQ(main->panels.value(8), "-5");
    EXPECT_EQ(TembrNarration, kClose + open(85, -3, -5));
    w.FlatScrollBar7->setValue(0);
    EXPECT_EQ(main->panels.value(9), "0");
    w.FlatScrollBar8->setValue(7);
    EXPECT_EQ(w.Text9->text(), "7");
    EXPECT_EQ(main->panels.value(10), "7");
    EXPECT_EQ(TembrComment, kClose + open(70, 10, 7));
    EXPECT_EQ(TembrDialog2, TembrDialog);
    EXPECT_EQ(main->estimates, estimates + 3); // pitches do not change the estimate
}

TEST_F(SetupWindow, TextBoxesMoveTheirBarsOnlyToValuesTheBarTakes)
{
    ::Setup &w = load();
    w.Text4->setText(QStringLiteral("-3"));
    EXPECT_EQ(w.FlatScrollBar3->value(), -3);
    EXPECT_EQ(main->panels.value(5), "-3");
    EXPECT_EQ(TembrStart, open(85, -3, 0));

    for (const char *typed : {"abc", "15", "", "-"}) {
        w.Text4->setText(QString::fromLatin1(typed));
        EXPECT_EQ(w.FlatScrollBar3->value(), -3) << typed;
    }
    // Editing ended on text the bar did not take: the box shows the bar's value again.
    emit w.Text4->editingFinished();
    EXPECT_EQ(w.Text4->text(), "-3");

    w.Text1->setText(QStringLiteral("7"));
    EXPECT_EQ(w.FlatScrollBar9->value(), 7);
    w.Text2->setText(QStringLiteral("31"));
    EXPECT_EQ(w.FlatScrollBar10->value(), 0);
    w.FlatScrollBar10->setValue(30);
    EXPECT_EQ(w.Text2->text(), "30");
    w.Text9->setText(QStringLiteral("2.5")); // rounds halves to even
    EXPECT_EQ(w.FlatScrollBar8->value(), 2);
    EXPECT_EQ(w.Text9->text(), "2");
}

TEST_F(SetupWindow, PausesAndBlockLengthWriteTheirLabels)
{
    ::Setup &w = load();
    const QString tags = TembrStart;
    w.FlatScrollBar2->setValue(1200);
    EXPECT_EQ(w.Label14->text(), "1200mS");
    w.FlatScrollBar11->setValue(0);
    w.FlatScrollBar11->setValue(300);
    EXPECT_EQ(w.Label8->text(), "300mS");
    w.FlatScrollBar12->setValue(2000);
    EXPECT_EQ(w.Label10->text(), "2000mS");
    EXPECT_EQ(TembrStart, tags);

    w.FlatScrollBar1->setValue(60);
    EXPECT_EQ(w.Label20->text(), "Max");
    EXPECT_EQ(main->panels.value(12), "60");
    w.FlatScrollBar1->setValue(59);
    EXPECT_EQ(w.Label20->text(), "~59мин.");
    EXPECT_EQ(main->panels.value(12), "59");
}

TEST_F(SetupWindow, SlidersReachTheTagsAtTheNextTembrs)
{
    ::Setup &w = load();
    w.Slider1->setValue(40);
    w.Slider3->setValue(5);
    EXPECT_EQ(TembrStart, open(85, 2, 0));
    w.Tembrs();
    EXPECT_EQ(TembrStart, open(40, 2, 0));
    EXPECT_EQ(TembrNarration, kClose + open(40, 2, 0));
    EXPECT_EQ(TembrDialog, kClose + open(100, 3, 5));
    EXPECT_EQ(TembrComment, kClose + open(5, 1, -5));
}

TEST_F(SetupWindow, TestPhraseSpeaksTheFiveSentencesWithTheListedVoice)
{
    ::Setup &w = load();
    w.lstSapi5->setCurrentRow(1);
    EXPECT_EQ(main->panels.value(4), "Katerina (eSpeak NG, русский, женский)");
    // Another window chose a voice on the shared object: the list's choice wins again.
    w.Voice->SelectVoice(QStringLiteral("ru"));

    w.Command22->click();
    const FakeSpeechLog &log = fakeVoices().log;
    ASSERT_EQ(log.spoken.size(), 1);
    EXPECT_EQ(log.spoken[0].flags, 11);
    EXPECT_EQ(log.spoken[0].voiceId, "ru+f3");
    const QString narration = open(85, 2, 0);
    EXPECT_EQ(
        log.spoken[0].text,
        narration + kClose + narration +
            " После того, как были сделаны все необходимые изменения решено было проверить результат." +
            kClose + open(100, 3, 5) + " Ну и как? Вы удовлетворены полученным результатом? " + kClose +
            open(70, 1, -5) + "Сказал компьютер своим скрипучим голосом." + kClose + open(100, 3, 5) +
            " Если удовлетворены, то можете сохранить настройки." + kClose + narration +
            " И после этого пользователю ничего не оставалось, как согласиться с компьютером, потому что "
            "он знал, что с таким голосовым движком лучшего результата добиться нельзя!");

    const int purges = log.purges;
    w.Command55->click();
    EXPECT_EQ(log.purges, purges + 1);
    EXPECT_EQ(log.spoken.size(), 1);
}

TEST_F(SetupWindow, WithoutSpeechTheWindowSaysSoOnceAndStaysUsable)
{
    for (bool engine : {false, true}) {
        SCOPED_TRACE(engine);
        installScriptedServices();
        fakeVoices().engineAvailable = engine;
        fakeVoices().voices.clear();
        ::Setup &w = load();
        ASSERT_EQ(scriptedPrompter().asked.size(), 1);
        EXPECT_EQ(scriptedPrompter().asked[0].text, "Проверьте установки голосового движка!");
        EXPECT_EQ(scriptedPrompter().asked[0].icon, Prompter::Icon::Critical);
        EXPECT_EQ(w.lstSapi5->count(), 0);
        EXPECT_EQ(w.FormatCB->count(), 36);
        EXPECT_EQ(w.Combo1->count(), 6);
        EXPECT_EQ(w.Text3->text(), " -b128 -h -m m   --strictly-enforce-ISO ");
        EXPECT_EQ(TembrStart, open(85, 2, 0));

        w.Command22->click();
        w.Command55->click();
        w.FlatScrollBar3->setValue(0);
        EXPECT_EQ(w.Text4->text(), "0");
        EXPECT_TRUE(fakeVoices().log.spoken.isEmpty());
        EXPECT_EQ(scriptedPrompter().asked.size(), 1);
        destroySetup();
    }
}

TEST_F(SetupWindow, RestoredProfileRunsTheHandlers)
{
    {
        QSettings s = store();
        s.setValue("setupUser1/FlatScrollBar3", "-10");
        s.setValue("setupUser1/FlatScrollBar8", "3");
        s.setValue("setupUser1/Slider1", "50");
        s.setValue("setupUser1/lstSapi5", "Katerina (eSpeak NG, русский, женский)");
        s.setValue("setupUser1/FlatScrollBar1", "60");
        s.setValue("setupUser1/Text11", "3");
        s.setValue("setupUser1/SSTab1", "3");
        s.setValue("setupUser1/Combo1", "Среднее качество (64 kbps, 28 МБ/час)");
        s.setValue("setupUser1/Text3", " -b96 ");
        s.setValue("setupUser1/FormatCB", "SAFT8kHz8BitMono");
        s.setValue("setupUser1/FlatScrollBar2", "900");
        s.sync();
    }
    ::Setup &w = load();
    EXPECT_EQ(w.Text4->text(), "-10");
    EXPECT_EQ(main->panels.value(5), "-10");
    EXPECT_EQ(w.Text9->text(), "3");
    EXPECT_EQ(w.Voice->CurrentVoice().id, "ru+f3");
    EXPECT_EQ(main->panels.value(4), "Katerina (eSpeak NG, русский, женский)");
    EXPECT_EQ(w.Label20->text(), "Max");
    EXPECT_EQ(w.SSTab1->currentIndex(), 3);
    EXPECT_EQ(w.Text11->text(), "3");
    EXPECT_EQ(main->panels.value(11), "AMR");
    // A custom encoder line survives the preset restored just before it.
    EXPECT_EQ(w.Combo1->currentIndex(), 1);
    EXPECT_EQ(w.Text3->text(), " -b96 ");
    EXPECT_EQ(w.FormatCB->currentData().toInt(), 4);
    EXPECT_EQ(w.Label14->text(), "900mS");
    EXPECT_EQ(TembrStart, open(50, -10, 0));
    EXPECT_EQ(TembrComment, kClose + open(70, 1, 3));
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
}

TEST_F(SetupWindow, ProfileSelectsThePageFromText11)
{
    {
        QSettings s = store();
        s.setValue("setupUser1/Text11", "4");
        s.sync();
    }
    ::Setup &w = load();
    EXPECT_EQ(w.SSTab1->currentIndex(), 4);
    EXPECT_EQ(main->panels.value(11), "VMO");

    w.Text11->setText(QStringLiteral("9"));
    w.LoadProfil();
    EXPECT_EQ(w.SSTab1->currentIndex(), 4);
}

TEST_F(SetupWindow, FormatPageWritesText11AndThePanelButWmaKeepsTheName)
{
    ::Setup &w = load();
    w.SSTab1->setCurrentIndex(2);
    EXPECT_EQ(w.Text11->text(), "2");
    EXPECT_EQ(main->panels.value(11), "OGG");
    w.SSTab1->setCurrentIndex(5);
    EXPECT_EQ(w.Text11->text(), "5");
    EXPECT_EQ(main->panels.value(11), "OGG");
    w.SSTab1->setCurrentIndex(0);
    EXPECT_EQ(main->panels.value(11), "WAV");

    // The engine version is not an output format: the panel stays.
    w.Option2->setChecked(true);
    w.Option3->setChecked(true);
    EXPECT_EQ(main->panels.value(11), "WAV");

    w.Combo1->setCurrentIndex(1);
    EXPECT_EQ(w.Text3->text(), " -b64 -h -m m  --strictly-enforce-ISO ");
    w.Combo1->setCurrentIndex(0);
    EXPECT_EQ(w.Text3->text(), " -b128 -h -m m --strictly-enforce-ISO ");
}

TEST_F(SetupWindow, UnknownStoredVoiceKeepsTheFirstAndAnEmptyOneKeepsTheChoice)
{
    {
        QSettings s = store();
        s.setValue("setupUser1/lstSapi5", "Нет такого голоса");
        s.sync();
    }
    ::Setup &w = load();
    EXPECT_EQ(w.lstSapi5->currentRow(), 0);
    EXPECT_EQ(w.Voice->CurrentVoice().id, "ru");

    w.lstSapi5->setCurrentRow(1);
    {
        QSettings s = store();
        s.setValue("setupUser1/lstSapi5", "");
        s.sync();
    }
    w.LoadProfil();
    EXPECT_EQ(w.lstSapi5->currentRow(), 1);
    EXPECT_EQ(w.Voice->CurrentVoice().id, "ru+f3");
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
}

TEST_F(SetupWindow, MenusTurnPagesAndCloseOnlyHides)
{
    ::Setup &w = load();
    auto trigger = [&w](const char *name) {
        auto *action = w.menuBar->findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    };
    trigger("TablChange1");
    EXPECT_EQ(w.SSTab2->currentIndex(), 1);
    trigger("options");
    EXPECT_EQ(w.SSTab2->currentIndex(), 2);
    trigger("golos");
    EXPECT_EQ(w.SSTab2->currentIndex(), 0);
    trigger("help2");
    EXPECT_EQ(main->help, QStringList({"Help9.rtf"}));

    w.show();
    w.Text28->setText(QStringLiteral("/книги"));
    EXPECT_FALSE(w.close());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(&setup(), &w);
    EXPECT_EQ(w.Text28->text(), "/книги");
}
