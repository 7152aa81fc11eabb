#pragma once

#include "platform/richtext/richtextbox.h"
#include "support/actions.h"
#include "support/fakemain.h"
#include "support/listing.h"
#include "support/scripted.h"

#include <QStringList>

#include <gtest/gtest.h>

// A test of a text tool window over the fake main window's editor.
class TextToolTest : public FakeMainTest
{
protected:
    RichTextBox &editor() { return *main->textBox; }
    // The message texts asked since the last call.
    static QStringList asked() { return scriptedPrompter().takeAsked(); }
};

// `length` characters of "x" with `pattern` written at each offset.
inline QString textWith(const QString &pattern, const QList<qsizetype> &offsets, qsizetype length)
{
    QString text(length, u'x');
    for (const qsizetype at : offsets)
        text.replace(at, pattern.size(), pattern);
    return text;
}
