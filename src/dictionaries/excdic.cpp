#include "dictionaries/excdic.h"

#include "platform/speech/voice.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace excdic {

namespace {

// Entries longer than this do not fit the engine's line.
constexpr int kMaxLength = 100;

QString slashes()
{
    return QString(65, u'/');
}

} // namespace

bool isEntry(const QString &line, Source source)
{
    // The separator must survive the trimming the entry gets when kept, and a quote would be
    // taken by the field reader: such an entry would not read back as it was written.
    if (!line.trimmed().contains(QLatin1String(" :\t")) || !line.contains(u'>') || line.size() >= kMaxLength)
        return false;
    for (const QLatin1String bad : {QLatin1String(","), QLatin1String("."), QLatin1String("`"),
                                    QLatin1String("<<"), QLatin1String("\"")}) {
        if (line.contains(bad))
            return false;
    }
    if (source == Source::OtherFile && (line.contains(QStringLiteral("ё<"), Qt::CaseInsensitive) ||
                                        line.contains(QStringLiteral("ъ<"), Qt::CaseInsensitive)))
        return false;
    return true;
}

QStringList entries(const QStringList &items, Source source)
{
    QStringList kept;
    for (const QString &item : items) {
        if (isEntry(item, source))
            kept.append(item.trimmed());
    }
    return kept;
}

QString compose(const QString &word, const QString &pronunciation, bool ignoreCase)
{
    const QString entry = word + QStringLiteral(" :\t<") + pronunciation + u'>';
    return ignoreCase ? (entry + QStringLiteral(" /i")).toLower() : entry;
}

const QStringList &header()
{
    static const QStringList lines = {
        QStringLiteral("// cp1251"),
        QStringLiteral("//"),
        QStringLiteral("//"),
        QStringLiteral("// Ограничения:"),
        QStringLiteral("// Максимальная длинна словаря зависит от доступной оперативной памяти."),
        QStringLiteral("// Исключение и его произношение должны находится на одной строке"),
        QStringLiteral("// и не превышать 256 символов."),
        QStringLiteral("// Слова должны быть только целиком, обобщающие символы не допускаются,"),
        QStringLiteral("// поэтому желательно сразу вносить все грамматические формы слова и "),
        QStringLiteral("// характерные словосочетания с этим словом, отличающиеся пороизношением."),
        QStringLiteral("// Исключение может содержать до пяти слов, необходимо что бы"),
        QStringLiteral("// и в области произношения было столько же слов."),
        QStringLiteral("// Запрещается использование знаков препинания в области исключения."),
        QStringLiteral("// Поэтому невозможно добавить в словарь исключений сокращение"),
        QStringLiteral("// (аббревиатуру) - для этого есть словарь аббревиатур abb_rus.txt"),
        QStringLiteral("// Обратите внимание: После модификаций, словарь исключения должен"),
        QStringLiteral("// быть перезагружен в память. Программа Quenvale это делает автоматически"),
        QStringLiteral("// "),
        QStringLiteral("// "),
        QStringLiteral("//                          ВНИМАНИЕ!!!"),
        QStringLiteral("// "),
        QStringLiteral("// При использовании данного словаря (в том числе  с исправлениями"),
        QStringLiteral("//      и добавлениями) для других программ - ссылка на сайт"),
        QStringLiteral("//             quenvale.example.org - ОБЯЗАТЕЛЬНА"),
        slashes(),
        QStringLiteral("// Coding :"),
        QStringLiteral("//    :   end of exception word - разделитель области исключения и произношения"),
        QStringLiteral("//    []  phonetic codes"),
        QStringLiteral("//    <>  orthographic codes"),
        QStringLiteral("//    ##  word boundary - обозначают пробел в области произношения"),
        QStringLiteral("//    /i  to ignore case - игнорировать регистр"),
        QStringLiteral("//    //  comment - комментарий"),
        QStringLiteral("//    ()  word tag - ???"),
        QStringLiteral("//"),
        slashes(),
        QStringLiteral("//"),
    };
    return lines;
}

QStringList fileLines(const QStringList &entries)
{
    QStringList lines;
    lines.reserve(header().size() + entries.size() + 1);
    lines += header();
    lines += entries;
    lines.append(QStringLiteral("// End of file"));
    return lines;
}

QString programCopy()
{
    return programfolder::file(QStringLiteral("DIC/exc_rus.txt"));
}

QString backupCopy()
{
    return programfolder::file(QStringLiteral("DIC/exc_rus.bak"));
}

QString baseDictionary()
{
    return programfolder::file(QStringLiteral("DIC/FW.dic"));
}

std::optional<QStringList> readFieldFile(const QString &path, Source source, QString *error)
{
    auto fields = textfile::readFields(path, error);
    if (!fields)
        return std::nullopt;
    return entries(*fields, source);
}

std::optional<QStringList> readLineFile(const QString &path, Source source, QString *error)
{
    auto lines = textfile::readLines(path, error);
    if (!lines)
        return std::nullopt;
    return entries(*lines, source);
}

bool write(const QString &path, const QStringList &entries, QString *error)
{
    const QFileInfo info(path);
    // A read-only file is the user's way of keeping it; honour it even with the rights to
    // replace it.
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner)) {
        if (error)
            *error = QStringLiteral("файл только для чтения");
        return false;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("не удалось создать каталог");
        return false;
    }
    return textfile::writeLines(path, fileLines(entries), error);
}

bool writeProgramCopy(const QStringList &entries, QString *error)
{
    const QString copy = programCopy();
    const QString backup = backupCopy();
    // Copied rather than renamed, so a failed write below still leaves the copy in place.
    if (QFileInfo::exists(copy)) {
        QFile::remove(backup);
        QFile::copy(copy, backup);
    }
    return write(copy, entries, error);
}

QString dictionaryVoice(int version)
{
    if (version < 1 || version > 3)
        return {};
    return QStringLiteral("Nicolai (eSpeak NG, русский, мужской)");
}

bool reloadVoice(speech::Voice &voice, const QString &dictionaryVoice)
{
    bool ok = true;
    const qsizetype count = voice.GetVoices().size();
    for (qsizetype i = 0; i < count; ++i) {
        // The list is asked afresh for every step, as the voice may change it.
        const QList<speech::VoiceToken> tokens = voice.GetVoices();
        if (i >= tokens.size())
            break;
        if (tokens[i].description.compare(dictionaryVoice, Qt::CaseInsensitive) == 0)
            continue;
        ok = voice.SelectVoice(tokens[i].id) && ok;
        voice.Speak(QString(), speech::PurgeBeforeSpeak);
    }
    return ok;
}

bool selectDictionaryVoice(speech::Voice &voice, const QString &dictionaryVoice)
{
    const QList<speech::VoiceToken> tokens = voice.GetVoices();
    for (const speech::VoiceToken &t : tokens) {
        if (t.description.compare(dictionaryVoice, Qt::CaseInsensitive) == 0)
            return voice.SelectVoice(t.id);
    }
    return true;
}

} // namespace excdic
