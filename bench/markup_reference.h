#pragma once

// The markup cleaning done literally: each replacement of the fb2 tags is a pass of its
// own, and each binary block and tag is removed by a pass that searches the whole text
// from its beginning again. Far too slow for a book; the benchmark times the
// program's cleaning against it.

#include "platform/text/cp1251.h"

#include <QString>

#include <functional>

namespace reference {

struct Cleaned
{
    QString text;
    int caret = 0; // after the last blank a removal inserted; 0 when none was
};

// `stop` is asked before every pass of the removals; true leaves the rest undone.
inline Cleaned clean(QString text, const std::function<bool()> &stop = {})
{
    text.replace(QStringLiteral("</p>"), QString(), Qt::CaseSensitive);
    text.replace(QStringLiteral("<p>"), QStringLiteral("   "), Qt::CaseSensitive);
    text.replace(QStringLiteral("<empty-line/>"), QStringLiteral("\r\n * * * \r\n"), Qt::CaseSensitive);
    text.replace(cp1251::chr(151), cp1251::chr(45), Qt::CaseSensitive);
    text.replace(QStringLiteral("<title>"), QStringLiteral("\r\n@@@@@\r\n    "), Qt::CaseSensitive);
    Cleaned out;
    for (;;) {
        if (stop && stop())
            break;
        const qsizetype s = text.indexOf(QStringLiteral("<binary"));
        const qsizetype e = s < 0 ? -1 : text.indexOf(QStringLiteral("</binary>"), s);
        if (e < 0)
            break;
        text.replace(s, e - s, QStringLiteral(" "));
        out.caret = int(s + 1);
    }
    for (;;) {
        if (stop && stop())
            break;
        const qsizetype s = text.indexOf(u'<');
        const qsizetype e = s < 0 ? -1 : text.indexOf(u'>', s + 1);
        if (e < 0)
            break;
        text.replace(s, e - s + 1, QStringLiteral(" "));
        out.caret = int(s + 1);
    }
    out.text = text;
    return out;
}

} // namespace reference
