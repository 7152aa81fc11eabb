#include "platform/books/books.h"

#include "platform/books/readers.h"
#include "platform/books/ziparchive.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace books {

namespace {

// How much of the file sniff() looks at.
constexpr qint64 kHead = 4096;

struct Signature
{
    qsizetype offset;
    QByteArrayView bytes;
    const char16_t *what; // "похож на ..."
    bool weak = false;    // so short that a text may start so: only with NUL bytes
};

// Files that are surely no text, by their first bytes.
const Signature kBinaries[] = {
    {0, "\x89PNG", u"картинку PNG"},
    {0, "\xFF\xD8\xFF", u"картинку JPEG"},
    {0, "GIF8", u"картинку GIF"},
    {0, "BM", u"картинку BMP", true},
    {0, "II*\0", u"картинку TIFF"},
    {0, "MM\0*", u"картинку TIFF"},
    {8, "WEBP", u"картинку WebP"},
    {4, "ftypavif", u"картинку AVIF"},
    {0, "AT&TFORM", u"книгу DjVu"},
    {60, "BOOKMOBI", u"книгу MOBI или AZW (Kindle)"},
    {60, "TEXtREAd", u"книгу PalmDoc"},
    {0, "Rar!", u"архив RAR"},
    {0, "7z\xBC\xAF\x27\x1C", u"архив 7-Zip"},
    {0, "\x1F\x8B", u"архив gzip"},
    {0, "BZh", u"архив bzip2"},
    {0,
     "\xFD"
     "7zXZ",
     u"архив xz"},
    {0,
     "\x7F"
     "ELF",
     u"программу Linux"},
    {0, "MZ", u"программу Windows", true},
    {0, "ID3", u"звукозапись MP3", true},
    {0, "OggS", u"звукозапись Ogg"},
    {0, "fLaC", u"звукозапись FLAC"},
    {8, "WAVE", u"звукозапись WAV"},
    {8, "AVI ", u"видео AVI"},
    {4, "ftyp", u"видео или звукозапись MP4"},
    {0, "\x1A\x45\xDF\xA3", u"видео Matroska"},
    {0, "SQLite format 3", u"базу данных SQLite"},
};

bool startsAt(QByteArrayView head, const Signature &sig)
{
    return head.size() >= sig.offset + sig.bytes.size() &&
           head.sliced(sig.offset, sig.bytes.size()) == sig.bytes;
}

bool hasSuffix(const QString &path, QStringView suffix)
{
    return path.endsWith(suffix, Qt::CaseInsensitive);
}

// A UTF-16 text has NUL bytes in its ASCII characters, and its byte order mark says so.
bool utf16(QByteArrayView head)
{
    return head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF");
}

QByteArrayView afterMark(QByteArrayView head)
{
    return head.startsWith("\xEF\xBB\xBF") ? head.sliced(3) : head;
}

// The leading markup of an HTML page, whatever the file's name.
bool looksLikeHtml(QByteArrayView head)
{
    static const QRegularExpression html(
        QStringLiteral(R"re(^\s*(<\?xml[^>]*>\s*)?(<!--.*?-->\s*)*<(!doctype\s+html|html[\s>]))re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return html.match(QString::fromLatin1(afterMark(head))).hasMatch();
}

struct Verdict
{
    Format format = Format::Text;
    QString what; // for NoText: what the file looks like
};

Verdict zipVerdict(const QString &path)
{
    const ZipArchive zip(path);
    if (!zip.isOpen()) {
        // A damaged e-book is still the e-book its name says, and its reader says what is wrong.
        for (const auto &[suffix, format] :
             {std::pair(u".epub", Format::Epub), std::pair(u".docx", Format::Docx),
              std::pair(u".odt", Format::Odt), std::pair(u".fb2.zip", Format::Fb2Zip)}) {
            if (hasSuffix(path, suffix))
                return {format, {}};
        }
        return {Format::NoText, QStringLiteral("повреждённый архив ZIP")};
    }
    const std::optional<QByteArray> mimetype = zip.read(QStringLiteral("mimetype"));
    const QByteArray type = mimetype ? mimetype->trimmed() : QByteArray();
    if (type == "application/epub+zip" || !zip.find(QStringLiteral("META-INF/container.xml")).isEmpty())
        return {Format::Epub, {}};
    if (!zip.find(QStringLiteral("word/document.xml")).isEmpty())
        return {Format::Docx, {}};
    if (type.startsWith("application/vnd.oasis.opendocument.text"))
        return {Format::Odt, {}};
    if (type.startsWith("application/vnd.oasis.opendocument"))
        return {Format::NoText, QStringLiteral("документ OpenDocument без текста книги (таблицу, рисунок, "
                                               "презентацию)")};
    if (!zip.find(QStringLiteral("xl/workbook.xml")).isEmpty())
        return {Format::NoText, QStringLiteral("таблицу Excel")};
    const QStringList names = zip.names();
    const auto fb2 = std::count_if(names.begin(), names.end(),
                                   [](const QString &name) { return hasSuffix(name, u".fb2"); });
    if (fb2 == 1)
        return {Format::Fb2Zip, {}};
    return {Format::NoText, QStringLiteral("архив ZIP")};
}

Verdict judge(const QString &path)
{
    // A pipe would block the read below, and neither it, a device nor a folder is a book: the
    // text reader refuses them with its own reason.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(kHead);
    file.close();
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return zipVerdict(path);
    if (head.startsWith("%PDF-"))
        return {Format::Pdf, {}};
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return {Format::Doc, {}};
    if (head.startsWith("{\\rtf"))
        return {Format::Rtf, {}};
    const bool nul = !utf16(head) && head.contains('\0');
    for (const Signature &sig : kBinaries) {
        if (startsAt(head, sig) && (nul || !sig.weak))
            return {Format::NoText, QString::fromUtf16(sig.what)};
    }
    if (nul)
        return {Format::NoText, QStringLiteral("двоичный файл (не текст)")};
    const QByteArrayView text = afterMark(head);
    if (hasSuffix(path, u".fb2") || (text.startsWith("<?xml") && head.contains("<FictionBook")))
        return {Format::Fb2, {}};
    if (hasSuffix(path, u".htm") || hasSuffix(path, u".html") || hasSuffix(path, u".xhtml") ||
        looksLikeHtml(head))
        return {Format::Html, {}};
    return {};
}

QString noText(const QString &path, const QString &what)
{
    return QStringLiteral("Файл %1 похож на %2, а не на книгу: текста в нём нет, и он не открыт.")
        .arg(quoted(path), what);
}

// The file's name without the e-book's extensions: "рассказ.fb2.zip" is "рассказ".
QString nameOf(const QString &path)
{
    QString name = QFileInfo(path).fileName();
    for (const QStringView suffix :
         {u".zip", u".fb2", u".epub", u".docx", u".odt", u".html", u".htm", u".xhtml", u".pdf", u".doc"}) {
        if (name.size() > suffix.size() && name.endsWith(suffix, Qt::CaseInsensitive))
            name.chop(suffix.size());
    }
    return name;
}

} // namespace

Format sniff(const QString &path)
{
    return judge(path).format;
}

Reading read(const QString &path, const Progress &progress)
{
    const Verdict verdict = judge(path);
    Reading reading;
    switch (verdict.format) {
    case Format::Text:
    case Format::Rtf:
        reading.format = verdict.format;
        return reading;
    case Format::NoText:
        reading.format = Format::NoText;
        reading.message = noText(path, verdict.what);
        return reading;
    case Format::Fb2:
        reading = readFb2(path, progress);
        break;
    case Format::Fb2Zip:
        reading = readFb2Zip(path, progress);
        break;
    case Format::Epub:
        reading = readEpub(path, progress);
        break;
    case Format::Docx:
        reading = readDocx(path, progress);
        break;
    case Format::Odt:
        reading = readOdt(path, progress);
        break;
    case Format::Html:
        reading = readHtmlFile(path, progress);
        break;
    case Format::Pdf:
        reading = readPdf(path, progress);
        break;
    case Format::Doc:
        reading = readDoc(path, progress);
        break;
    }
    reading.format = verdict.format;
    reading.title = reading.title.simplified();
    if (reading.title.isEmpty())
        reading.title = nameOf(path);
    if (reading.ok &&
        std::all_of(reading.text.cbegin(), reading.text.cend(), [](QChar c) { return c.isSpace(); })) {
        reading.ok = false;
        reading.text.clear();
        reading.message = QStringLiteral("В книге %1 нет текста.").arg(quoted(path));
    }
    if (!reading.ok)
        reading.text.clear();
    return reading;
}

QStringList namePatterns()
{
    return {QStringLiteral("*.txt"),     QStringLiteral("*.rtf"),  QStringLiteral("*.fb2"),
            QStringLiteral("*.fb2.zip"), QStringLiteral("*.epub"), QStringLiteral("*.docx"),
            QStringLiteral("*.odt"),     QStringLiteral("*.htm"),  QStringLiteral("*.html"),
            QStringLiteral("*.pdf"),     QStringLiteral("*.doc")};
}

std::optional<textcodec::Encoding> encodingNamed(QStringView label)
{
    const QString name = label.trimmed().toString().toLower();
    if (name == u"utf-8" || name == u"utf8")
        return textcodec::Encoding::Utf8;
    if (name == u"windows-1251" || name == u"cp1251" || name == u"x-cp1251" || name == u"win-1251")
        return textcodec::Encoding::Windows1251;
    if (name == u"koi8-r" || name == u"koi8")
        return textcodec::Encoding::Koi8r;
    if (name == u"cp866" || name == u"ibm866" || name == u"866")
        return textcodec::Encoding::Cp866;
    if (name == u"utf-16le")
        return textcodec::Encoding::Utf16Le;
    if (name == u"utf-16be" || name == u"utf-16")
        return textcodec::Encoding::Utf16Be;
    return std::nullopt;
}

QString quoted(const QString &path)
{
    return QStringLiteral("«%1»").arg(QFileInfo(path).fileName());
}

QString damagedArchive(const QString &path)
{
    return QStringLiteral("Файл %1 повреждён: архив книги не читается.").arg(quoted(path));
}

QString damagedXml(const QString &path, qint64 line)
{
    const QString where = line > 0 ? QStringLiteral(" (строка %1)").arg(line) : QString();
    return QStringLiteral("Книга %1 повреждена%2: прочитана только её часть до этого места.")
        .arg(quoted(path), where);
}

QString missingPart(const QString &path, const QString &part)
{
    return QStringLiteral("В книге %1 нет части «%2»: она пропущена.").arg(quoted(path), part);
}

} // namespace books
