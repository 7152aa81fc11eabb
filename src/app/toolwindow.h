#pragma once

#include <QWidget>

class QToolBar;

// A tool window of the program: closing it from its title bar or with Escape only hides it,
// so its lists, boxes and texts wait for the next showing. Its tool bars are reached from the
// keyboard as keyboardreach::reachToolBars makes them.
class ToolWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ToolWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
};

// What keyboard and screen-reader users need of every window.
namespace keyboardreach {

// Every button of `bar` takes the focus in the Tab order, clicks on Return and Enter as on
// Space, and is named by its tool tip (else its caption), so hiding captions keeps its name.
void reachToolBar(QToolBar &bar);
// reachToolBar for every tool bar inside `window`.
void reachToolBars(QWidget &window);
// Escape that no control of `window` takes closes it, as its title bar's close button does.
void closeOnEscape(QWidget &window);
// The program's top-level windows are told to assistive technology as windows, not fillers.
void exposeWindowRoles();

} // namespace keyboardreach
