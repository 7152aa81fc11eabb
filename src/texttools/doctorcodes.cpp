#include "texttools/doctorcodes.h"

#include "platform/text/cp1251.h"

namespace doctorcodes {

std::optional<QChar> character(const QString &box)
{
    bool ok = false;
    const int code = box.trimmed().toInt(&ok, 10);
    if (!ok || code < 0 || code > 255)
        return std::nullopt;
    return cp1251::chr(code);
}

QString sequence(const QStringList &boxes)
{
    QString result;
    bool afterCr = false;
    for (const QString &box : boxes) {
        const auto ch = character(box);
        if (!ch)
            continue;
        if (*ch == u'\r' || (*ch == u'\n' && !afterCr))
            result += QStringLiteral("\r\n");
        else if (*ch != u'\n')
            result += *ch;
        afterCr = *ch == u'\r';
    }
    return result;
}

Viewer viewer(QStringView selection)
{
    Viewer v;
    for (const QChar ch : selection) {
        v.characters += ch;
        v.characters += u' ';
        v.codes += QStringLiteral("%1 ").arg(int(cp1251::fromUnicode(ch)), 3, 10, QLatin1Char('0'));
    }
    return v;
}

int find(QStringView text, QStringView sequence, int from)
{
    if (from < 0 || from >= text.size())
        return -1;
    if (sequence.isEmpty())
        return from;
    return int(text.indexOf(sequence, from, Qt::CaseSensitive));
}

} // namespace doctorcodes
