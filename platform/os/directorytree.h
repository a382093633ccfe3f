#pragma once

// Scans and removes the contents of a directory through handles opened below its root. Names
// stay as the system stores them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Os {

#ifdef _WIN32
using NativeString = std::wstring; // UTF-16, as the system stores names
#else
using NativeString = std::string; // bytes, whatever their encoding
#endif

// Every step goes from an open directory to one of its entries, never through a path name, so
// an entry swapped for a link or a directory moved in from elsewhere cannot redirect a removal
// outside the tree. Links (junctions and other reparse points on Windows) are entries of their
// own: removed, never entered. A directory of another file system (a mount point) is listed
// but never entered nor removed. Depth is no limit: only a bounded number of handles stays open.
class DirectoryTree {
public:
    enum class Kind { File, Directory, Link, MountPoint };
    enum class Outcome {
        Removed,
        InUse, // another program holds it
        Permission, // access denied, read-only file system
        NotEmpty, // a directory that still holds something
        Changed, // no longer the entry the scan listed (swapped, moved)
        Gone, // removed by somebody else meanwhile
        Failed, // anything else; see errorText()
    };

    static constexpr std::size_t kRoot = std::size_t(-1);

    struct Entry {
        std::size_t parent = kRoot; // index of the directory that holds it
        NativeString name;
        Kind kind = Kind::File;
        // A dot name (POSIX) or the hidden or system attribute (Windows): listed, never entered.
        bool hidden = false;
        // A directory whose contents could not be listed.
        bool unlisted = false;
        int depth = 1; // 1 for the root's own entries
        std::uint64_t device = 0; // with `node`, identifies a directory when it is entered again
        std::uint64_t node = 0;
    };

    DirectoryTree();
    ~DirectoryTree();
    DirectoryTree(const DirectoryTree&) = delete;
    DirectoryTree& operator=(const DirectoryTree&) = delete;

    // Opens the root; false when it is missing, no directory, or a link.
    bool open(const NativeString& rootPath);
    // Lists everything below the root, depth first, each directory before its contents.
    void scan();
    const std::vector<Entry>& entries() const;

    // Removes one listed entry: a file or link is unlinked, a directory removed when empty.
    // Entries below a directory that is no longer the one listed come back Changed.
    Outcome remove(std::size_t index);

    // The entry's path below the root, '/'-separated (a '\' on Windows).
    NativeString relativePath(std::size_t index) const;
    // What went wrong last, in English, for the log.
    std::string errorText() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Os
