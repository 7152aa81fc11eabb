#pragma once

#include "app/mainwindowport.h"

#include <QWidget>

// Stands in for the main window: records what the recording asks of it.
class FakeMain : public QWidget, public MainWindowPort
{
public:
    FakeMain()
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
    void Dlitelnost() override {}
    void setStatusPanel(int, const QString &) override {}
    bool applyTextView() override { return true; }
    void showHelp(const QString &) override {}
    void setToolbarEnabled(bool enabled) override { toolbarEnabled = enabled; }
    void releaseVoice() override { ++voiceReleases; }
    void endProgram() override { ++ends; }

    bool toolbarEnabled = true;
    int voiceReleases = 0;
    int ends = 0;
};
