#include "save_load_Setting.h"
#include "scripted.h"
#include "setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

template <typename T> T *tagged(QWidget *parent, const char *name, const QString &tag = QStringLiteral("Save"))
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", tag);
    return w;
}

// A window with one tagged control of every kind the store knows.
struct SampleWindow : QWidget
{
    explicit SampleWindow(const char *name)
    {
        setObjectName(QString::fromLatin1(name));
        setWindowTitle(QStringLiteral("Образец"));
        text = tagged<QLineEdit>(this, "Text1");
        check = tagged<QCheckBox>(this, "Check1");
        optionA = tagged<QRadioButton>(this, "Option1");
        optionB = tagged<QRadioButton>(this, "Option2");
        optionA->setChecked(true);
        list = tagged<QListWidget>(this, "lstSapi5");
        list->addItems({QStringLiteral("Nicolai"), QStringLiteral("Katerina")});
        list->setCurrentRow(0);
        combo = tagged<QComboBox>(this, "Combo1");
        combo->addItems({QStringLiteral("128"), QStringLiteral("192")});
        label = tagged<QLabel>(this, "Label20");
        frame = tagged<QGroupBox>(this, "Frame6");
        bar = tagged<QScrollBar>(this, "FlatScrollBar3");
        bar->setRange(-10, 10);
        slider = tagged<QSlider>(this, "Slider1");
        slider->setRange(0, 100);
        tabs = tagged<QTabWidget>(this, "SSTab1");
        for (int i = 0; i < 6; ++i)
            tabs->addTab(new QWidget, QString::number(i));
        arrayMember = tagged<QLineEdit>(this, "Pause");
        arrayMember->setProperty("Index", 1);
        shared = tagged<QLineEdit>(this, "Text99", QStringLiteral("Save:Common"));
        untagged = new QLineEdit(this);
        untagged->setObjectName(QStringLiteral("Text50"));
    }

    QLineEdit *text, *arrayMember, *shared, *untagged;
    QCheckBox *check;
    QRadioButton *optionA, *optionB;
    QListWidget *list;
    QComboBox *combo;
    QLabel *label;
    QGroupBox *frame;
    QScrollBar *bar;
    QSlider *slider;
    QTabWidget *tabs;
};

QSettings store()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenvale"), QStringLiteral("Quenvale"));
}

class SettingsStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installScriptedServices();
        store().clear();
        setup().profil->setText(QStringLiteral("User1"));
    }
    void TearDown() override { destroySetup(); }
};

} // namespace

TEST_F(SettingsStore, EveryControlKindRoundTrips)
{
    SampleWindow saved("Sample");
    saved.text->setText(QStringLiteral("  текст с пробелами "));
    saved.check->setChecked(true);
    saved.optionB->setChecked(true);
    saved.list->setCurrentRow(1);
    saved.combo->setCurrentIndex(1);
    saved.label->setText(QStringLiteral("Max"));
    saved.frame->setTitle(QStringLiteral("Громкость"));
    saved.bar->setValue(-5);
    saved.slider->setValue(70);
    saved.tabs->setCurrentIndex(3);
    saved.arrayMember->setText(QStringLiteral("массив"));
    saved.shared->setText(QStringLiteral("общий"));
    saved.untagged->setText(QStringLiteral("не хранится"));
    SaveSettings(saved);
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());

    QSettings s = store();
    EXPECT_EQ(s.value("SampleUser1/Check1").toString(), "1");
    EXPECT_EQ(s.value("SampleUser1/Option1").toString(), "False");
    EXPECT_EQ(s.value("SampleUser1/Option2").toString(), "True");
    EXPECT_EQ(s.value("SampleUser1/FlatScrollBar3").toString(), "-5");
    EXPECT_EQ(s.value("SampleUser1/lstSapi5").toString(), "Katerina");
    EXPECT_EQ(s.value("SampleUser1/Pause [1]").toString(), "массив");
    EXPECT_EQ(s.value("SampleUser1/(name)").toString(), "Образец");
    EXPECT_EQ(s.value("Shared/Common").toString(), "общий");
    EXPECT_FALSE(s.contains("SampleUser1/Text50"));
    EXPECT_FALSE(s.contains("SampleUser1/Text99"));

    SampleWindow loaded("Sample");
    LoadSettings(loaded);
    EXPECT_EQ(loaded.text->text(), saved.text->text());
    EXPECT_TRUE(loaded.check->isChecked());
    EXPECT_TRUE(loaded.optionB->isChecked());
    EXPECT_FALSE(loaded.optionA->isChecked());
    EXPECT_EQ(loaded.list->currentItem()->text(), "Katerina");
    EXPECT_EQ(loaded.combo->currentText(), "192");
    EXPECT_EQ(loaded.label->text(), "Max");
    EXPECT_EQ(loaded.frame->title(), "Громкость");
    EXPECT_EQ(loaded.bar->value(), -5);
    EXPECT_EQ(loaded.slider->value(), 70);
    EXPECT_EQ(loaded.tabs->currentIndex(), 3);
    EXPECT_EQ(loaded.arrayMember->text(), "массив");
    EXPECT_EQ(loaded.shared->text(), "общий");
    EXPECT_TRUE(loaded.untagged->text().isEmpty());
}

TEST_F(SettingsStore, KeysAreWrittenInOrderCaptionGeometrySharedThenProfile)
{
    SampleWindow w("MP3");
    w.resize(200, 100);
    w.move(30, 45);
    const auto entries = settingsstore::entriesToSave(w, QStringLiteral("User2"));
    QStringList keys;
    for (const auto &e : entries)
        keys << e.section + '/' + e.key;
    EXPECT_EQ(keys, QStringList({"MP3User2/(name)", "MP3User2/_Form Wight", "MP3User2/_Form Height",
                                 "MP3User2/_Form Top", "MP3User2/_Form Left", "Shared/Common",
                                 "MP3User2/Text1", "MP3User2/Check1", "MP3User2/Option1", "MP3User2/Option2",
                                 "MP3User2/lstSapi5", "MP3User2/Combo1", "MP3User2/Label20", "MP3User2/Frame6",
                                 "MP3User2/FlatScrollBar3", "MP3User2/Slider1", "MP3User2/SSTab1",
                                 "MP3User2/Pause [1]"}));
    // Geometry is in twips, 15 to a pixel.
    EXPECT_EQ(entries[1].value, "3000");
    EXPECT_EQ(entries[2].value, "1500");
}

TEST_F(SettingsStore, GeometryIsReadBackOnlyForTheMainAndHelpWindows)
{
    for (const char *name : {"MP3", "setup"}) {
        SampleWindow w(name);
        w.resize(300, 200);
        w.move(40, 60);
        SaveSettings(w);
        SampleWindow fresh(name);
        fresh.resize(120, 90);
        fresh.move(5, 5);
        LoadSettings(fresh);
        if (QString::fromLatin1(name) == "MP3") {
            EXPECT_EQ(fresh.size(), QSize(300, 200)) << name;
            EXPECT_EQ(fresh.pos(), QPoint(40, 60)) << name;
        } else {
            EXPECT_EQ(fresh.size(), QSize(120, 90)) << name;
            EXPECT_EQ(fresh.pos(), QPoint(5, 5)) << name;
        }
    }
}

TEST_F(SettingsStore, MinimisedWindowKeepsItsLastGeometry)
{
    SampleWindow w("MP3");
    w.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(w.isMinimized());
    const auto entries = settingsstore::entriesToSave(w, QStringLiteral("User1"));
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries[0].key, "(name)");
    EXPECT_EQ(entries[1].key, "Common");
}

TEST_F(SettingsStore, PositionOffEveryScreenIsPulledBack)
{
    QSettings s = store();
    s.setValue("MP3User1/_Form Left", "-900000");
    s.setValue("MP3User1/_Form Top", "900000");
    s.setValue("MP3User1/_Form Wight", "abc"); // not a number: width unchanged
    s.sync();
    SampleWindow w("MP3");
    w.resize(100, 80);
    LoadSettings(w);
    EXPECT_EQ(w.width(), 100);
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(avail.intersects(w.frameGeometry()));
}

TEST_F(SettingsStore, RestoringADifferentValueFiresTheHandlerOnce)
{
    SampleWindow saved("Sample");
    saved.bar->setValue(4);
    saved.check->setChecked(true);
    SaveSettings(saved);

    SampleWindow w("Sample");
    QSignalSpy barSpy(w.bar, &QScrollBar::valueChanged);
    QSignalSpy checkSpy(w.check, &QCheckBox::toggled);
    QSignalSpy textSpy(w.text, &QLineEdit::textChanged);
    LoadSettings(w);
    EXPECT_EQ(barSpy.count(), 1);
    EXPECT_EQ(checkSpy.count(), 1);
    EXPECT_EQ(textSpy.count(), 0); // stored text equals the current one
}

TEST_F(SettingsStore, RejectedValuesLeaveControlsAsTheyWere)
{
    QSettings s = store();
    s.setValue("SampleUser1/lstSapi5", "Голос, которого нет");
    s.setValue("SampleUser1/FlatScrollBar3", "15");
    s.setValue("SampleUser1/Slider1", "громко");
    s.setValue("SampleUser1/Check1", "yes");
    s.setValue("SampleUser1/SSTab1", "9");
    s.sync();
    SampleWindow w("Sample");
    w.bar->setValue(2);
    w.slider->setValue(85);
    LoadSettings(w);
    EXPECT_EQ(w.list->currentRow(), 0);
    EXPECT_EQ(w.bar->value(), 2);
    EXPECT_EQ(w.slider->value(), 85);
    EXPECT_FALSE(w.check->isChecked());
    EXPECT_EQ(w.tabs->currentIndex(), 0);
}

TEST_F(SettingsStore, EachProfileHasItsOwnSection)
{
    SampleWindow w("Sample");
    setup().profil->setText(QStringLiteral("User3"));
    w.text->setText(QStringLiteral("третий"));
    SaveSettings(w);
    setup().profil->setText(QStringLiteral("User1"));
    SampleWindow fresh("Sample");
    LoadSettings(fresh);
    EXPECT_TRUE(fresh.text->text().isEmpty());
    setup().profil->setText(QStringLiteral("User3"));
    LoadSettings(fresh);
    EXPECT_EQ(fresh.text->text(), "третий");
}

TEST_F(SettingsStore, FailedSaveIsReported)
{
    const QString file = settingsstore::storePath();
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file)); // a folder where the store's file should be
    SampleWindow w("Sample");
    SaveSettings(w);
    QDir(file).removeRecursively();
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_EQ(scriptedPrompter().asked[0].text, "Невозможно сохранить настройки профиля!");
    EXPECT_EQ(scriptedPrompter().asked[0].icon, Prompter::Icon::Critical);
}
