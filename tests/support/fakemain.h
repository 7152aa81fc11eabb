#pragma once

#include "app/busy.h"
#include "app/mainwindowport.h"
#include "platform/richtext/richtextbox.h"
#include "support/fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QProgressBar>
#include <QStringList>
#include <QWidget>

#include <memory>

// Stands in for the main window as the port and records what the other windows ask of it.
class FakeMain : public QWidget, public MainWindowPort
{
public:
    FakeMain() : textBox(new RichTextBox(this))
    {
        setObjectName(QStringLiteral("MP3"));
        busy::holdEditor(textBox);
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
    void SelFont() override { views.append("SelFont"); }
    void FonColor_Click() override { views.append("FonColor_Click"); }
    void onstup0_Click() override { views.append("onstup0_Click"); }
    void otstup1_Click() override { views.append("otstup1_Click"); }
    void otstup2_Click() override { views.append("otstup2_Click"); }
    void setToolbarEnabled(bool enabled) override { toolbarEnabled = enabled; }
    void stopVoice() override { ++voiceStops; }
    RichTextBox *editor() override { return textBox; }
    void PreFormat() override { ++preformats; }
    bool openBook(const QString &path) override
    {
        opened.append(path);
        return true;
    }
    MainPanels mainPanels() override
    {
        if (!m_panels.Frame1) {
            m_panels.Frame1 = new QGroupBox(this);
            m_panels.Label1 = new QLabel(m_panels.Frame1);
            m_panels.ProgressBar1 = new QProgressBar(m_panels.Frame1);
            m_panels.Check4 = new QCheckBox(m_panels.Frame1);
            m_panels.Check4->setObjectName(QStringLiteral("Check4"));
            m_panels.Frame2 = new QGroupBox(this);
            createFinderOptions(m_panels);
        }
        return m_panels;
    }
    void endProgram() override { ++ends; }

    QMap<int, QString> panels;
    QStringList help;
    QStringList opened; // the books opened as "Открыть" does
    RichTextBox *textBox;
    QStringList views; // the look commands the settings window forwarded
    int estimates = 0;
    bool toolbarEnabled = true;
    int voiceStops = 0;
    int ends = 0;
    int preformats = 0;

private:
    MainPanels m_panels;
};

// A test of a window that reaches the main window through the port, with a fake one.
class FakeMainTest : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        main = std::make_unique<FakeMain>();
    }
    void TearDown() override
    {
        QuenvaleTest::TearDown();
        main.reset();
    }

    std::unique_ptr<FakeMain> main;
};
