#pragma once

#include "app/mainwindowport.h"
#include "platform/richtext/richtextbox.h"

#include <QMap>
#include <QStringList>
#include <QWidget>

// Stands in for the main window of the doctor and library tests: a real main text box,
// and a record of what the tool windows asked of the main window.
class FakeMainText : public QWidget, public MainWindowPort
{
public:
    FakeMainText() : text(new RichTextBox(this)) { mainwindowport::set(this); }
    ~FakeMainText() override
    {
        if (mainwindowport::get() == this)
            mainwindowport::set(nullptr);
    }

    QWidget &window() override { return *this; }
    void SetStatusBar() override {}
    void Dlitelnost() override { ++estimates; }
    void setStatusPanel(int panel, const QString &value) override { panels[panel] = value; }
    bool applyTextView() override { return true; }
    void showHelp(const QString &page) override { help << page; }
    void SelFont() override {}
    void FonColor_Click() override {}
    void onstup0_Click() override {}
    void otstup1_Click() override {}
    void otstup2_Click() override {}
    void PreFormat() override { ++preformats; }
    RichTextBox *editor() override { return text; }

    RichTextBox *text;
    QMap<int, QString> panels;
    QStringList help;
    int estimates = 0;
    int preformats = 0;
};
