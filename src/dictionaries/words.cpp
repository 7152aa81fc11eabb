#include "dictionaries/words.h"

namespace words {

namespace {

bool wordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c == u'<' || c == u'>';
}

} // namespace

bool inWord(QStringView text, qsizetype i)
{
    if (text[i] != u'-')
        return wordChar(text[i]);
    return i > 0 && i + 1 < text.size() && wordChar(text[i - 1]) && wordChar(text[i + 1]);
}

} // namespace words
