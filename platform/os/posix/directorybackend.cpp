#include "directorybackend.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Os::DirectoryBackend {

namespace {

// O_NOFOLLOW: a link in place of a directory fails the open instead of being followed.
constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Nor does looking at an entry follow it or trigger an automount.
constexpr int kLookFlags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;

void describe(std::string* error, const char* what, const std::string& name, int code)
{
    *error = std::string(what) + ' ' + name + ": " + std::strerror(code);
}

Outcome outcomeOf(int code)
{
    switch (code) {
    case EBUSY:
    case ETXTBSY:
        return Outcome::InUse;
    case EACCES:
    case EPERM:
    case EROFS:
        return Outcome::Permission;
    case ENOTEMPTY:
    case EEXIST:
        return Outcome::NotEmpty;
    case ENOENT:
        return Outcome::Gone;
    case ELOOP:
    case ENOTDIR:
    case EISDIR:
        return Outcome::Changed;
    default:
        return Outcome::Failed;
    }
}

// Another device, or (bind mounts share the device) the kernel's own mark of a mount root.
bool isMountPoint(int directory, const char* name, const struct stat& status, const Entry& parent)
{
    if (std::uint64_t(status.st_dev) != parent.device)
        return true;
#ifdef STATX_ATTR_MOUNT_ROOT
    struct statx extended { };
    if (::statx(directory, name, kLookFlags, 0, &extended) == 0
        && (extended.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT))
        return (extended.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
#endif
    return false;
}

void setIdentity(Entry* entry, const struct stat& status)
{
    entry->device = std::uint64_t(status.st_dev);
    entry->node = std::uint64_t(status.st_ino);
}

// The kind of one directory entry; false when it vanished before it could be looked at.
bool classify(int directory, const dirent* found, const Entry& parent, Entry* entry)
{
    if (found->d_type == DT_LNK) {
        entry->kind = DirectoryTree::Kind::Link;
        return true;
    }
    if (found->d_type != DT_DIR && found->d_type != DT_UNKNOWN) {
        entry->kind = DirectoryTree::Kind::File;
        return true;
    }
    struct stat status { };
    if (::fstatat(directory, found->d_name, &status, kLookFlags) != 0)
        return errno != ENOENT;
    if (S_ISLNK(status.st_mode)) {
        entry->kind = DirectoryTree::Kind::Link;
    } else if (S_ISDIR(status.st_mode)) {
        entry->kind = isMountPoint(directory, found->d_name, status, parent)
            ? DirectoryTree::Kind::MountPoint
            : DirectoryTree::Kind::Directory;
        setIdentity(entry, status);
    } else {
        entry->kind = DirectoryTree::Kind::File;
    }
    return true;
}

} // namespace

Handle openRoot(const NativeString& path, Entry* root, std::string* error)
{
    const int descriptor = ::open(path.c_str(), kDirectoryFlags);
    if (descriptor < 0) {
        describe(error, "cannot open", path, errno);
        return kNoHandle;
    }
    struct stat status { };
    if (::fstat(descriptor, &status) != 0) {
        describe(error, "cannot look at", path, errno);
        ::close(descriptor);
        return kNoHandle;
    }
    setIdentity(root, status);
    return descriptor;
}

Handle openDirectory(Handle parent, const Entry& entry, Outcome* outcome, std::string* error)
{
    const int descriptor = ::openat(int(parent), entry.name.c_str(), kDirectoryFlags);
    if (descriptor < 0) {
        *outcome = outcomeOf(errno);
        describe(error, "cannot enter", entry.name, errno);
        return kNoHandle;
    }
    struct stat status { };
    if (::fstat(descriptor, &status) != 0 || std::uint64_t(status.st_dev) != entry.device
        || std::uint64_t(status.st_ino) != entry.node) {
        *outcome = Outcome::Changed;
        *error = entry.name + ": not the directory that was listed";
        ::close(descriptor);
        return kNoHandle;
    }
    return descriptor;
}

void close(Handle handle)
{
    if (handle != kNoHandle)
        ::close(int(handle));
}

bool list(Handle handle, const Entry& directory, std::vector<Entry>* entries, std::string* error)
{
    // A description of its own, so that reading does not move the held handle's position.
    const int descriptor = ::openat(int(handle), ".", kDirectoryFlags);
    DIR* stream = descriptor < 0 ? nullptr : ::fdopendir(descriptor);
    if (!stream) {
        describe(error, "cannot list", directory.name, errno);
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    errno = 0;
    while (const dirent* found = ::readdir(stream)) {
        const char* name = found->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        Entry entry;
        entry.name = name;
        entry.hidden = name[0] == '.';
        if (classify(descriptor, found, directory, &entry))
            entries->push_back(std::move(entry));
        errno = 0;
    }
    const int readError = errno;
    ::closedir(stream);
    if (readError != 0) {
        describe(error, "cannot list", directory.name, readError);
        return false;
    }
    return true;
}

Outcome remove(Handle parent, const Entry& entry, std::string* error)
{
    if (entry.kind == DirectoryTree::Kind::MountPoint) {
        *error = entry.name + ": a mount point";
        return Outcome::Failed;
    }
    const int flags = entry.kind == DirectoryTree::Kind::Directory ? AT_REMOVEDIR : 0;
    if (::unlinkat(int(parent), entry.name.c_str(), flags) == 0)
        return Outcome::Removed;
    const int code = errno;
    describe(error, "cannot remove", entry.name, code);
    return outcomeOf(code);
}

NativeString::value_type separator()
{
    return '/';
}

} // namespace Os::DirectoryBackend
