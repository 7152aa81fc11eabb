#include "app/globals.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"
#include "support/actions.h"
#include "support/fakemain.h"
#include "support/fakevoice.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace {

// Writes keys of the default profile, as an earlier session would have saved them.
void storeProfile(std::initializer_list<std::pair<const char *, QString>> values)
{
    QSettings s = store();
    for (const auto &[key, value] : values)
        s.setValue(QStringLiteral("setupUser1/") + QLatin1String(key), value);
    s.sync();
}

using Timbre = std::array<int, 3>; // volume, rate, pitch
const QString kClose = QStringLiteral(" </pitch> </rate> </volume>");

QString open(const Timbre &t)
{
    return QString::asprintf(R"( <volume level="%d"> <rate absspeed="%d"> <pitch absmiddle="%d">)", t[0],
                             t[1], t[2]);
}

// TembrStart, TembrNarration, TembrDialog, TembrComment, TembrDialog2.
QStringList tags()
{
    return {TembrStart, TembrNarration, TembrDialog, TembrComment, TembrDialog2};
}
QStringList tagsFor(const Timbre &narration, const Timbre &dialog, const Timbre &comment)
{
    return {open(narration), kClose + open(narration), kClose + open(dialog), kClose + open(comment),
            kClose + open(dialog)};
}
const QStringList kFormTags = tagsFor({85, 2, 0}, {100, 3, 5}, {70, 1, -5});
const QString kKaterina = QStringLiteral("Katerina (eSpeak NG, русский, женский)");

// The messages shown so far; one that is not an error is marked.
QStringList errorsShown()
{
    QStringList out;
    for (const auto &a : scriptedPrompter().asked)
        out << (a.icon == Prompter::Icon::Critical ? a.text : "(not an error) " + a.text);
    return out;
}

class SetupWindow : public FakeMainTest
{
};

} // namespace

TEST_F(SetupWindow, FreshStoreShowsTheFormValues)
{
    ::Setup &w = setup();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.isAncestorOf(w.Text21) && w.isAncestorOf(w.Text24)); // both copy numbers are on the page
    EXPECT_EQ(WinDrive, "/");
    EXPECT_EQ(w.Voice->CurrentVoice().id, "ru");

    // What the store would keep: the caption first.
    EXPECT_EQ(settingsstore::entriesToSave(w, QStringLiteral("User1")).value(0),
              (settingsstore::Entry{"setupUser1", "(name)", "Quenvale настройки"}));
    // Loading showed the voice and built the tags; nothing was stored or asked.
    EXPECT_EQ(main->panels.value(4), "Nicolai (eSpeak NG, русский, мужской)");
    EXPECT_EQ(tags(), kFormTags);
    EXPECT_TRUE(store().allKeys().isEmpty());
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
}

TEST_F(SetupWindow, BarsKeepTheirTextPanelTagsAndEstimateInStep)
{
    ::Setup &w = setup();
    // Bar, value, the control showing it, its text, status panel (0: none). Only the rates
    // (panels 5-7) change the estimate; only rates and pitches (5-10) change the tags.
    const std::tuple<QScrollBar *, int, QWidget *, const char *, int> cases[] = {
        {w.FlatScrollBar3, -10, w.Text4, "-10", 5},     {w.FlatScrollBar4, 10, w.Text5, "10", 6},
        {w.FlatScrollBar5, -1, w.Text6, "-1", 7},       {w.FlatScrollBar6, 10, w.Text7, "10", 8},
        {w.FlatScrollBar7, -10, w.Text8, "-10", 9},     {w.FlatScrollBar8, 0, w.Text9, "0", 10},
        {w.FlatScrollBar9, 7, w.Text1, "7", 0},         {w.FlatScrollBar10, 30, w.Text2, "30", 0},
        {w.FlatScrollBar2, 0, w.Label14, "0mS", 0},     {w.FlatScrollBar2, 1200, w.Label14, "1200mS", 0},
        {w.FlatScrollBar11, 300, w.Label8, "300mS", 0}, {w.FlatScrollBar12, 2000, w.Label10, "2000mS", 0},
        {w.FlatScrollBar1, 60, w.Label20, "Max", 12},   {w.FlatScrollBar1, 59, w.Label20, "~59мин.", 12},
        {w.FlatScrollBar1, 1, w.Label20, "~1мин.", 12}};
    for (const auto &[bar, value, shown, text, panel] : cases) {
        SCOPED_TRACE(bar->objectName().toStdString() + ' ' + std::to_string(value));
        const int estimates = main->estimates;
        const QStringList before = tags();
        bar->setValue(value);
        EXPECT_EQ(settingsstore::valueText(*shown), QString::fromUtf8(text));
        EXPECT_EQ(main->panels.value(panel), panel ? QString::number(value) : QString());
        EXPECT_EQ(main->estimates - estimates, panel >= 5 && panel <= 7 ? 1 : 0);
        EXPECT_EQ(tags() != before, panel >= 5 && panel <= 10);
    }
    EXPECT_EQ(tags(), tagsFor({85, -10, 10}, {100, 10, -10}, {70, -1, 0}));

    // Volumes reach the tags at the next Tembrs, which every speaking caller runs first.
    w.Slider1->setValue(0);
    w.Slider3->setValue(1);
    EXPECT_EQ(TembrStart, open({85, -10, 10}));
    w.Tembrs();
    EXPECT_EQ(tags(), tagsFor({0, -10, 10}, {100, 10, -10}, {1, -1, 0}));
}

TEST_F(SetupWindow, TextBoxesMoveTheirBarsOnlyToValuesTheBarTakes)
{
    ::Setup &w = setup();
    w.Text4->setText(QStringLiteral("-3"));
    EXPECT_EQ(w.FlatScrollBar3->value(), -3);
    for (const char *typed : {"abc", "15", "", "-"}) {
        w.Text4->setText(QString::fromLatin1(typed));
        EXPECT_EQ(w.FlatScrollBar3->value(), -3) << typed;
    }
    // Editing ended on text the bar did not take: the box shows the bar's value again.
    emit w.Text4->editingFinished();
    EXPECT_EQ(w.Text4->text(), "-3");

    w.Text1->setText(QStringLiteral("7"));
    w.Text2->setText(QStringLiteral("31"));
    w.Text9->setText(QStringLiteral("2.5")); // rounds halves to even
    w.Text7->setText(QStringLiteral("-4"));
    EXPECT_EQ(std::tuple(w.FlatScrollBar9->value(), w.FlatScrollBar10->value(), w.FlatScrollBar8->value(),
                         w.FlatScrollBar6->value()),
              std::tuple(7, 0, 2, -4));
    EXPECT_EQ(w.Text9->text(), "2");
}

TEST_F(SetupWindow, TestPhraseSpeaksTheFiveSentencesWithTheListedVoice)
{
    SpeakFlags = 11; // as the main window's start-up sets it
    ::Setup &w = setup();
    w.lstSapi5->setCurrentRow(1);
    // Another window chose a voice on the shared object: the list's choice wins again.
    w.Voice->SelectVoice(QStringLiteral("ru"));

    w.Command22->click();
    const FakeSpeechLog &log = fakeVoices().log;
    ASSERT_EQ(log.spoken.size(), 1);
    EXPECT_EQ(std::pair(log.spoken[0].flags, log.spoken[0].voiceId), std::pair(11, QStringLiteral("ru+f3")));
    const QString narration = open({85, 2, 0});
    EXPECT_EQ(
        log.spoken[0].text,
        narration + kClose + narration +
            " После того, как были сделаны все необходимые изменения решено было проверить результат." +
            kClose + open({100, 3, 5}) + " Ну и как? Вы удовлетворены полученным результатом? " + kClose +
            open({70, 1, -5}) + "Сказал компьютер своим скрипучим голосом." + kClose + open({100, 3, 5}) +
            " Если удовлетворены, то можете сохранить настройки." + kClose + narration +
            " И после этого пользователю ничего не оставалось, как согласиться с компьютером, потому что "
            "он знал, что с таким голосовым движком лучшего результата добиться нельзя!");

    const int purges = log.purges;
    w.Command55->click();
    EXPECT_EQ(std::tuple(log.purges, log.spoken.size()), std::tuple(purges + 1, 1));
}

TEST_F(SetupWindow, WithoutSpeechTheWindowSaysSoOnceAndStaysUsable)
{
    for (bool engine : {false, true}) {
        SCOPED_TRACE(engine);
        installScriptedServices();
        fakeVoices().engineAvailable = engine;
        fakeVoices().voices.clear();
        ::Setup &w = setup();
        const QStringList once = {QStringLiteral("Проверьте установки голосового движка!")};
        EXPECT_EQ(errorsShown(), once);
        EXPECT_EQ(std::pair(w.lstSapi5->count(), w.FormatCB->count()), std::pair(0, 36));
        EXPECT_EQ(tags(), kFormTags);

        w.Command22->click();
        w.Command55->click();
        w.FlatScrollBar3->setValue(0);
        EXPECT_EQ(w.Text4->text(), "0");
        EXPECT_TRUE(fakeVoices().log.spoken.isEmpty());
        EXPECT_EQ(errorsShown(), once);
        appwindows::destroyAll();
    }
}

TEST_F(SetupWindow, RestoredProfileRunsTheHandlers)
{
    storeProfile({{"FlatScrollBar3", "-10"},
                  {"Slider1", "50"},
                  {"lstSapi5", kKaterina},
                  {"Text11", "3"},
                  {"Combo1", "Среднее качество (64 kbps, 28 МБ/час)"},
                  {"Text3", " -b96 "}});
    ::Setup &w = setup();
    // Text11 alone names the page; a custom encoder line survives the preset restored just before it.
    EXPECT_EQ(QStringList({w.Text4->text(), w.Voice->CurrentVoice().id, main->panels.value(4),
                           QString::number(w.SSTab1->currentIndex()), main->panels.value(11),
                           QString::number(w.Combo1->currentIndex()), w.Text3->text()}),
              QStringList({"-10", "ru+f3", kKaterina, "3", "AMR", "1", " -b96 "}));
    EXPECT_EQ(tags(), tagsFor({50, -10, 0}, {100, 3, 5}, {70, 1, -5}));

    // A voice the engine lacks, or none, keeps the choice; a page that is none keeps the page.
    for (const char *voice : {"Нет такого голоса", ""}) {
        storeProfile({{"lstSapi5", QString::fromUtf8(voice)}, {"Text11", "9"}});
        w.LoadProfil();
        EXPECT_EQ(std::tuple(w.lstSapi5->currentRow(), w.Voice->CurrentVoice().id, w.SSTab1->currentIndex()),
                  std::tuple(1, QStringLiteral("ru+f3"), 3))
            << voice;
    }
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
}

TEST_F(SetupWindow, FormatPageWritesText11AndThePanel)
{
    ::Setup &w = setup();
    for (const auto &[page, panel] : {std::pair{2, "OGG"}, {5, "WMA"}, {0, "WAV"}}) {
        w.SSTab1->setCurrentIndex(page);
        EXPECT_EQ(w.Text11->text(), QString::number(page));
        EXPECT_EQ(main->panels.value(11), panel) << page;
    }
    // The engine version is not an output format: the panel stays.
    w.Option2->setChecked(true);
    w.Option3->setChecked(true);
    EXPECT_EQ(main->panels.value(11), "WAV");

    w.Combo1->setCurrentIndex(1);
    EXPECT_EQ(w.Text3->text(), " -b64 -h -m m  --strictly-enforce-ISO ");
    w.Combo1->setCurrentIndex(0);
    EXPECT_EQ(w.Text3->text(), " -b128 -h -m m --strictly-enforce-ISO ");
}

TEST_F(SetupWindow, MenusTurnPagesAndCloseOnlyHides)
{
    ::Setup &w = setup();
    for (const auto &[name, page] :
         {std::pair{"TablChange1", 1}, {"options", 2}, {"golos", 0}, {"help2", 0}}) {
        triggerAction(w, QString::fromLatin1(name));
        EXPECT_EQ(w.SSTab2->currentIndex(), page) << name;
    }
    triggerAction(w, QStringLiteral("Toolbar1_9"));
    EXPECT_EQ(main->help, QStringList({"Help9.rtf", "Help9.rtf"}));

    // Closing keeps the one instance and what was typed into it.
    w.show();
    w.Text28->setText(QStringLiteral("/книги"));
    EXPECT_FALSE(w.close() || w.isVisible());
    EXPECT_EQ(&setup(), &w);
    EXPECT_EQ(w.Text28->text(), "/книги");
}

TEST_F(SetupWindow, WorkingFolderChooserRefusesBlanksAndEndsOnCancel)
{
    ::Setup &w = setup();
    const QString warning = QStringLiteral(
        "Пробелы в названиии рабочего каталога и в пути к нему недопустимы! Укажите другой каталог, с более "
        "простым названием. Напимер, C:\\Аудиокниги");
    // {name, folder before, the chooser's answers in turn (an empty one is Cancel), after, warnings}
    const std::tuple<const char *, QString, QStringList, QString, int> cases[] = {
        {"cancel keeps the folder", "/книги", {""}, "/книги", 0},
        {"blank refused, then a good one", "", {"/home/u/Мои книги", "/home/u/Книги"}, "/home/u/Книги", 1},
        {"blank refused, then cancel", "/книги", {"/home/u/Мои книги", ""}, "/книги", 1},
        // An old path with a blank does not keep the chooser coming back.
        {"cancel with a blank already stored", "/мои книги", {""}, "/мои книги", 0},
    };
    for (const auto &[name, before, chosen, after, warnings] : cases) {
        SCOPED_TRACE(name);
        w.Text28->setText(before);
        main->panels.clear();
        scriptedPrompter().asked.clear();
        scriptedFileChooser().asked.clear();
        for (const QString &answer : chosen)
            scriptedFileChooser().names.enqueue(answer);
        triggerAction(w, QStringLiteral("Command11"));
        EXPECT_EQ(std::pair(w.Text28->text(), main->panels.value(3)),
                  std::pair(after, after == before ? QString() : after));
        ASSERT_EQ(scriptedFileChooser().asked.size(), chosen.size());
        // It opens where the folder is.
        EXPECT_EQ(std::pair(scriptedFileChooser().asked.at(0).title, scriptedFileChooser().asked.at(0).start),
                  std::pair(QStringLiteral("Укажите рабочий каталог"), before));
        EXPECT_EQ(errorsShown(), QStringList(warnings, warning));
    }
}
