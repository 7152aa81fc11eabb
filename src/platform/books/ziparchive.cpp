#include "platform/books/ziparchive.h"

#include <QFile>

#include <zip.h>

namespace books {

namespace {

// A member read as it is inflated, so a large one is never held whole.
class ZipMember : public QIODevice
{
public:
    explicit ZipMember(zip_file_t *file) : m_file(file) { QIODevice::open(QIODevice::ReadOnly); }
    ~ZipMember() override { zip_fclose(m_file); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const zip_int64_t got = zip_fread(m_file, data, static_cast<zip_uint64_t>(maxSize));
        if (got < 0)
            setErrorString(QString::fromUtf8(zip_file_strerror(m_file)));
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *m_file;
};

} // namespace

ZipArchive::ZipArchive(const QString &path)
{
    int code = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!m_zip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        m_error = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
    }
}

ZipArchive::~ZipArchive()
{
    if (m_zip)
        zip_discard(m_zip);
}

QStringList ZipArchive::names() const
{
    QStringList all;
    if (!m_zip)
        return all;
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char *name = zip_get_name(m_zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS))
            all << QString::fromUtf8(name);
    }
    return all;
}

QString ZipArchive::find(const QString &name) const
{
    if (!m_zip)
        return {};
    const QByteArray utf8 = name.toUtf8();
    const zip_int64_t index = zip_name_locate(m_zip, utf8.constData(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
    if (index < 0)
        return {};
    return QString::fromUtf8(zip_get_name(m_zip, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_GUESS));
}

qint64 ZipArchive::size(const QString &name) const
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (!m_zip || zip_stat(m_zip, name.toUtf8().constData(), ZIP_FL_ENC_GUESS, &st) != 0 ||
        !(st.valid & ZIP_STAT_SIZE))
        return -1;
    return static_cast<qint64>(st.size);
}

std::optional<QByteArray> ZipArchive::read(const QString &name) const
{
    const std::unique_ptr<QIODevice> member = open(find(name));
    if (!member)
        return std::nullopt;
    QByteArray all;
    char buffer[65536];
    for (;;) {
        const qint64 got = member->read(buffer, sizeof buffer);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return all;
        all.append(buffer, got);
    }
}

std::unique_ptr<QIODevice> ZipArchive::open(const QString &name) const
{
    if (!m_zip || name.isEmpty())
        return nullptr;
    zip_file_t *file = zip_fopen(m_zip, name.toUtf8().constData(), ZIP_FL_ENC_GUESS);
    if (!file)
        return nullptr;
    return std::make_unique<ZipMember>(file);
}

} // namespace books
