#pragma once

#include "app/mainwindowport.h"
#include "platform/richtext/richtextbox.h"

#include <QMap>
#include <QStringList>
#include <QWidget>

// Stands in for the main window in the tests of the windows below it: records what they ask
// of it and holds an editor of its own.
class FakeMain : public QWidget, public MainWindowPort
{
public:
    FakeMain() : textBox(new RichTextBox(this))
    {
        setObjectName(QStringLiteral("MP3"));
        mainwindowport::set(this);
    }
    ~FakeMain() override
    {
        if (mainwindowport::get() == this)
            mainwindowport::set(nullptr);
    }

    QWidget &window() override { return *this; }
    void SetStatusBar() override {}
    void Dlitelnost() override { ++estimates; }
    void setStatusPanel(int panel, const QString &text) override { panels[panel] = text; }
    bool applyTextView() override { return true; }
    void showHelp(const QString &page) override { help.append(page); }
    void setToolbarEnabled(bool enabled) override { toolbarEnabled = enabled; }
    void releaseVoice() override { ++voiceReleases; }
    void endProgram() override { ++ends; }
    RichTextBox *editor() override { return textBox; }

    RichTextBox *textBox;
    QMap<int, QString> panels;
    QStringList help;
    int estimates = 0;
    bool toolbarEnabled = true;
    int voiceReleases = 0;
    int ends = 0;
};
