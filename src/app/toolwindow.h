#pragma once

#include <QWidget>

// A tool window of the program: closing it from its title bar only hides it, so its lists,
// boxes and texts wait for the next showing.
class ToolWindow : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void closeEvent(QCloseEvent *event) override;
};
