#pragma once

#include "app/mainwindowport.h"
#include "platform/text/preformat.h"
#include "settings/settingsstore.h"

#include <QColor>
#include <QHash>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolBar;
class RichTextBox;
namespace speech {
class Voice;
}

// The main window: the book editor with its toolbar, status bar and hidden panels.
class MainWindow : public QWidget, public MainWindowPort, public DesignOrder
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Brings the program up: the settings window, the stored profile, the last text.
    void form_load();
    // Lays the editor out between the toolbar and the status bar.
    void Form_Resize();
    // "ВЫХОД": asks when confirmations are on, saves this window's settings, silences
    // the voice and ends the program.
    void ExitProgramm_Click();

    // Document commands.
    void OpenTextFile();
    // Opens `path` as "Открыть" does: the editor takes the book pre-formatted (an e-book as a
    // new text titled after the book), or a book that cannot be read or is refused is
    // reported and changes nothing.
    bool openBook(const QString &path) override;
    void SaveText();
    void SaveTextAs();
    void SaveRtfAs();
    void ClearText_Click();
    void AddToPaket();
    // Normalises a text just opened; the progress panel shows it and Check4 cancels it.
    void PreFormat() override;

    // Recording commands.
    void MakeBook();
    void MakePaket();
    // BlockLimit from the block length in minutes and the speech rate.
    void SetFragmentSize();
    // Fills the replacement list for the voice the status bar names.
    void LoadVoiceDic();
    // Writes the editor's text to `path` as a text file; a failure is reported.
    bool saveEditorTo(const QString &path);
    // The user changed the editor's text since it was opened or saved.
    bool textChanged = false;
    // The editor holds its file pre-formatted, not as the file has it; a bookmark says so, so
    // that its caret finds the same text again.
    bool textPreformatted = false;
    // Inserts the stress mark ">" where the editor was double-clicked.
    void RichTextBox2_DblClick(int position);

    // Appearance: toolbar captions and icon size, editor font, background and margin.
    void ShowButtonCaptions();
    void HideButtonCaptions();
    void znachki1_Click();
    void znachki2_Click();
    void SetPic();
    void SelFont() override;
    void FonColor_Click() override;
    void onstup0_Click() override;
    void otstup1_Click() override;
    void otstup2_Click() override;

    // Menus and toolbar. A command is named by its menu item's objectName; its menu item
    // and toolbar button stay disabled until the command is given here.
    void enableCommand(const QString &name, std::function<void()> run);
    void runCommand(const QString &name);
    void Toolbar1_ButtonClick(int index);
    // The about box.
    void menu6_1_Click();

    // Reading aloud: the selection, or the text paragraph by paragraph from the caret with
    // the paragraph being spoken highlighted. The editor is locked while it runs. It starts
    // the reading and returns: the reading goes on from the voice's end of each paragraph.
    void ReadAloud();
    // Silences the voice, ends a running reading and writes the book's bookmark.
    void StopReading();
    // Pauses a running reading, or resumes a paused one ("Пауза", F11 during a reading).
    void PauseReading();

    // Bookmarks panel.
    void zakladki_Click();
    void Command2_Click();
    void File2_DblClick();
    void Command1_Click();
    void Command10_Click();
    // Reopens the book of the bookmark selected in File2 at its caret offset.
    void OpenZakladka();
    // Profiles menu (profilemenu.cpp): switches to profile 1..4 without asking and
    // without saving the profile being left.
    void User1_Click();
    void User2_Click();
    void User3_Click();
    void User4_Click();
    // Adds the four profile commands "User1".."User4" (Ctrl+F1..Ctrl+F4) to a menu.
    void addProfileActions(QMenu &menu);

    // MainWindowPort
    QWidget &window() override { return *this; }
    void SetStatusBar() override;
    void Dlitelnost() override;
    void setStatusPanel(int panel, const QString &text) override;
    bool applyTextView() override;
    void setToolbarEnabled(bool enabled) override;
    void stopVoice() override;
    void endProgram() override { endProcess(); }
    void showHelp(const QString &page) override;
    RichTextBox *editor() override { return RichTextBox2; }
    MainPanels mainPanels() override { return m_panels; }

    QList<QWidget *> controlsInDesignOrder() const override;

    // What ends the process once the exit is decided; tests replace it.
    std::function<void()> endProcess;

    std::unique_ptr<speech::Voice> Voice;

    QMenuBar *menuBar = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QList<QLabel *> statusPanels; // panel i is statusPanels[i - 1]
    RichTextBox *RichTextBox2 = nullptr;

    // Progress panel of long text operations.
    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QCheckBox *Check4 = nullptr;
    // Word-finder options and bookmarks panels.
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame5 = nullptr;

    // Hidden controls kept in the profile.
    QLineEdit *Text7 = nullptr; // path of the text last opened
    QLineEdit *Text8 = nullptr; // its title
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check2 = nullptr;  // small toolbar icons
    QLineEdit *Text4 = nullptr;   // left margin of the editor, twips
    QCheckBox *Check1 = nullptr;  // toolbar captions hidden
    QLineEdit *Text3 = nullptr;   // editor background colour
    QLineEdit *Text2 = nullptr;   // editor font size
    QLineEdit *Text1 = nullptr;   // editor font name
    QListWidget *File2 = nullptr; // bookmark files

    // Buttons of the bookmarks panel.
    QPushButton *Command2 = nullptr;  // open the selected bookmark
    QPushButton *Command1 = nullptr;  // delete it
    QPushButton *Command10 = nullptr; // close the panel

    // State of a reading aloud: 1 while it runs; the paragraph being read.
    std::int16_t IsReading = 0;
    std::int32_t ReadStart = 0;
    std::int32_t ReadEnd = 0;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // The text view's background shows in the margin beside the editor too.
    void paintEvent(QPaintEvent *event) override;

private:
    MainPanels m_panels;
    void createStatusBar();
    void createBookmarksPanel();
    // Pre-formats the editor's text under the progress panel (PreFormat: as needed).
    void preformatEditor(preformat::Mode mode);

    // The e-book whose text the editor holds. It is never written: CurTextPath names no file
    // until the text is saved as one. Empty once a text is opened or the editor cleared.
    QString m_eBook;
    bool holdsEBook() const;
    // Where the editor's book comes from, for a bookmark and the next start: its text file,
    // or the e-book it was read from.
    QString bookSource() const;
    // Reads the e-book at `path` (or refuses a file that is no text) under the progress panel,
    // where Check4 cancels, and makes its text the editor's, titled `title` or else after the
    // book. Nothing changes when the book is refused (told) or its reading cancelled.
    bool loadEBook(const QString &path, const QString &title = {});
    // "Сохранить TXT как...": the text file the user chooses, proposed beside the e-book the
    // editor holds; false when nothing was saved.
    bool saveAsText();

    // The voice a reading speaks through: the shared voice of the settings window once a
    // reading has bound it, else this window's own (nothing after a stop released it).
    speech::Voice *readingVoice() const;
    void releaseVoice();
    int bookmarkCaret() const;
    // Takes the reading's highlight away and leaves the caret at the paragraph it marked.
    void leaveReadingMark();
    class Reader;
    std::unique_ptr<Reader> m_reader;

    bool voiceBound = false;
    // The start-up reopened a text with damaged bytes: told once the window is up.
    bool m_tellStartDamage = false;
    QString m_startFailure;               // why the last book could not be opened at the start
    std::optional<QString> m_startReport; // an overnight batch's report, told at the start
    // The book the command line named, opened once the window is up.
    QString m_openAtStart;
    // The paragraph a reading left the caret at, until the caret moves: the editor cannot
    // put its caret between a CR and its LF, where a paragraph begins, so the bookmark would
    // otherwise point one character past it.
    int m_readingLeftAt = -1;
    void createMenus();
    void createToolbar();
    void connectCommands();

    QHash<QString, std::function<void()>> m_commands;
    QColor m_textBackground; // invalid until a text view is applied
    int imageList = 1;       // the toolbar's icons: 1 large, 2 small
};

// The default instance: created and loaded on first use (the program's start).
MainWindow &MP3();

// The book named on the command line (a desktop's "Open with"): the start opens it as
// "Открыть" does once the window is shown, in place of the silent reopen of the last book.
// Set before the window is first used.
void setStartupBook(const QString &path);

// Sets CharsPerMin from the settings window's narration rate; any other rate keeps it.
void SetKoeff();
