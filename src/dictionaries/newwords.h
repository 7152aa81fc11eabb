#pragma once

#include "app/toolwindow.h"
#include <QWidget>

class QAction;
class QGroupBox;
class QLabel;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class RichTextBox;

// "Поиск новых слов": the words the finder found, listened to one by one, with the entry
// line that sends a stressed pronunciation to the exception dictionary.
class NewWordsWindow : public ToolWindow
{
    Q_OBJECT
public:
    explicit NewWordsWindow(QWidget *parent = nullptr);

    // Replaces the list with `words` and shows their number.
    void fill(const QStringList &words);
    // Speaks the pronunciation part of the entry line.
    void SpeakNewWord();

    // Toolbar2 commands, buttons 2 to 7 (button 1 is the "регистр" toggle).
    void insertStress();
    void addToDictionary();
    void addToHomographs();
    void findInText();
    void addToErrors();
    // Menu "Файл": appends every word of the list to a chosen file.
    void saveList();

    QTreeWidget *ListView1 = nullptr;
    RichTextBox *RichTextBox1 = nullptr;
    QToolBar *Toolbar2 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QList<QLabel *> statusPanels; // panel i is statusPanels[i - 1]
    QGroupBox *Frame1 = nullptr;

private:
    void listen();
    QString selectedWord() const;
    QAction *m_ignoreCase = nullptr;
    int m_lastSpoken = -1; // the row spoken last, not spoken again at once
};

// The default instance, created on first use.
NewWordsWindow &NewNames();
