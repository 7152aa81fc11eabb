#pragma once

#include "app/toolwindow.h"
#include <QWidget>

class QAction;
class QLabel;
class QListWidget;
class QMenuBar;
class QStatusBar;
class QToolBar;

// Compares two dictionary files entry by entry and saves what it found.
class DictionaryComparer : public ToolWindow
{
    Q_OBJECT
public:
    explicit DictionaryComparer(QWidget *parent = nullptr);

    void LoadFirstDic();
    void LoadSecondDic();
    void compare1_Click(); // matching entries
    void compare2_Click(); // entries one of the two lacks
    void compare3_Click(); // entries of the first the second lacks
    void compare4_Click(); // entries of the second the first lacks
    void compare5_Click(); // both, sorted
    void SaveCompareResult();

    bool comparing() const { return m_running; }

    QListWidget *ListView1 = nullptr;
    QListWidget *ListView2 = nullptr;
    QListWidget *ListView3 = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *panels[3] = {};
    QMenuBar *menuBar = nullptr;

private:
    enum class Kind
    {
        Matching,
        NonMatching,
        FirstOnly,
        SecondOnly,
        Sum
    };
    void load(QListWidget *list, QLabel *panel);
    void compare(Kind kind);
    void setRunning(bool running);

    QList<QAction *> m_buttons;
    QList<QAction *> m_items;
    QAction *m_stop = nullptr;
    bool m_running = false;
    bool m_sorted = false;
};

// The default instance, created on first use.
DictionaryComparer &DicCompare();
