#include "dictionaries/import.h"

#include "dictionaries/pattern.h"

namespace dicimport {

namespace {

bool freeOf(const QString &line, QStringView characters)
{
    return std::none_of(characters.begin(), characters.end(), [&](QChar c) { return line.contains(c); });
}

bool dollarFirst(const QString &line)
{
    return line.startsWith(u'$');
}

bool digitFree(const QString &line)
{
    return !pattern::like(line, QStringLiteral("*[0-9]*"));
}

bool isPhrase(const QString &line)
{
    return pattern::like(line, QStringLiteral("*[А-я(ё)(Ё)][ ][А-я(ё)(Ё)]*"));
}

QString stressed(QString line)
{
    return line.replace(u'>', u'<');
}

QString counted(int taken, int read, const QString &tail)
{
    return QStringLiteral("%1 записей из %2 записаны в ").arg(taken).arg(read) + tail;
}

// Single words (phrases == false) or phrases of an old-version dictionary.
QStringList wordPass(const QStringList &lines, bool phrases)
{
    QStringList out;
    for (const QString &raw : lines) {
        const QString line = stressed(raw);
        if (!line.contains(u'=') || line.contains(u' ') != phrases || !digitFree(line))
            continue;
        if (freeOf(line, u".*,!?:$"))
            out.append(convert(line, false));
        else if (freeOf(line, u"*.,!?:") && dollarFirst(line))
            out.append(convert(QString(line).remove(u'$'), true));
    }
    return out;
}

} // namespace

QString convert(const QString &line, bool respectCase)
{
    const QString text = stressed(line);
    const qsizetype equals = text.indexOf(u'=');
    const QString entry =
        equals < 0 ? text : text.left(equals) + QStringLiteral(" :\t<") + text.mid(equals + 1);
    return entry.trimmed() + (respectCase ? QStringLiteral("> ") : QStringLiteral("> /i"));
}

QString AutoReplace::message() const
{
    return QStringLiteral("Импортировано %1 записей из %2").arg(entries.size()).arg(read);
}

AutoReplace importAutoReplace(const QStringList &fields)
{
    AutoReplace result;
    for (const QString &field : fields) {
        ++result.read;
        const QString line = stressed(field);
        if (!line.contains(u'=') || !isPhrase(line))
            continue;
        if (freeOf(line, u".()*,!?:$"))
            result.entries.append(convert(line, false));
        else if (freeOf(line, u".()*,!?:") && dollarFirst(line))
            result.entries.append(convert(QString(line).remove(u'$'), true));
    }
    return result;
}

QString OldImport::singleMessage() const
{
    return counted(int(single.lines.size()), read, QStringLiteral("файл Одиночные_слова.txt"));
}

QString OldImport::phrasesMessage() const
{
    return counted(int(phrases.lines.size()), read, QStringLiteral("файл Словосочетания.txt"));
}

QString OldImport::generalMessage() const
{
    return counted(int(general1.lines.size() + general2.lines.size()), read,
                   QStringLiteral("файлы Обобщения.txt"));
}

OldImport importOld(const QStringList &lines)
{
    OldImport result;
    result.read = int(lines.size());
    result.single = {QStringLiteral("Одиночные_слова.txt"), wordPass(lines, false)};
    result.phrases = {QStringLiteral("Словосочетания.txt"), wordPass(lines, true)};
    result.general1.file = QStringLiteral("Обобщения1.txt");
    result.general2.file = QStringLiteral("Обобщения2.txt");
    for (const QString &raw : lines) {
        const QString line = stressed(raw);
        if (!line.contains(u'=') || !line.contains(u'*') || line.contains(u'$') || !digitFree(line))
            continue;
        const qsizetype equals = line.indexOf(u'=') + 1; // 1-based
        const bool several = pattern::like(line, QStringLiteral("*[*]*[*]*"));
        const qsizetype blank = line.indexOf(u' ') + 1;
        if (equals >= 11 && several)
            result.general1.lines.append(line);
        else if (equals >= 10 && blank > 0 && blank < equals && !several)
            result.general2.lines.append(line);
    }
    return result;
}

} // namespace dicimport
