#pragma once

#include <QString>

#include <optional>

// A program copy's hold on a file of a book folder: an advisory lock (flock) on the open file.
// The system lets it go when the copy ends, however it ends, so no hold outlives its copy.
// Copies recording a book hold its cut record shared; "start anew" needs it alone.
class FileHold
{
public:
    enum class Kind
    {
        Shared,
        Alone,
    };
    // The hold on `path`; nothing when the file cannot be opened or another copy's hold
    // stands in the way. Never waits. On a file system without locks it holds no one out.
    static std::optional<FileHold> take(const QString &path, Kind kind);

    FileHold(FileHold &&other) noexcept;
    FileHold &operator=(FileHold &&other) noexcept;
    FileHold(const FileHold &) = delete;
    FileHold &operator=(const FileHold &) = delete;
    ~FileHold();

    // Whether `path` still names the file held: not moved, replaced or removed since.
    bool isAt(const QString &path) const;

private:
    explicit FileHold(int fd) : m_fd(fd) {}
    int m_fd = -1;
};
