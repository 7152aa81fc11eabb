#pragma once

#include "app/mainwindowport.h"
#include "platform/richtext/richtextbox.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <utility>

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

// A test of a text tool window over the fake main window's editor.
class TextToolTest : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        main = std::make_unique<FakeMain>();
    }
    void TearDown() override
    {
        main.reset();
        QuenvaleTest::TearDown();
    }

    RichTextBox &editor() { return *main->box; }
    // The message texts asked since the last call.
    static QStringList asked()
    {
        QStringList texts;
        for (const auto &a : std::exchange(scriptedPrompter().asked, {}))
            texts << a.text;
        return texts;
    }

    std::unique_ptr<FakeMain> main;
};

// `length` characters of "x" with `pattern` written at each offset.
inline QString textWith(const QString &pattern, const QList<qsizetype> &offsets, qsizetype length)
{
    QString text(length, u'x');
    for (const qsizetype at : offsets)
        text.replace(at, pattern.size(), pattern);
    return text;
}
