#include "app/globals.h"
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/speech/voice.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>

#include <gtest/gtest.h>

#include <functional>

namespace {

QSettings store()
{
    return QSettings(settingsstore::storePath(), QSettings::IniFormat);
}

QByteArray storeBytes()
{
    QFile file(settingsstore::storePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMap<QString, QString> section(const QString &name)
{
    QSettings s = store();
    s.beginGroup(name);
    QMap<QString, QString> values;
    for (const QString &key : s.childKeys())
        values[key] = s.value(key).toString();
    return values;
}

// Every stored value of both windows, and the boxes beside the bars, as text.
QStringList controls()
{
    QStringList values;
    for (QWidget *w : {static_cast<QWidget *>(&setup()), static_cast<QWidget *>(&MP3())})
        for (const settingsstore::Entry &e : settingsstore::entriesToSave(*w, QString()))
            values << e.section + u'/' + e.key + u'=' + e.value;
    ::Setup &s = setup();
    for (QLineEdit *box : {s.Text4, s.Text5, s.Text6, s.Text7, s.Text8, s.Text9})
        values << box->objectName() + u'=' + box->text();
    return values;
}

QList<bool> pressedButtons()
{
    QList<bool> pressed;
    for (int n = 1; n <= 4; ++n)
        pressed << setup().Toolbar1->actions()[n - 1]->isChecked();
    return pressed;
}

QList<bool> onlyPressed(int number)
{
    QList<bool> pressed = {false, false, false, false};
    pressed[number - 1] = true;
    return pressed;
}

QString panel(int i)
{
    return MP3().statusPanels[i - 1]->text();
}

// Collects what the settings store logs while it lives, in the order it was said.
class SettingsLog
{
public:
    SettingsLog()
    {
        current = this;
        QLoggingCategory::setFilterRules(QStringLiteral("quenvale.settings.info=true"));
        previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { current->lines << text; });
    }
    ~SettingsLog()
    {
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        current = nullptr;
    }
    QStringList lines;

private:
    static inline SettingsLog *current = nullptr;
    QtMessageHandler previous = nullptr;
};

// A user's pick of a menu item or button, found by its object name; fails when absent.
void trigger(QObject &owner, const char *name)
{
    auto *action = owner.findChild<QAction *>(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    ASSERT_TRUE(action->isEnabled()) << name;
    action->trigger();
}

class Profiles : public QuenvaleTest
{
protected:
    // Starts the program, with the main window's profiles menu as its menu bar offers it.
    MainWindow &start()
    {
        MainWindow &w = MP3();
        w.endProcess = [] {};
        profilesMenu = std::make_unique<QMenu>();
        w.addProfileActions(*profilesMenu);
        return w;
    }

    void answer(Prompter::Answer a) { scriptedPrompter().answers.enqueue(a); }
    QStringList asked() const
    {
        QStringList texts;
        for (const ScriptedPrompter::Asked &a : scriptedPrompter().asked) {
            EXPECT_EQ(a.icon, Prompter::Icon::Question) << a.text.toStdString();
            EXPECT_EQ(a.buttons, Prompter::Buttons::YesNo) << a.text.toStdString();
            texts << a.text;
        }
        return texts;
    }

    std::unique_ptr<QMenu> profilesMenu;
};

const QString kSaveQuestion = QStringLiteral("Сохранить изменения параметров для данного профиля?");

} // namespace

TEST_F(Profiles, ButtonAnsweredNoOnlyRenamesAndTheNextSaveCopiesIntoThatProfile)
{
    // Profile 3 holds other values from an earlier session; answering No must not load them.
    QSettings earlier = store();
    earlier.setValue("setupUser3/FlatScrollBar3", "-1");
    earlier.setValue("MP3User3/Text2", "30");
    earlier.sync();
    start();
    ::Setup &s = setup();
    EXPECT_EQ(pressedButtons(), onlyPressed(1));
    s.FlatScrollBar3->setValue(-4);
    s.Text28->setText(QStringLiteral("/книги"));
    trigger(s, "Toolbar1_6"); // Yes: profile 1 now holds these values
    const QMap<QString, QString> user1 = section(QStringLiteral("setupUser1"));
    ASSERT_EQ(user1.value(QStringLiteral("FlatScrollBar3")), "-4");
    scriptedPrompter().asked.clear();

    s.FlatScrollBar3->setValue(6);
    const QStringList before = controls();
    answer(Prompter::Answer::No);
    trigger(s, "Toolbar1_3");
    EXPECT_EQ(asked(), QStringList({"Установить настройки, ранее сохраненные как User3?"}));
    EXPECT_EQ(s.profil->text(), "User3");
    EXPECT_EQ(pressedButtons(), onlyPressed(3));
    EXPECT_EQ(controls(), before);

    // Save answered No: the store file stays byte for byte.
    const QByteArray bytes = storeBytes();
    answer(Prompter::Answer::No);
    trigger(s, "Toolbar1_6");
    EXPECT_EQ(storeBytes(), bytes);

    // Save answered Yes, through the menu this time: both windows into profile 3 only,
    // the settings window first.
    SettingsLog log;
    trigger(s, "SaveSet");
    EXPECT_EQ(log.lines, QStringList({"saved setup into profile User3", "saved MP3 into profile User3"}));
    EXPECT_EQ(asked(), QStringList({"Установить настройки, ранее сохраненные как User3?", kSaveQuestion,
                                    kSaveQuestion}));
    EXPECT_EQ(section(QStringLiteral("setupUser3")).value(QStringLiteral("FlatScrollBar3")), "6");
    EXPECT_EQ(section(QStringLiteral("setupUser3")).value(QStringLiteral("Text28")), "/книги");
    EXPECT_EQ(section(QStringLiteral("MP3User3")).value(QStringLiteral("Text2")), "14");
    EXPECT_EQ(section(QStringLiteral("setupUser1")), user1);
}

TEST_F(Profiles, MainMenuSwitchesWithoutAskingAndANeverSavedProfileChangesNothing)
{
    start();
    ::Setup &s = setup();
    s.FlatScrollBar4->setValue(-2);
    s.Check2->setChecked(true);
    MP3().Text2->setText(QStringLiteral("20"));
    const QStringList before = controls();

    for (int n : {2, 4, 1}) {
        QAction *item = profilesMenu->actions()[n - 1];
        EXPECT_EQ(item->text(), QStringLiteral("User%1").arg(n));
        EXPECT_EQ(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+F%1").arg(n)));
        trigger(*profilesMenu, QStringLiteral("User%1").arg(n).toLatin1().constData());
        EXPECT_EQ(s.profil->text(), QStringLiteral("User%1").arg(n));
        EXPECT_EQ(pressedButtons(), onlyPressed(n));
        EXPECT_EQ(controls(), before) << n;
    }
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    EXPECT_TRUE(store().allKeys().isEmpty());
}

TEST_F(Profiles, CopiedProfileComesBackAfterARestartWhicheverWayItIsChosen)
{
    start();
    ::Setup &s = setup();
    s.FlatScrollBar3->setValue(-6);
    s.FlatScrollBar8->setValue(4);
    s.Text1->setText(QStringLiteral("12"));
    s.Text3->setText(QStringLiteral(" -b96 "));
    s.Text28->setText(QStringLiteral("/книги"));
    s.SSTab1->setCurrentIndex(2);
    answer(Prompter::Answer::No);
    trigger(s, "Toolbar1_3");
    trigger(s, "Toolbar1_6");

    // Switched by the main window's menu, the settings window's menu, and its button answered Yes.
    const std::function<void()> ways[] = {[this] { trigger(*profilesMenu, "User3"); },
                                          [] { trigger(*setup().prof, "User3"); },
                                          [] { trigger(setup(), "Toolbar1_3"); }};
    for (const auto &choose : ways) {
        appwindows::destroyAll();
        start();
        ::Setup &again = setup();
        // Every start begins in profile 1, which was never saved.
        EXPECT_EQ(again.profil->text(), "User1");
        EXPECT_EQ(again.FlatScrollBar3->value(), 2);
        EXPECT_EQ(panel(3), "");

        choose();
        EXPECT_EQ(again.profil->text(), "User3");
        EXPECT_EQ(pressedButtons(), onlyPressed(3));
        EXPECT_EQ(again.FlatScrollBar3->value(), -6);
        EXPECT_EQ(again.Text4->text(), "-6");
        EXPECT_EQ(again.Text9->text(), "4");
        EXPECT_EQ(again.FlatScrollBar9->value(), 12);
        EXPECT_EQ(again.Text3->text(), " -b96 ");
        EXPECT_EQ(again.SSTab1->currentIndex(), 2);
        const QStringList shown = {panel(3), panel(5), panel(10), panel(11)};
        EXPECT_EQ(shown, QStringList({"/книги", "-6", "4", "OGG"}));
        EXPECT_EQ(TembrNarration.contains(QStringLiteral("absspeed=\"-6\"")), true);
    }
}

TEST_F(Profiles, AStoredTextViewThatIsNoNumberStillLetsTheStatusBarAndPageFollow)
{
    QSettings s = store();
    s.setValue("MP3User2/Text2", "крупный");
    s.setValue("MP3User2/Text3", "белый");
    s.setValue("setupUser2/Text28", "/другие");
    s.setValue("setupUser2/Text11", "4");
    s.sync();
    start();
    trigger(*profilesMenu, "User2");
    EXPECT_EQ(panel(3), "/другие");
    EXPECT_EQ(setup().SSTab1->currentIndex(), 4);
    EXPECT_EQ(panel(11), "VMO");
}

TEST_F(Profiles, DefaultsAnsweredYesResetTheSpeechAndRecordingSettingsOnly)
{
    start();
    ::Setup &s = setup();
    // Everything the reset touches, away from its default...
    s.SSTab1->setCurrentIndex(0);
    s.Combo1->setCurrentIndex(3);
    s.FlatScrollBar2->setValue(900);
    s.Text1->setText(QStringLiteral("5"));
    s.Text2->setText(QStringLiteral("7"));
    s.FlatScrollBar1->setValue(60);
    for (QCheckBox *c : {s.Check1, s.Check2, s.Check3, s.Check4})
        c->toggle();
    for (QScrollBar *bar : {s.FlatScrollBar3, s.FlatScrollBar5, s.FlatScrollBar6, s.FlatScrollBar7})
        bar->setValue(-9);
    s.Text5->setText(QStringLiteral("?")); // the dialogue rate stays at its default, 3
    s.Slider1->setValue(10);
    s.Slider3->setValue(20);
    s.Text21->setText(QStringLiteral("3"));
    s.Text24->setText(QStringLiteral("2"));
    // ...and what it keeps.
    s.lstSapi5->setCurrentRow(1);
    s.FormatCB->setCurrentIndex(0);
    s.FlatScrollBar11->setValue(300);
    s.FlatScrollBar12->setValue(1500);
    s.Text28->setText(QStringLiteral("/книги"));
    s.Text12->setText(QStringLiteral("-q 4"));
    s.Option6->setChecked(true);
    s.Check5->setChecked(false);
    s.Check6->setChecked(true);
    s.Option1->setChecked(true);

    const QStringList before = controls();
    answer(Prompter::Answer::No);
    trigger(s, "Toolbar1_7");
    EXPECT_EQ(controls(), before);

    trigger(s, "Toolbar1_7");
    EXPECT_EQ(asked(),
              QStringList({"Установить значения по умолчанию?", "Установить значения по умолчанию?"}));
    // The bar already at 500 still rewrites its label, and the dialogue rate its box.
    const QStringList reset = {s.Label14->text(), s.Text3->text(), s.Label20->text(), s.Text11->text(),
                               s.Text4->text(),   s.Text5->text(), s.Text6->text(),   s.Text9->text()};
    EXPECT_EQ(reset, QStringList({"500mS", " -b128 -h -m m   --strictly-enforce-ISO ", "~10мин.", "1", "2",
                                  "3", "1", "-5"}));
    const QList<int> values = {
        s.SSTab1->currentIndex(),  s.Combo1->currentIndex(),   s.FlatScrollBar2->value(),
        s.FlatScrollBar9->value(), s.FlatScrollBar10->value(), s.FlatScrollBar1->value(),
        s.Check1->isChecked(),     s.Check2->isChecked(),      s.Check3->isChecked(),
        s.Check4->isChecked(),     s.FlatScrollBar3->value(),  s.FlatScrollBar4->value(),
        s.FlatScrollBar5->value(), s.FlatScrollBar6->value(),  s.FlatScrollBar7->value(),
        s.FlatScrollBar8->value(), s.Slider1->value(),         s.Slider2->value(),
        s.Slider3->value()};
    EXPECT_EQ(values, QList<int>({1, 0, 500, 0, 0, 10, 1, 0, 1, 0, 2, 3, 1, 0, 5, -5, 85, 100, 70}));
    EXPECT_EQ(QStringList({s.Text1->text(), s.Text2->text(), s.Text21->text(), s.Text24->text()}),
              QStringList({"0", "0", "1", "1"}));
    const QStringList panels = {panel(5), panel(6),  panel(7),  panel(8),
                                panel(9), panel(10), panel(11), panel(12)};
    EXPECT_EQ(panels, QStringList({"2", "3", "1", "0", "5", "-5", "MP3", "10"}));
    // The volumes reach the tags at the next rebuild, as sliders have no handler.
    EXPECT_EQ(TembrStart, R"( <volume level="10"> <rate absspeed="2"> <pitch absmiddle="0">)");

    // Kept as they were.
    EXPECT_EQ(s.lstSapi5->currentRow(), 1);
    EXPECT_EQ(s.Voice->CurrentVoice().id, "ru+f3");
    EXPECT_EQ(s.FormatCB->currentText(), "SAFT8kHz8BitMono");
    EXPECT_EQ(QStringList({s.Label8->text(), s.Label10->text(), s.Text28->text(), s.Text12->text()}),
              QStringList({"300mS", "1500mS", "/книги", "-q 4"}));
    EXPECT_TRUE(s.Option6->isChecked() && s.Option1->isChecked() && s.Check6->isChecked());
    EXPECT_FALSE(s.Check5->isChecked());
    EXPECT_EQ(s.profil->text(), "User1");

    // Nothing reached the store; a restart brings back the form values, not the reset.
    EXPECT_TRUE(store().allKeys().isEmpty());
}
