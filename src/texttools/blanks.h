#pragma once

#include <QString>
#include <QStringView>

namespace texttools {

// The text without leading and trailing blanks; tabs and line ends stay.
inline QString trimBlanks(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start).toString();
}

} // namespace texttools
