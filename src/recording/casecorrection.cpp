#include "recording/casecorrection.h"

#include "app/globals.h"

namespace {

bool isCyrillicCapital(QChar c)
{
    // А..Я only: Ё and Latin capitals do not make a line "written in capitals".
    return c.unicode() >= 0x0410 && c.unicode() <= 0x042F;
}

bool hasFiveCapitalsInRow(const QString &line)
{
    int run = 0;
    for (QChar c : line) {
        run = isCyrillicCapital(c) ? run + 1 : 0;
        if (run == 5)
            return true;
    }
    return false;
}

bool startsWord(QChar previous)
{
    switch (previous.unicode()) {
    case u' ':
    case u'\t':
    case u'\r':
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\0':
        return true;
    default:
        return false;
    }
}

} // namespace

QString CorrectCase(const QString &line)
{
    if (!hasFiveCapitalsInRow(line))
        return line;
    QString out(line.size(), Qt::Uninitialized);
    bool wordStart = true;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        out[i] = wordStart ? c.toUpper() : c.toLower();
        wordStart = startsWord(c);
    }
    return out;
}

void CorrectCase()
{
    CurLine = CorrectCase(CurLine);
}
