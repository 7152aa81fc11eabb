#pragma once

#include "app/toolwindow.h"
#include "platform/text/estimate.h"
#include <QWidget>

class QAction;
class QCloseEvent;
class QComboBox;
class QFileSystemModel;
class QFileSystemWatcher;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStatusBar;
class QToolBar;
class QTimer;
class QTreeView;
class RichTextBox;

// "БИБЛИОТЕКАРЬ": browses a folder of book files, previews one with its size and playing
// time, finds the next file holding up to four terms in order, deletes a file, opens one
// in the main window or adds a copy to the working folder for the batch.
//
// The file being previewed or searched is the window's own: the current book (CurTextPath,
// BookTitle) changes only when a file is opened or added.
class Library : public ToolWindow
{
    Q_OBJECT
public:
    explicit Library(QWidget *parent = nullptr);

    // Dir1_Change: the folder whose files File1 lists.
    void setFolder(const QString &path);
    QString folder() const { return m_folder; }
    // The full path of the file selected in File1, or empty.
    QString selectedPath() const;

    // Toolbar1, dispatched on the 1-based button number.
    void Toolbar1_ButtonClick(int index);
    void SearchInFiles();
    void DeleteTextFile();
    void AddToWorkFolder();
    void OpenInMainWindow();
    void ShowLibraryHelp();

    QToolBar *Toolbar1 = nullptr;
    QAction *stopButton = nullptr; // button 2, "Остановить": down asks a search to stop
    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QListWidget *File1 = nullptr;
    RichTextBox *Text1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QList<QLineEdit *> terms; // Text2..Text5
    QStatusBar *StatusBar1 = nullptr;
    QList<QLabel *> statusPanels; // panel i is statusPanels[i - 1]

private:
    void Drive1_Change(int index);
    void File1_Click();
    void ShowFileInfo(const QString &path);
    void showFigures(const estimate::Figures &figures);
    void fillFiles();
    // The main text, and in `path` the file selected in File1; nothing, after saying so,
    // when no file is selected.
    RichTextBox *mainTextForSelected(QString &path) const;

    QFileSystemModel *m_folders = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_refresh = nullptr;
    QString m_folder;
    bool m_searching = false;
};

// The default instance, created on first use.
Library &biblioteka();
