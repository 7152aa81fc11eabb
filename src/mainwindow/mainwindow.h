#pragma once

#include "app/mainwindowport.h"
#include "settings/settingsstore.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
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
    void SaveText();
    void SaveTextAs();
    void SaveRtfAs();
    void ClearText_Click();
    void AddToPaket();
    // Normalises a text just opened; the progress panel shows it and Check4 cancels it.
    void PreFormat() override;
    // Inserts the stress mark ">" where the editor was double-clicked.
    void RichTextBox2_DblClick(int position);

    void ShowButtonCaptions();
    void HideButtonCaptions();
    void znachki1_Click();
    void znachki2_Click();

    // MainWindowPort
    QWidget &window() override { return *this; }
    void SetStatusBar() override;
    void Dlitelnost() override;
    void setStatusPanel(int panel, const QString &text) override;
    bool applyTextView() override;
    void showHelp(const QString &page) override;
    RichTextBox *editor() override { return RichTextBox2; }

    QList<QWidget *> controlsInDesignOrder() const override;

    // What ends the process once the exit is decided; tests replace it.
    std::function<void()> endProcess;

    std::unique_ptr<speech::Voice> Voice;

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

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createStatusBar();
};

// The default instance: created and loaded on first use (the program's start).
MainWindow &MP3();

// Sets CharsPerMin from the settings window's narration rate; any other rate keeps it.
void SetKoeff();
