#include "dictionaries/pattern.h"

namespace pattern {

namespace {

QChar fold(QChar c)
{
    return QChar(QChar::toCaseFolded(c.unicode()));
}

// Whether `c` is one of the set that starts after "[" at `p`; `end` receives the position
// after the closing "]" (-1 when the bracket is never closed, which matches nothing).
bool inSet(QChar c, const QString &pattern, qsizetype p, qsizetype &end)
{
    const QChar fc = fold(c);
    bool member = false;
    qsizetype i = p;
    while (i < pattern.size() && pattern[i] != u']') {
        if (i + 2 < pattern.size() && pattern[i + 1] == u'-' && pattern[i + 2] != u']') {
            const char16_t low = pattern[i].unicode();
            const char16_t high = pattern[i + 2].unicode();
            const char16_t lower = c.toLower().unicode();
            const char16_t upper = c.toUpper().unicode();
            if ((c.unicode() >= low && c.unicode() <= high) || (lower >= low && lower <= high) ||
                (upper >= low && upper <= high))
                member = true;
            i += 3;
        } else {
            if (fold(pattern[i]) == fc)
                member = true;
            ++i;
        }
    }
    end = i < pattern.size() ? i + 1 : -1;
    return member;
}

} // namespace

bool like(const QString &text, const QString &pattern)
{
    // Iterative matching with one remembered "*": linear for the patterns the tools use.
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        bool step = false;
        qsizetype next = p + 1;
        if (p < pattern.size()) {
            const QChar pc = pattern[p];
            if (pc == u'*') {
                starP = p++;
                starT = t;
                continue;
            }
            if (pc == u'?')
                step = true;
            else if (pc == u'#')
                step = text[t] >= u'0' && text[t] <= u'9';
            else if (pc == u'[')
                step = inSet(text[t], pattern, p + 1, next) && next >= 0;
            else
                step = fold(pc) == fold(text[t]);
        }
        if (step) {
            ++t;
            p = next;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace pattern
