// The main window's commands of the new-word finder and the homograph tools.
#include "mainwindowtest.h"

#include "dictionaries/homographwindow.h"
#include "dictionaries/newwords.h"
#include "mainwindow/helpwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/textfile.h"
#include "support/actions.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using FinderCommands = MainWindowTest;

TEST_F(FinderCommands, MenuItemsRunTheFinderTheMarkingAndTheHomographWindow)
{
    QDir(home()).mkpath(u"DIC"_s);
    ASSERT_TRUE(textfile::writeLines(home() + u"/DIC/homograph.txt"_s, {u"замок"_s}));
    w->RichTextBox2->setText(u"Там замок и Дом"_s);

    for (const auto &[name, key] :
         {std::pair{"FindNewWords", Qt::Key_F3}, std::pair{"FindOmograf", Qt::Key_F4}})
        EXPECT_EQ(w->menuBar->findChild<QAction *>(QString::fromLatin1(name))->shortcut(), QKeySequence(key));

    // The option panel waits for "go on"; the help button shows the panel's page. The panel
    // takes the focus, and Tab and Space go on from the keyboard.
    QTimer::singleShot(0, w, [this] {
        EXPECT_FALSE(w->Frame2->isHidden());
        triggerAction(*w->Frame2, u"Command3"_s);
        auto *goOn = w->Frame2->findChild<QCheckBox *>(u"Check5"_s);
        QWidget *focus = w->focusWidget();
        EXPECT_EQ(focus, w->Frame2->findChild<QWidget *>(u"Option1"_s));
        for (int tab = 0; tab < 3 && focus && focus != goOn; ++tab) {
            QTest::keyClick(focus, Qt::Key_Tab);
            focus = w->focusWidget();
        }
        ASSERT_EQ(focus, goOn);
        QTest::keyClick(goOn, Qt::Key_Space);
    });
    triggerAction(*w, u"FindNewWords"_s);
    EXPECT_TRUE(w->Frame2->isHidden());
    EXPECT_TRUE(Help1().isVisible());
    EXPECT_TRUE(NewNames().isVisible());
    EXPECT_EQ(NewNames().ListView1->topLevelItemCount(), 3) << "Дом, и, Там: no known-word list here";

    triggerAction(*w, u"FindOmograf"_s);
    EXPECT_FALSE(Homograph().isVisible()) << "marking loads the window without showing it";
    w->RichTextBox2->setSelStart(4);
    w->RichTextBox2->setSelLength(6);
    EXPECT_EQ(w->RichTextBox2->SelColor(), QColor(Qt::red));
    EXPECT_TRUE(w->RichTextBox2->SelBold());

    triggerAction(*w, u"menu5_3"_s);
    EXPECT_TRUE(Homograph().isVisible());
    EXPECT_EQ(Homograph().ListView1->count(), 1);
}
