#include "platform/text/textfile.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QValidator>

#include <gtest/gtest.h>

#include <tuple>

namespace {

template <typename T>
T *tagged(QWidget *parent, const char *name, const QString &tag = QStringLiteral("Save"))
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", tag);
    return w;
}

// A window with one tagged control of every kind the store knows, created in visiting order.
struct SampleWindow : QWidget
{
    explicit SampleWindow(const char *name)
    {
        setObjectName(QString::fromLatin1(name));
        setWindowTitle(QStringLiteral("Образец"));
        optionA->setChecked(true);
        list->addItems({QStringLiteral("Nicolai"), QStringLiteral("Katerina")});
        list->setCurrentRow(0);
        combo->addItems({QStringLiteral("128"), QStringLiteral("192")});
        bar->setRange(-10, 10);
        slider->setRange(0, 100);
        for (int i = 0; i < 6; ++i)
            tabs->addTab(new QWidget, QString::number(i));
        arrayMember->setProperty("Index", 1);
        untagged->setObjectName(QStringLiteral("Text50"));
    }

    // Gives every control a value that differs from a fresh window's.
    void fill()
    {
        text->setText(QStringLiteral("  текст с пробелами "));
        check->setChecked(true);
        optionB->setChecked(true);
        list->setCurrentRow(1);
        combo->setCurrentIndex(1);
        label->setText(QStringLiteral("Max"));
        frame->setTitle(QStringLiteral("Громкость"));
        bar->setValue(-5);
        slider->setValue(100); // a value at the end of its range
        tabs->setCurrentIndex(3);
        arrayMember->setText(QStringLiteral("массив"));
        shared->setText(QStringLiteral("общий"));
        untagged->setText(QStringLiteral("не хранится"));
    }

    QLineEdit *text = tagged<QLineEdit>(this, "Text1");
    QCheckBox *check = tagged<QCheckBox>(this, "Check1");
    QRadioButton *optionA = tagged<QRadioButton>(this, "Option1");
    QRadioButton *optionB = tagged<QRadioButton>(this, "Option2");
    QListWidget *list = tagged<QListWidget>(this, "lstSapi5");
    QComboBox *combo = tagged<QComboBox>(this, "Combo1");
    QLabel *label = tagged<QLabel>(this, "Label20");
    QGroupBox *frame = tagged<QGroupBox>(this, "Frame6");
    QScrollBar *bar = tagged<QScrollBar>(this, "FlatScrollBar3");
    QSlider *slider = tagged<QSlider>(this, "Slider1");
    QTabWidget *tabs = tagged<QTabWidget>(this, "SSTab1");
    QLineEdit *arrayMember = tagged<QLineEdit>(this, "Pause");
    QLineEdit *shared = tagged<QLineEdit>(this, "Text99", QStringLiteral("Save:Common"));
    QLineEdit *untagged = new QLineEdit(this);
};

// What SaveSettings would write, as "section/key=value" in writing order.
QStringList listed(QWidget &w, const QString &profile = QStringLiteral("User1"))
{
    QStringList out;
    for (const auto &e : settingsstore::entriesToSave(w, profile))
        out << e.section + '/' + e.key + '=' + e.value;
    return out;
}

class SettingsStore : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        setup().profil->setText(QStringLiteral("User1"));
    }
};

} // namespace

TEST_F(SettingsStore, KeysAreWrittenInOrderCaptionGeometrySharedThenControls)
{
    SampleWindow w("MP3");
    w.fill();
    w.resize(200, 100);
    w.move(30, 45);
    // Geometry is in twips, 15 to a pixel; untagged controls are not stored.
    EXPECT_EQ(
        listed(w, QStringLiteral("User2")),
        QStringList({"MP3User2/(name)=Образец", "MP3User2/_Form Wight=3000", "MP3User2/_Form Height=1500",
                     "MP3User2/_Form Top=675", "MP3User2/_Form Left=450", "Shared/Common=общий",
                     "MP3User2/Text1=  текст с пробелами ", "MP3User2/Check1=1", "MP3User2/Option1=False",
                     "MP3User2/Option2=True", "MP3User2/lstSapi5=Katerina", "MP3User2/Combo1=192",
                     "MP3User2/Label20=Max", "MP3User2/Frame6=Громкость", "MP3User2/FlatScrollBar3=-5",
                     "MP3User2/Slider1=100", "MP3User2/SSTab1=3", "MP3User2/Pause [1]=массив"}));

    // A minimised window keeps its last stored geometry.
    w.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(w.isMinimized());
    EXPECT_EQ(listed(w).mid(0, 2), QStringList({"MP3User1/(name)=Образец", "Shared/Common=общий"}));
}

TEST_F(SettingsStore, EveryControlKindRoundTripsFiringHandlersOnlyForChangedValues)
{
    SampleWindow saved("Sample");
    saved.fill();
    SaveSettings(saved);
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    for (const auto &e : settingsstore::entriesToSave(saved, QStringLiteral("User1")))
        EXPECT_EQ(store().value(e.section + '/' + e.key).toString(), e.value) << e.key.toStdString();

    SampleWindow loaded("Sample");
    loaded.text->setText(saved.text->text());
    QSignalSpy barSpy(loaded.bar, &QScrollBar::valueChanged);
    QSignalSpy checkSpy(loaded.check, &QCheckBox::toggled);
    QSignalSpy textSpy(loaded.text, &QLineEdit::textChanged);
    LoadSettings(loaded);
    EXPECT_EQ(listed(loaded), listed(saved));
    EXPECT_TRUE(loaded.untagged->text().isEmpty());
    // Stored text equals the current one: no signal.
    EXPECT_EQ(std::tuple(barSpy.count(), checkSpy.count(), textSpy.count()), std::tuple(1, 1, 0));

    // A stored "False" clears even the checked button of an exclusive group.
    store().setValue("SampleUser1/Option2", "False");
    LoadSettings(loaded);
    EXPECT_FALSE(loaded.optionA->isChecked() || loaded.optionB->isChecked());
}

TEST_F(SettingsStore, GeometryIsReadBackOnlyForTheMainAndHelpWindowsAndKeptOnScreen)
{
    const std::pair<const char *, bool> cases[] = {{"MP3", true}, {"Help1", true}, {"setup", false}};
    for (const auto &[name, readBack] : cases) {
        SCOPED_TRACE(name);
        SampleWindow w(name);
        w.setGeometry(40, 60, 300, 200);
        SaveSettings(w);
        SampleWindow fresh(name);
        fresh.setGeometry(5, 5, 120, 90);
        LoadSettings(fresh);
        EXPECT_EQ(fresh.geometry(), readBack ? QRect(40, 60, 300, 200) : QRect(5, 5, 120, 90));
    }
    // A position off every screen is pulled back.
    store().setValue("MP3User1/_Form Left", "-900000");
    store().setValue("MP3User1/_Form Top", "900000");
    store().setValue("MP3User1/_Form Wight", "abc"); // not a number: width unchanged
    SampleWindow w("MP3");
    w.resize(100, 80);
    LoadSettings(w);
    EXPECT_EQ(w.width(), 100);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().intersects(w.frameGeometry()));
}

TEST_F(SettingsStore, NumbersAreBroughtWithinTheirControlsAndOtherMisfitsRejected)
{
    SampleWindow w("Sample");
    w.fill();
    auto *margin = tagged<QLineEdit>(&w, "Text4");
    margin->setValidator(new QIntValidator(0, 30, margin));
    auto *fontSize = tagged<QLineEdit>(&w, "Text2");
    fontSize->setValidator(new QDoubleValidator(1, 400, 2, fontSize));
    // {control, stored, loaded}
    const std::tuple<QWidget *, const char *, const char *> cases[] = {
        {w.bar, "15", "10"},        {w.bar, "-50", "-10"},         {w.slider, "громко", "100"},
        {w.tabs, "9", "3"},         {w.tabs, "-1", "3"},           {margin, "-500", "0"},
        {margin, "45", "30"},       {margin, "поля", "30"},        {margin, "15", "15"},
        {fontSize, "100000", "400"}, {fontSize, "0", "1"},         {w.text, "-500", "-500"},
        {w.list, "Голос, которого нет", "Katerina"},               {w.check, "yes", "1"}};
    for (const auto &[control, stored, loaded] : cases) {
        store().setValue("SampleUser1/" + control->objectName(), QString::fromUtf8(stored));
        LoadSettings(w);
        EXPECT_EQ(settingsstore::valueText(*control), QString::fromUtf8(loaded)) << stored;
    }
}

TEST_F(SettingsStore, OnlyASaveThatFailsIsReported)
{
    const QString file = settingsstore::storePath();
    SampleWindow w("Sample");
    // A garbled file is written over without a word; the values read back.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    ASSERT_TRUE(textfile::writeBytes(file, "[SampleUser1\n=\n[]]\nText1\n\\x=\"\n"));
    w.fill();
    SaveSettings(w);
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    EXPECT_EQ(store().value("SampleUser1/Text1").toString(), w.text->text());

    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file)); // a folder where the store's file should be
    SaveSettings(w);
    QDir(file).removeRecursively();
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_EQ(scriptedPrompter().asked[0].text,
              "Невозможно сохранить настройки профиля!\n" + file + ": Filename refers to a directory");
    EXPECT_EQ(scriptedPrompter().asked[0].icon, Prompter::Icon::Critical);
}
