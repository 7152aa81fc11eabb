#pragma once

#include "app/toolwindow.h"
#include <QWidget>

class QLabel;
class QListWidget;
class QStatusBar;
class QToolBar;

// "Анализ омографов": the homograph list with check boxes, the occurrences of the checked
// words in the main text, and the red marking of every homograph there.
class HomographWindow : public ToolWindow
{
    Q_OBJECT
public:
    explicit HomographWindow(QWidget *parent = nullptr);

    // Fills the list from DIC/homograph.txt (a missing file leaves it empty).
    void formLoad();

    // Toolbar commands.
    void checkAll(bool checked);
    void FindHomographs();
    void SaveHomographResults();
    // Marks every homograph of the list in the main text red and bold.
    void MarkHomograph();

    QListWidget *ListView1 = nullptr;
    QListWidget *ListView2 = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QStatusBar *StatusBar2 = nullptr;
    QLabel *statusPanel1 = nullptr;

private:
    void speakSelected();
    bool m_searching = false;
    bool m_marking = false;
    int m_lastSpoken = -1; // the row of ListView2 spoken last, not spoken again at once
};

// The default instance, created and loaded on first use.
HomographWindow &Homograph();
