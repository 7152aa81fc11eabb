// The main window's ways into the dictionary editor (menu item, toolbar button 12, F9) and the comparer.
#include "mainwindowtest.h"

#include "dictionaries/diccomparewindow.h"
#include "dictionaries/dicedit.h"
#include "dictionaries/excdic.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/textfile.h"
#include "support/actions.h"

#include <QDir>
#include <QLineEdit>

using namespace Qt::StringLiterals;
using DictionaryCommands = MainWindowTest;

TEST_F(DictionaryCommands, MenuToolbarAndF9OpenTheEditorWithTheDictionary)
{
    QDir(home()).mkpath(u"DIC"_s);
    ASSERT_TRUE(textfile::writeLines(excdic::programCopy(), excdic::fileLines({u"кот :\t<ко<т>"_s})));
    for (const char *command : {"menu5_2", "Toolbar1_12"}) {
        triggerAction(*w, QString::fromLatin1(command));
        EXPECT_TRUE(DicEdit().isVisible()) << command;
        EXPECT_EQ(DicEdit().ListView1->count(), 1) << "loaded once: " << command;
        DicEdit().hide();
    }

    w->RichTextBox2->setText(u"Мама , мыла раму!"_s);
    w->RichTextBox2->setSelLength(17);
    triggerAction(*w, u"PastWord"_s);
    EXPECT_TRUE(DicEdit().isVisible());
    EXPECT_EQ(DicEdit().Text1->text(), u"Мама  мыла раму"_s);
    EXPECT_EQ(DicEdit().RichTextBox1->Text(), u"Мама####мыла##раму"_s);

    triggerAction(*w, u"Dic_Compare"_s); // the service menu's comparer
    EXPECT_TRUE(DicCompare().isVisible());
}
