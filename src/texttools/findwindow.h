#pragma once

#include "app/toolwindow.h"
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "texttools/replacelist.h"

#include <cstdint>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolBar;
class RichTextBox;

// "Поиск / Замена": finds and replaces in the main text, and holds the voice replacement
// list that the recording applies (ListView1) with the commands to load, edit, save and
// run it over the main text.
class FindWindow : public ToolWindow
{
    Q_OBJECT
public:
    explicit FindWindow(QWidget *parent = nullptr);
    ~FindWindow() override;

    // The search bar.
    void FindNext();
    void ReplaceOne();
    void ReplaceAll();
    void GoToStart();
    void Toolbar2_ButtonClick(int button);

    // The list bar.
    void OpenReplaceList();
    void AutoLoadScroll();
    void SaveReplaceList();
    void AddEntry();
    void RemoveEntry();
    void ReplaceScroll();
    void Toolbar1_ButtonClick(int button);

    // Replaces the list with the entry lines of a list file. A file that cannot be read
    // leaves the list as it was and returns false; `error` says why.
    bool loadList(const QString &path, QString *error = nullptr);
    // The list's lines in list order.
    QStringList entries() const;

    // Button `button` (1-based) of the search bar or of the list bar.
    QAction *searchButton(int button) const;
    QAction *listButton(int button) const;

    // True while a replace-all or a list run works on the main text.
    bool busy() const { return m_busy; }

    QToolBar *Toolbar2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QListWidget *ListView1 = nullptr;

    bool NotFoundFlag = false;
    std::int16_t CurEntry = 0; // 1-based row of the selected entry, 0 when none

private:
    struct Hit
    {
        int start;
        int length;
    };

    void showListPart(bool shown);
    void followSelection();
    Qt::CaseSensitivity caseMode() const;
    // The main editor, watched for the books loaded into it.
    RichTextBox *searchedEditor();
    void findNext(const QString &what, Qt::CaseSensitivity cs);
    void replaceOne(const QString &what, const QString &with, Qt::CaseSensitivity cs);
    // The end of a search: "не найдено", the caret at the start, NotFoundFlag set.
    void notFound(RichTextBox &editor);
    // The replacements of one entry: where each went, in the text as it was then.
    struct Pass
    {
        replacelist::Entry entry;
        QList<qsizetype> hits;
    };
    void applyPasses(RichTextBox &editor, const QList<Pass> &passes);

    QList<QAction *> m_searchButtons;
    QList<QAction *> m_listButtons;
    std::optional<Hit> m_lastHit;
    QPointer<RichTextBox> m_searched;
    bool m_busy = false;
    bool m_disturbed = false; // something changed the editor while a list run let events through
};

// The default instance, created (hidden) on first use.
FindWindow &Find();
