#pragma once

#include "app/toolwindow.h"
#include "dictionaries/checktools.h"

#include <QListWidget>
#include <QPointer>
#include <QWidget>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QRadioButton;
class QToolBar;
class RichTextBox;
namespace speech {
class Voice;
}

// The dictionary list: records the text of an item as the user starts editing it, so
// the old text can be logged when the edit ends.
class DictionaryList : public QListWidget
{
    Q_OBJECT
public:
    explicit DictionaryList(QWidget *parent = nullptr);

Q_SIGNALS:
    // An in-place edit changed an item's text; `before` is the text it had.
    void edited(const QString &before);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

private:
    QPersistentModelIndex m_editing;
    QString m_before;
};

// The exception-dictionary editor: the dictionary as a list of entry lines, the word and
// its stressed pronunciation being composed, the logs of every change, the copies on disk
// and the engine reload.
class DictionaryEditor : public ToolWindow
{
    Q_OBJECT
public:
    explicit DictionaryEditor(QWidget *parent = nullptr);
    ~DictionaryEditor() override;

    // Public procedures other windows call.
    // Loads the program copy when the list is empty (falling back to the base dictionary).
    void Autoload_DIC();
    // True when the list holds a dictionary: it has entries, or a file read into it, even
    // an empty one.
    bool loaded() const;
    // Writes the engine copy and the program copy and makes the engine read the new one.
    void SaveDic();
    // Switches the shared voice away from the dictionary voice.
    void ReloadVoice();
    // Takes the main editor's selection into the word box and the pronunciation editor.
    void PastWordDic();

    // Commands of the window.
    void NewDic();
    void LoadEngineDic();
    void AddWordDic();
    void SetStress();
    void SayWordDic();
    void FindWordDic();
    void DeleteRecord();
    // The user chose engine version 1 to 3.
    void chooseEngineVersion(int version);
    // Shows the settings window's engine version in this window's controls.
    void showEngineVersion();

    // Check tools (menu "Проверка") and imports (menu "Импорт").
    void DelDublDic();
    void FindOverlapDic();
    void FindHomographDic();
    void SplitVariantsDic();
    void menu2_5_Click();
    void FindOneSyllableDic();
    void menu2_8_Click();
    void Sel_yo_Click();
    void find2_Click();
    void ImportAutoReplaceDic();
    void ImportOldDic();
    // True while a check tool runs: commands that change the list are refused meanwhile.
    bool toolRunning() const { return m_toolRunning; }

    // The version set in this window (0: none).
    int engineVersion() const;
    // The current record, 1-based (0: none).
    int currentRecord() const;

    DictionaryList *ListView1 = nullptr;
    QListWidget *ListView2 = nullptr;
    QLineEdit *Text1 = nullptr;
    RichTextBox *RichTextBox1 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLabel *Label3 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QToolBar *Toolbar2 = nullptr;
    QToolBar *Toolbar3 = nullptr;
    QMenuBar *menuBar = nullptr;
    // The settings window's shared voice, attached at load.
    speech::Voice *Voice = nullptr;

private:
    void showVersionIcon();
    friend DictionaryEditor &DicEdit();
    void formLoad();
    void createToolbars();
    void createMenus();
    QAction *toolButton(QToolBar *bar, int index, const QString &caption, const QString &tip);

    // True when the list may not change now: a check tool holds it until it puts its result
    // back, or a running job holds the dictionary (the user is told).
    bool refusesEdit();
    QStringList listEntries() const;
    void appendEntries(const QStringList &entries);
    void showCount();
    void makeCurrent(int record);
    bool SaveEngineDic();
    bool SaveDicCopy();
    bool SelectDicVoice();
    bool reloadVoice();
    bool speakChecked(const QString &text);
    QString spokenPronunciation() const;
    void appendLog(const QString &name, const QString &line);
    void voiceFailed(const QString &message);
    void recordClicked(QListWidgetItem *item, bool doubleClick);
    void editorClicked();

    friend class ToolRun;
    void setRecords(const QStringList &records);
    // Answers a check tool's offer with the user's Yes or No, the record shown.
    checktools::Ask askEachRecord();
    void moveRecords(const QString &file, const QStringList &lines, const QStringList &rest);

    QList<QAction *> m_toolbar1;
    QList<QAction *> m_toolbar2;
    QString m_lastEntry;
    bool m_toolRunning = false;
    bool m_fileRead = false;
};

// The default instance, created and loaded on first use.
DictionaryEditor &DicEdit();
