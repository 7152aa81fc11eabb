#include "platform/books/lines.h"
#include "platform/books/readers.h"
#include "platform/books/ziparchive.h"

#include <QHash>
#include <QSet>
#include <QUrl>
#include <QXmlStreamReader>

namespace books {

namespace {

struct Item
{
    QString path; // in the archive
    QString mediaType;
    bool navigation = false;
};

struct Package
{
    QString title;
    QStringList spine;   // archive paths, linear="no" ones last
    QStringList missing; // spine entries the manifest does not name
};

// "OEBPS/Text/../Images/a.xhtml" with its percent escapes resolved, as the archive names it.
QString resolve(const QString &folder, const QString &href)
{
    const QString relative = QUrl::fromPercentEncoding(href.section(u'#', 0, 0).toUtf8());
    QStringList parts = folder.isEmpty() ? QStringList() : folder.split(u'/');
    for (const QString &part : relative.split(u'/')) {
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (!part.isEmpty() && part != u".") {
            parts << part;
        }
    }
    return parts.join(u'/');
}

QString packagePath(const QByteArray &container)
{
    QXmlStreamReader reader(container);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != u"rootfile")
            continue;
        const QStringView type = reader.attributes().value(QLatin1StringView("media-type"));
        if (type.isEmpty() || type == u"application/oebps-package+xml")
            return reader.attributes().value(QLatin1StringView("full-path")).toString();
    }
    return {};
}

Package readPackage(const QByteArray &opf, const QString &folder)
{
    QXmlStreamReader reader(opf);
    QHash<QString, Item> manifest;
    Package package;
    QStringList spineIds;
    QSet<QString> asideIds;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (reader.name() == u"title" && package.title.isEmpty()) {
            package.title = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (reader.name() == u"item") {
            Item item{resolve(folder, attributes.value(QLatin1StringView("href")).toString()),
                      attributes.value(QLatin1StringView("media-type")).toString(),
                      attributes.value(QLatin1StringView("properties")).split(u' ').contains(u"nav")};
            manifest.insert(attributes.value(QLatin1StringView("id")).toString(), item);
        } else if (reader.name() == u"itemref") {
            const QString id = attributes.value(QLatin1StringView("idref")).toString();
            spineIds << id;
            if (attributes.value(QLatin1StringView("linear")) == u"no")
                asideIds.insert(id);
        }
    }
    for (const bool wantLinear : {true, false}) {
        for (const QString &id : spineIds) {
            if (asideIds.contains(id) == wantLinear)
                continue;
            const auto item = manifest.constFind(id);
            if (item == manifest.constEnd())
                package.missing << id;
            else if (!item->navigation && item->mediaType.contains(u"html"))
                package.spine << item->path; // a picture's page (an SVG cover) has no text
        }
    }
    return package;
}

// The documents META-INF/encryption.xml says are encrypted. Fonts are often obfuscated in
// books free to read, so only the spine's documents count.
QSet<QString> encrypted(const ZipArchive &zip)
{
    QSet<QString> paths;
    const std::optional<QByteArray> xml = zip.read(QStringLiteral("META-INF/encryption.xml"));
    if (!xml)
        return paths;
    QXmlStreamReader reader(*xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"CipherReference")
            paths.insert(
                resolve({}, reader.attributes().value(QLatin1StringView("URI")).toString()).toLower());
    }
    return paths;
}

// A document as UTF-8, which the HTML parser is given: XHTML may be UTF-16 after its mark.
QByteArray utf8(const QByteArray &bytes)
{
    const textcodec::Encoding marked = textcodec::marked(bytes);
    const bool wide = marked == textcodec::Encoding::Utf16Le || marked == textcodec::Encoding::Utf16Be;
    return wide ? textcodec::decode(bytes, marked).toUtf8() : bytes;
}

} // namespace

Reading readEpub(const QString &path, const Progress &progress)
{
    Reading reading;
    const ZipArchive zip(path);
    const std::optional<QByteArray> container = zip.read(QStringLiteral("META-INF/container.xml"));
    const QString opfName = container ? packagePath(*container) : QString();
    const std::optional<QByteArray> opf = zip.read(opfName);
    if (!opf) {
        reading.message = zip.isOpen() ? QStringLiteral("Книга %1 повреждена: в ней нет описания её частей "
                                                        "(container.xml или OPF).")
                                             .arg(quoted(path))
                                       : damagedArchive(path);
        return reading;
    }
    const Package package = readPackage(*opf, opfName.section(u'/', 0, -2));
    reading.title = package.title;
    const QSet<QString> locked = encrypted(zip);
    for (const QString &document : package.spine) {
        if (locked.contains(document.toLower())) {
            reading.message = QStringLiteral("Книга %1 защищена от копирования (DRM): её текст зашифрован, и "
                                             "прочитать его нельзя.")
                                  .arg(quoted(path));
            return reading;
        }
    }
    Lines lines;
    QStringList missing = package.missing;
    for (qsizetype i = 0; i < package.spine.size(); ++i) {
        const QString &document = package.spine[i];
        const std::optional<QByteArray> bytes = zip.read(document);
        if (!bytes) {
            missing << document;
            continue;
        }
        readHtml(utf8(*bytes), lines);
        lines.separate();
        if (progress && !progress(static_cast<int>((i + 1) * 1000 / package.spine.size())))
            return {};
    }
    reading.text = lines.text();
    reading.ok = true;
    if (!missing.isEmpty())
        reading.message = missingPart(path, missing.join(QStringLiteral("», «")));
    return reading;
}

} // namespace books
