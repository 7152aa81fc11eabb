#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct zip;
struct zip_file;

namespace books {

// A ZIP archive opened for reading through libzip; the file itself is never written.
class ZipArchive
{
public:
    explicit ZipArchive(const QString &path);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // False when the file is no ZIP or its directory is damaged; `error` says why.
    bool isOpen() const { return m_zip != nullptr; }
    QString error() const { return m_error; }
    QStringList names() const;
    // The member's name as the archive spells it, found ignoring case; empty when missing.
    QString find(const QString &name) const;
    // The member's uncompressed size, or -1.
    qint64 size(const QString &name) const;
    // The whole member, found ignoring case, or nothing when it is missing or its data damaged.
    std::optional<QByteArray> read(const QString &name) const;
    // The member as a sequential device, to stream a large one; null when it cannot be opened.
    std::unique_ptr<QIODevice> open(const QString &name) const;

private:
    zip *m_zip = nullptr;
    QString m_error;
};

} // namespace books
