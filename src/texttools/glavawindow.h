#pragma once

#include "app/toolwindow.h"
#include <QList>
#include <QString>
#include <QWidget>

class QAction;
class QCheckBox;
class QLineEdit;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
namespace texttools {
class EventPump;
}

// "Разделение аудиокниги на главы": finds chapter headings in the main text by the ticked
// kinds, lists them with their size, and puts the chapter marker before the ticked ones.
class GlavaWindow : public ToolWindow
{
    Q_OBJECT
public:
    explicit GlavaWindow(QWidget *parent = nullptr);
    ~GlavaWindow() override;

    // Clears the list and searches every ticked kind; "Не найдено" when nothing is found.
    // Called while a search runs, it makes that search start over.
    void SearchAllChapters();
    // Adds a row for every heading of `pattern` in the main text.
    void PoiskGlav(const QString &pattern);
    void FillMinutesColumn();
    // Inserts the marker before every ticked heading, then offers to save the book.
    void MarkChapters();
    // A click on a row: shows its heading in the main text; an unticked row is removed.
    void ListView1_Click();
    void Toolbar1_ButtonClick(int button);
    void Check13_Click();

    QAction *button(int button) const;
    // Box `box` (1..13).
    QCheckBox *check(int box) const;
    bool busy() const { return m_searching; }

    // Column of ListView1.
    enum Column
    {
        TextColumn,
        PosColumn,
        MinutesColumn
    };

    QToolBar *Toolbar1 = nullptr;
    QTreeWidget *ListView1 = nullptr;
    QList<QCheckBox *> Checks; // Check1..Check13
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;

private:
    // One full search; false when a box click asked it to start over.
    bool searchOnce();
    // The headings of one pattern in m_text; false when the search must start over.
    bool searchPattern(const QString &pattern, texttools::EventPump &pump);
    void addHeading(qsizetype offset, const QString &pattern);

    QList<QAction *> m_buttons;
    QList<qsizetype> m_offsets; // offset of each row, ascending like the rows
    QString m_text;             // the main text while a search runs
    bool m_searching = false;
    bool m_restart = false;
    bool m_tickChanged = false; // a box of a row changed in the click being handled
    qsizetype m_lastHit = -1;
    qsizetype m_lastLength = 0;
};

// The default instance, created (hidden) on first use.
GlavaWindow &glava();
