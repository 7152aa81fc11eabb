#pragma once

#include <QString>
#include <QStringView>

#include <functional>

// Strips fb2 and HTML markup from a book text: paragraph, empty-line and title tags become
// plain-text layout (every title a chapter marker line), em dashes become hyphens, embedded
// binary blocks go, and every remaining tag becomes one blank.
namespace markupcleaning {

// Lets pending window events through during a long run.
using Pending = std::function<void()>;

struct Result
{
    QString text;
    // Just after the last blank a removed block or tag left, or -1 when nothing was removed.
    int caret = -1;
};

// The five fb2 replacements, case counting; `pending` runs after each of the first four.
QString clearFb2Tags(QStringView text, const Pending &pending = {});

// Each "<binary" up to the first "</binary>" at or after it becomes one blank; the closing
// tag stays for removeTags. A "<binary" without a later "</binary>" ends the run there.
Result removeBinaries(QStringView text, const Pending &pending = {});

// Each "<" through the first ">" after it becomes one blank, whatever lies between. A "<"
// without a later ">" ends the run: it and the rest stay.
Result removeTags(QStringView text, const Pending &pending = {});

// The whole cleaning: clearFb2Tags, removeBinaries, removeTags. The caret is the last one a
// removal left; 0 when neither removed anything (the text was replaced as a whole).
Result clean(QStringView text, const Pending &pending = {});

} // namespace markupcleaning
