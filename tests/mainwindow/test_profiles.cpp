#include "mainwindowtest.h"

#include "app/globals.h"
#include "app/windows.h"
#include "platform/speech/voice.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>

namespace {

QByteArray storeBytes()
{
    QFile file(settingsstore::storePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every stored value of both windows and the boxes beside the bars, as "section/key=value".
QStringList controls()
{
    QStringList values;
    for (QWidget *w : {static_cast<QWidget *>(&setup()), static_cast<QWidget *>(&MP3())})
        for (const settingsstore::Entry &e : settingsstore::entriesToSave(*w, QString()))
            values << e.section + u'/' + e.key + u'=' + e.value;
    for (QLineEdit *box :
         setup().findChildren<QLineEdit *>(QRegularExpression(QStringLiteral("^Text[4-9]$"))))
        values << box->objectName() + u'=' + box->text();
    return values;
}

// The current profile as the settings window shows it: "User3 0010" when button 3 is down.
QString shownProfile()
{
    QString shown = setup().profil->text() + u' ';
    for (int n = 0; n < 4; ++n)
        shown += setup().Toolbar1->actions()[n]->isChecked() ? u'1' : u'0';
    return shown;
}

QStringList valuesOf(const QList<QWidget *> &controls)
{
    QStringList values;
    for (const QWidget *c : controls)
        values << settingsstore::valueText(*c);
    return values;
}

void assign(const QList<QWidget *> &controls, const QStringList &values)
{
    for (qsizetype i = 0; i < controls.size(); ++i)
        ASSERT_TRUE(settingsstore::assignValue(*controls[i], values[i]))
            << controls[i]->objectName().toStdString();
}

class Profiles : public QuenvaleTest
{
protected:
    // Starts the program, with the main window's profiles menu as its menu bar offers it.
    MainWindow &start()
    {
        MainWindow &w = MP3();
        menu = std::make_unique<QMenu>();
        w.addProfileActions(*menu);
        return w;
    }
    void answer(Prompter::Answer a) { scriptedPrompter().answers.enqueue(a); }

    std::unique_ptr<QMenu> menu;
};

} // namespace

TEST_F(Profiles, ButtonAnsweredNoCopiesOnSaveAndTheCopyComesBackAfterARestart)
{
    QSettings earlier = store(); // profile 3 holds other values from an earlier session
    earlier.setValue("setupUser3/FlatScrollBar3", "-1");
    earlier.setValue("setupUser1/Text28", "/старые");
    earlier.sync();
    start();
    ::Setup &s = setup();
    s.FlatScrollBar3->setValue(-6);
    s.Text1->setText(QStringLiteral("12"));
    s.Text3->setText(QStringLiteral(" -b96 "));
    s.Text28->setText(QStringLiteral("/книги"));
    s.SSTab1->setCurrentIndex(2);
    const QStringList before = controls();
    const QByteArray bytes = storeBytes();

    answer(Prompter::Answer::No);
    triggerAction(s, QStringLiteral("Toolbar1_3"));
    EXPECT_EQ(shownProfile(), "User3 0010");
    EXPECT_EQ(controls(), before);
    answer(Prompter::Answer::No);
    triggerAction(s, QStringLiteral("Toolbar1_6"));
    EXPECT_EQ(storeBytes(), bytes);
    triggerAction(*s.prof, QStringLiteral("SaveSet"));
    const QString save = QStringLiteral("Сохранить изменения параметров для данного профиля?");
    EXPECT_EQ(scriptedPrompter().takeAsked(),
              QStringList({"Установить настройки, ранее сохраненные как User3?", save, save}));
    EXPECT_EQ(store().value("setupUser1/Text28"), "/старые");
    EXPECT_EQ(store().value("MP3User3/text7"), "полный путь к файлу");
    // A stored font size that is no number must not keep the status bar and page behind.
    store().setValue("MP3User3/Text2", "крупный");

    // Chosen by the main window's menu, the settings window's menu, or its button answered Yes.
    for (const auto &[owner, name] : {std::pair{0, "User3"}, {1, "User3"}, {2, "Toolbar1_3"}}) {
        appwindows::destroyAll();
        start();
        ::Setup &again = setup();
        EXPECT_EQ(shownProfile(), "User1 1000"); // every start loads profile 1
        EXPECT_EQ(again.FlatScrollBar3->value(), 2);
        QWidget *owners[] = {menu.get(), again.prof, &again};
        triggerAction(*owners[owner], name);
        EXPECT_EQ(shownProfile(), "User3 0010");
        const QStringList restored = {
            again.Text4->text(), again.Text1->text(), again.Text3->text(), panel(3), panel(5), panel(11)};
        EXPECT_EQ(restored, QStringList({"-6", "12", " -b96 ", "/книги", "-6", "OGG"})) << name;
        EXPECT_TRUE(TembrNarration.contains(QStringLiteral("absspeed=\"-6\"")));
    }
}

TEST_F(Profiles, MenusSwitchWithoutAskingAndANeverSavedProfileChangesNothing)
{
    start();
    setup().FlatScrollBar4->setValue(-2);
    MP3().Text2->setText(QStringLiteral("20"));
    const QStringList before = controls();
    for (QMenu *m : {menu.get(), setup().prof}) {
        for (int n : {2, 4, 1}) {
            const QString name = QStringLiteral("User%1").arg(n);
            EXPECT_EQ(m->actions()[n - 1]->text(), name);
            EXPECT_EQ(m->actions()[n - 1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+F%1").arg(n)));
            triggerAction(*m, name);
            EXPECT_EQ(shownProfile(), name + u' ' + QString(4, u'0').replace(n - 1, 1, u'1'));
            EXPECT_EQ(controls(), before);
        }
    }
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    EXPECT_TRUE(store().allKeys().isEmpty());
}

TEST_F(Profiles, DefaultsResetTheSpeechAndRecordingSettingsOnlyAndStoreNothing)
{
    start();
    ::Setup &s = setup();
    // What the reset sets, in its order, first put away from the defaults. The dialogue rate, the
    // paragraph pause and the block length stand at theirs already: only the explicit handler
    // runs rewrite the box and labels beside them.
    const QList<QWidget *> reset = {
        s.SSTab1,         s.Label14, s.Text1,          s.FlatScrollBar9, s.Text2,          s.Text3,
        s.Label20,        s.Check1,  s.Check2,         s.Check3,         s.Check4,         s.FlatScrollBar3,
        s.FlatScrollBar4, s.Text5,   s.FlatScrollBar5, s.FlatScrollBar6, s.FlatScrollBar7, s.FlatScrollBar8,
        s.Text9,          s.Slider1, s.Slider2,        s.Slider3,        s.Text21,         s.Text24};
    assign(reset, {"0", "x", "5",  "5",  "7",  " -b8 ", "x", "0",  "1",   "0",  "1", "-9",
                   "3", "?", "-9", "-9", "-9", "-9",    "?", "10", "100", "20", "3", "2"});
    // What it keeps.
    const QList<QWidget *> kept = {s.lstSapi5,        s.FormatCB, s.FlatScrollBar11,
                                   s.FlatScrollBar12, s.Text28,   s.Option6};
    const QStringList keptValues = {
        "Katerina (eSpeak NG, русский, женский)", "SAFT8kHz8BitMono", "300", "1500", "/книги", "True"};
    assign(kept, keptValues);

    const QStringList before = controls();
    answer(Prompter::Answer::No);
    triggerAction(s, QStringLiteral("Toolbar1_7"));
    EXPECT_EQ(controls(), before);
    triggerAction(s, QStringLiteral("Toolbar1_7"));
    EXPECT_EQ(scriptedPrompter().takeAsked(),
              QStringList(2, QStringLiteral("Установить значения по умолчанию?")));

    EXPECT_EQ(valuesOf(reset),
              QStringList({"1",       "500mS", "0",   "0",  "0", " -b128 -h -m m   --strictly-enforce-ISO ",
                           "~10мин.", "1",     "0",   "1",  "0", "2",
                           "3",       "3",     "1",   "0",  "5", "-5",
                           "-5",      "85",    "100", "70", "1", "1"}));
    EXPECT_EQ(s.Text11->text(), "1");
    const QStringList panels = {panel(5), panel(6), panel(7), panel(8), panel(10), panel(11), panel(12)};
    EXPECT_EQ(panels, QStringList({"2", "3", "1", "0", "-5", "MP3", "10"}));
    // Sliders have no handler: the new volume reaches the tags at the next rebuild.
    EXPECT_EQ(TembrStart, R"( <volume level="10"> <rate absspeed="2"> <pitch absmiddle="0">)");
    EXPECT_EQ(valuesOf(kept), keptValues);
    EXPECT_EQ(s.Voice->CurrentVoice().id, "ru+f3");
    EXPECT_TRUE(store().allKeys().isEmpty());
}
