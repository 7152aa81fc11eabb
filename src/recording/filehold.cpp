#include "recording/filehold.h"

#include <QFile>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<FileHold> FileHold::take(const QString &path, Kind kind)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    // A file system without locks keeps no one out: recording there goes on as it did before.
    if (::flock(fd, (kind == Kind::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return std::nullopt;
    }
    return FileHold(fd);
}

FileHold::FileHold(FileHold &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileHold &FileHold::operator=(FileHold &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FileHold::~FileHold()
{
    if (m_fd >= 0)
        ::close(m_fd); // lets the lock go
}

bool FileHold::isAt(const QString &path) const
{
    struct stat held
    {
    }, named{};
    return ::fstat(m_fd, &held) == 0 && ::lstat(QFile::encodeName(path).constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}
