#pragma once

// The bases of the dictionary windows' tests: a program folder with DIC/ and a fake main
// window; the editor's adds helpers that drive it and read it back.
#include "dictionaries/dicedit.h"
#include "dictionaries/excdic.h"
#include "support/actions.h"
#include "support/fakemain.h"
#include "support/fakevoice.h"
#include "support/listing.h"
#include "support/scripted.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class DicTest : public FakeMainTest
{
protected:
    void SetUp() override
    {
        FakeMainTest::SetUp();
        QDir(home()).mkpath(u"DIC"_s);
    }
    QString dic(const QString &name) const { return home() + u"/DIC/"_s + name; }
    static QStringList asked() { return scriptedPrompter().takeAsked(); }
    // What the fake voice said since the last call, each as "text @voice".
    static QStringList spoken()
    {
        QStringList out;
        for (const auto &s : fakeVoices().log.spoken)
            out.append(s.text + u" @"_s + s.voiceId);
        fakeVoices().log.spoken.clear();
        return out;
    }
};

class DicEditFixture : public DicTest
{
protected:
    static void trigger(const char *name) { triggerAction(DicEdit(), QString::fromLatin1(name)); }
    static QStringList list() { return listing::rows(*DicEdit().ListView1); }
    static QStringList lines(const QString &path) { return listing::lines(path); }
    static void fill(const QStringList &entries)
    {
        ASSERT_TRUE(textfile::writeLines(excdic::programCopy(), excdic::fileLines(entries)));
        DicEdit().Autoload_DIC();
    }
};
