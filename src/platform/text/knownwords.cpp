#include "platform/text/knownwords.h"

#include "platform/text/cp1251.h"

#include <QFile>
#include <QSet>
#include <QString>

namespace knownwords {

namespace {

QString folded(QStringView word)
{
    return word.toString().toLower().replace(u'ё', u'е');
}

const QSet<QString> &list()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        QFile file(QStringLiteral(":/quenvale/DIC/70000.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return set;
        const QString text = cp1251::decode(file.readAll());
        for (const QStringView line : QStringView(text).tokenize(u'\n', Qt::SkipEmptyParts))
            set.insert(folded(line.trimmed()));
        return set;
    }();
    return words;
}

} // namespace

bool isRussianLetter(QChar c)
{
    return (c >= u'А' && c <= u'я') || c == u'ё' || c == u'Ё';
}

Count count(QStringView text)
{
    Count c;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (!isRussianLetter(text[i])) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < n && isRussianLetter(text[end]))
            ++end;
        if (end - i >= 2) {
            ++c.words;
            if (list().contains(folded(text.sliced(i, end - i))))
                ++c.known;
        }
        i = end;
    }
    return c;
}

} // namespace knownwords
