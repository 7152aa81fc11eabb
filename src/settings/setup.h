#pragma once

#include "app/toolwindow.h"
#include "settings/settingsstore.h"

#include <QWidget>

#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTabWidget;
class QToolBar;
class QVBoxLayout;
namespace speech {
class Voice;
}

// The settings window: every setting of the program is one of its controls, read by the
// other windows at the moment they need it. Its change handlers keep the labels, the
// text boxes, the main window's status bar and the prosody tags in step, whether the
// user or a restored profile changed the control.
class Setup : public ToolWindow, public DesignOrder
{
    Q_OBJECT
public:
    explicit Setup(QWidget *parent = nullptr);
    ~Setup() override;

    QList<QWidget *> controlsInDesignOrder() const override;

    // Applies the current profile to this window and to the main window.
    void LoadProfil();
    // Profiles (profiles.cpp). The menu item of profile 1..4: switches to it without
    // asking and without saving the profile being left.
    void User_Click(int number);
    // Toolbar1 by 1-based button index: 1-4 switch profile (asking first), 6 saves the
    // profile, 7 puts the defaults back, 9 shows help; 5 and 8 are separators.
    void Toolbar1_ButtonClick(int index);
    // Selects the voice at the list's position, remembers it, shows it in the status
    // bar and rebuilds the tags; tells the user to check the engine when that fails.
    void lstSapi5_Click();
    // Re-selects the listed voice into Voice and rebuilds the five prosody tag strings.
    // Every caller that speaks runs it first.
    void Tembrs();
    // Fills the wave-format list.
    void AddItemToFmtCB();
    void AddFmts(const QString &name, int value);
    // The test phrase in all five timbres, and its stop.
    void Command22_Click();
    void Command55_Click();
    // The working folder: a folder chooser, asked until it returns a path without a blank
    // or is cancelled; the path goes into Text28 and the main status bar.
    void Command11_Click();
    // The chosen folder's path, or an empty text when the user cancels.
    QString BrowseForFolder(const QString &title);

    // The one speaking voice of the program; empty when no speech engine or no voice
    // could be found.
    std::unique_ptr<speech::Voice> Voice;

    QLineEdit *profil = nullptr;  // current profile name, never stored
    QToolBar *Toolbar1 = nullptr; // profile buttons: the current one is down
    QMenu *prof = nullptr;        // "Профили"
    QTabWidget *SSTab2 = nullptr; // pages "голос", "запись", "опции"
    QMenuBar *menuBar = nullptr;

    // Page "голос".
    QListWidget *lstSapi5 = nullptr;
    QScrollBar *FlatScrollBar3 = nullptr; // rates: narration, dialogue, comment
    QScrollBar *FlatScrollBar4 = nullptr;
    QScrollBar *FlatScrollBar5 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text6 = nullptr;
    QScrollBar *FlatScrollBar6 = nullptr; // pitches: narration, dialogue, comment
    QScrollBar *FlatScrollBar7 = nullptr;
    QScrollBar *FlatScrollBar8 = nullptr;
    QLineEdit *Text7 = nullptr;
    QLineEdit *Text8 = nullptr;
    QLineEdit *Text9 = nullptr;
    QGroupBox *Frame6 = nullptr;
    QSlider *Slider1 = nullptr; // volumes: narration, dialogue, comment
    QSlider *Slider2 = nullptr;
    QSlider *Slider3 = nullptr;
    QScrollBar *FlatScrollBar2 = nullptr;  // pause between paragraphs, ms
    QScrollBar *FlatScrollBar11 = nullptr; // pause after "!" and "?", ms
    QScrollBar *FlatScrollBar12 = nullptr; // pause after an ellipsis, ms
    QLabel *Label14 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label10 = nullptr;
    QPushButton *Command22 = nullptr;
    QPushButton *Command55 = nullptr;
    QRadioButton *Option1 = nullptr; // the dictionary editor's engine version
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;

    // Page "запись".
    QGroupBox *Frame11 = nullptr;
    QTabWidget *SSTab1 = nullptr;         // output format: WAV, MP3, OGG, AMR, VMO, WMA
    QLineEdit *Text11 = nullptr;          // SSTab1's page as text, restored with the profile
    QComboBox *FormatCB = nullptr;        // wave format; item data = its type number
    QComboBox *Combo1 = nullptr;          // MP3 preset
    QLineEdit *Text3 = nullptr;           // MP3 encoder options
    QLineEdit *Text12 = nullptr;          // OGG encoder options
    QRadioButton *Option5 = nullptr;      // AMR 12.2 kbit/s
    QRadioButton *Option6 = nullptr;      // AMR 4.75 kbit/s
    QCheckBox *Check7 = nullptr;          // keep the AMR conversion's MP3 files
    QCheckBox *Check8 = nullptr;          // keep the VMO conversion's WAV files
    QScrollBar *FlatScrollBar1 = nullptr; // block length, minutes
    QLabel *Label20 = nullptr;
    QLineEdit *Text28 = nullptr; // working folder
    QPushButton *Command11 = nullptr;
    QScrollBar *FlatScrollBar9 = nullptr;  // extra silence at a block's start, s
    QScrollBar *FlatScrollBar10 = nullptr; // extra silence at a block's end, s
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;

    // Page "опции".
    QPushButton *Command10 = nullptr; // main window's text view: margins, colour, font
    QPushButton *Command9 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command3 = nullptr;
    QCheckBox *Check5 = nullptr; // show tooltips
    QLineEdit *Text14 = nullptr; // MP3 tag title
    QLineEdit *Text10 = nullptr; // MP3 tag artist
    QCheckBox *Check1 = nullptr; // "Предупреждения": ask for confirmations
    QCheckBox *Check3 = nullptr; // end-of-recording sound
    QCheckBox *Check4 = nullptr; // keep the block texts
    QCheckBox *Check6 = nullptr; // book title in block names
    QCheckBox *Check2 = nullptr; // spoken block numbers
    QLineEdit *Text21 = nullptr; // program copies recording one book
    QLineEdit *Text24 = nullptr; // this copy's number

private:
    friend Setup &setup();
    void formLoad();

    QWidget *createVoicePage();
    QWidget *createRecordingPage();
    QWidget *createOptionsPage();
    void createMenus();
    void createProfiles(QVBoxLayout &layout);
    void pressProfileButton(int number);
    void SaveProfil();
    void SetDefaults();
    void connectHandlers();
    void nameControls();
    void connectFolderAndViewButtons();

    bool selectListedVoice();
    void rateChanged(QLineEdit *text, int panel, int value);
    void pitchChanged(QLineEdit *text, int panel, int value);
    void blockLengthChanged(int value);
    void formatPageChanged(int page);
    void presetChanged(int index);

    std::int16_t rememberedVoice = -1;
};

// The default instance, created hidden and loaded on first use.
Setup &setup();
