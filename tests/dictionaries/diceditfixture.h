#pragma once

// The base of the dictionary editor's tests: a program folder with DIC/, a fake main window,
// and helpers that drive the editor and read it back.
#include "dictionaries/dicedit.h"
#include "dictionaries/excdic.h"
#include "platform/text/textfile.h"
#include "support/fakemain.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QAction>
#include <QDir>

#include <memory>

class DicEditFixture : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        QDir(home()).mkpath(QStringLiteral("DIC"));
        main = std::make_unique<FakeMain>();
    }
    void TearDown() override
    {
        main.reset();
        QuenvaleTest::TearDown();
    }

    static void trigger(const char *name)
    {
        auto *action = DicEdit().findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_TRUE(action) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }
    static QStringList list()
    {
        QStringList items;
        for (int i = 0; i < DicEdit().ListView1->count(); ++i)
            items.append(DicEdit().ListView1->item(i)->text());
        return items;
    }
    static QStringList asked() { return scriptedPrompter().takeAsked(); }
    static QStringList lines(const QString &path)
    {
        return textfile::readLines(path).value_or(QStringList());
    }
    QString dic(const QString &name) const { return home() + QStringLiteral("/DIC/") + name; }
    static void fill(const QStringList &entries)
    {
        ASSERT_TRUE(textfile::writeLines(excdic::programCopy(), excdic::fileLines(entries)));
        DicEdit().Autoload_DIC();
    }

    std::unique_ptr<FakeMain> main;
};
