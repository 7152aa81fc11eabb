#include "texttools/markupcleaning.h"

#include "platform/text/cp1251.h"
#include "platform/text/preformat.h"

namespace markupcleaning {
namespace {

// Letting events through after every removal would cost more than the removal itself in
// a book with a hundred thousand tags.
constexpr int kRemovalsPerPending = 4096;

const QString kTitleMarker = QStringLiteral("\r\n@@@@@\r\n    ");

void letThrough(const Pending &pending)
{
    if (pending)
        pending();
}

// One pass over `text`: each stretch from an `open` to the end `closeAt` finds for it
// becomes one blank. The next `open` is searched for where the stretch ended, which is
// where a search of the whole text from its beginning would find it, since a blank never
// completes an `open`.
template <class CloseAt>
Result removeStretches(QStringView text, QStringView open, CloseAt closeAt, const Pending &pending)
{
    Result result;
    result.text.reserve(text.size());
    qsizetype from = 0;
    int removals = 0;
    for (;;) {
        const qsizetype start = text.indexOf(open, from);
        if (start < 0)
            break;
        const qsizetype end = closeAt(start); // one past the stretch, or -1
        if (end < 0)
            break;
        result.text += text.mid(from, start - from);
        result.text += u' ';
        result.caret = int(result.text.size());
        from = end;
        if (++removals % kRemovalsPerPending == 0)
            letThrough(pending);
    }
    result.text += text.mid(from);
    return result;
}

} // namespace

QString clearFb2Tags(QStringView text, const Pending &pending)
{
    const QString steps[][2] = {
        {QStringLiteral("</p>"), QString()},
        {QStringLiteral("<p>"), QStringLiteral("   ")},
        {QStringLiteral("<empty-line/>"), QStringLiteral("\r\n * * * \r\n")},
        {QString(cp1251::chr(151)), QString(cp1251::chr(45))},
        {QStringLiteral("<title>"), kTitleMarker},
    };
    QString result = text.toString();
    for (int i = 0; i < 5; ++i) {
        result = preformat::replaceAll(result, steps[i][0], steps[i][1], Qt::CaseSensitive);
        if (i < 4)
            letThrough(pending);
    }
    return result;
}

Result removeBinaries(QStringView text, const Pending &pending)
{
    const auto closeAt = [text](qsizetype start) { return text.indexOf(u"</binary>", start); };
    return removeStretches(text, u"<binary", closeAt, pending);
}

Result removeTags(QStringView text, const Pending &pending)
{
    const auto closeAt = [text](qsizetype start) {
        const qsizetype close = text.indexOf(u'>', start + 1);
        return close < 0 ? close : close + 1;
    };
    return removeStretches(text, u"<", closeAt, pending);
}

Result clean(QStringView text, const Pending &pending)
{
    const QString fb2 = clearFb2Tags(text, pending);
    const Result binaries = removeBinaries(fb2, pending);
    Result tags = removeTags(binaries.text, pending);
    if (tags.caret < 0)
        tags.caret = binaries.caret < 0 ? 0 : binaries.caret;
    return tags;
}

} // namespace markupcleaning
