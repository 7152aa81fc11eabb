#pragma once

#include "app/mainwindowport.h"
#include "platform/richtext/richtextbox.h"

#include <QStringList>
#include <QWidget>

// Stands in for the main window: an editor the text tools work on, and the help pages
// they ask for.
class FakeMain : public QWidget, public MainWindowPort
{
public:
    FakeMain() : box(new RichTextBox(this)) { mainwindowport::set(this); }
    ~FakeMain() override
    {
        if (mainwindowport::get() == this)
            mainwindowport::set(nullptr);
    }

    QWidget &window() override { return *this; }
    void SetStatusBar() override {}
    void Dlitelnost() override {}
    void setStatusPanel(int, const QString &) override {}
    bool applyTextView() override { return true; }
    void showHelp(const QString &page) override { help.append(page); }
    RichTextBox *editor() override { return box; }

    RichTextBox *box;
    QStringList help;
};
