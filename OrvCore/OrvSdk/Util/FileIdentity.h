#pragma once
// A file as the file system knows it: its device and inode, links followed. Two names of one file (another
// spelling, a symbolic link, a hard link) have one identity, which a comparison of paths cannot see.
#include <QString>
#include <cstdint>
#include <optional>

struct FileIdentity
{
    uint64_t device = 0;
    uint64_t inode = 0;

    bool operator==(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }

    // The identity of the file at path once links are followed; none when nothing is there.
    static std::optional<FileIdentity> Of(const QString& path);
    // The identity of an open file.
    static std::optional<FileIdentity> OfOpenFile(int fd);
};
