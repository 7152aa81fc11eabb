#include "mainwindow/bookmarkfile.h"

#include "platform/text/docnames.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

#include <QDir>

namespace bookmarkfile {

namespace {

const QString kPlain = QStringLiteral("plain");
const QString kPreformatted = QStringLiteral("preformatted");

} // namespace

QStringList lines(const Bookmark &bookmark)
{
    const QString number = QString::number(bookmark.caret);
    QStringList out = {bookmark.path, bookmark.title, bookmark.caret < 0 ? number : u' ' + number};
    switch (bookmark.shown) {
    case Shown::AsFile:
        out.append(kPlain);
        break;
    case Shown::Preformatted:
        out.append(kPreformatted);
        break;
    case Shown::PreformattedEveryStep:
        break;
    }
    return out;
}

std::optional<Bookmark> parse(const QStringList &lines)
{
    if (lines.size() < 3)
        return std::nullopt;
    bool ok = false;
    const std::int32_t caret = lines[2].trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    const QString shown = lines.value(3).trimmed();
    return Bookmark{lines[0], lines[1], caret,
                    shown == kPlain          ? Shown::AsFile
                    : shown == kPreformatted ? Shown::Preformatted
                                             : Shown::PreformattedEveryStep};
}

QString folder()
{
    return programfolder::file(QStringLiteral("BOOKMARK"));
}

QString fileFor(const QString &title)
{
    // The title comes from the bookmark files themselves too: it never leads out of the folder.
    return folder() + u'/' + docnames::safeFileName(title) + QStringLiteral(".zak");
}

std::optional<QStringList> list()
{
    const QDir dir(folder());
    if (!dir.exists())
        return std::nullopt;
    // A bookmark of an empty title is the hidden file ".zak"; it is listed like any other.
    return dir.entryList({QStringLiteral("*.zak")}, QDir::Files | QDir::Hidden,
                         QDir::Name | QDir::IgnoreCase);
}

bool write(const Bookmark &bookmark, QString *error)
{
    if (!QDir().mkpath(folder())) {
        if (error)
            *error = QStringLiteral("не удалось создать папку %1").arg(QDir::toNativeSeparators(folder()));
        return false;
    }
    // Windows-1251, or UTF-8 after the mark when a path or title needs it, as every list.
    return textfile::writeLines(fileFor(bookmark.title), lines(bookmark), error);
}

std::optional<QStringList> read(const QString &file, QString *error)
{
    // Written in Windows-1251 or after the mark, as every list: a path of the code page may
    // happen to be valid UTF-8 too ("Рё"), and must not be guessed.
    const std::optional<QString> text = textfile::readText(file, error);
    if (!text)
        return std::nullopt;
    return textfile::splitLines(*text);
}

} // namespace bookmarkfile
