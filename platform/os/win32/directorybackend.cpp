#include "directorybackend.h"

#include "text.h"

#include <winternl.h>

#include <vector>

// Every directory is opened relative to the handle of the one above it (NtCreateFile with a
// root directory), never through a path: a junction or link swapped in on the way is an
// entry, not a way elsewhere.

namespace Os::DirectoryBackend {

namespace {

#ifndef FILE_OPEN_REPARSE_POINT
#define FILE_OPEN_REPARSE_POINT 0x00200000
#endif
#ifndef FILE_OPEN_FOR_BACKUP_INTENT
#define FILE_OPEN_FOR_BACKUP_INTENT 0x00004000
#endif

extern "C" NTSTATUS NTAPI NtCreateFile(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK,
    PLARGE_INTEGER, ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
extern "C" ULONG NTAPI RtlNtStatusToDosError(NTSTATUS);

constexpr ULONG kOpenOptions
    = FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT | FILE_OPEN_REPARSE_POINT;

void describe(std::string* error, const char* what, const std::wstring& name, DWORD code)
{
    *error = std::string(what) + ' ' + Text::narrow(name) + ": error " + std::to_string(code);
}

Outcome outcomeOf(DWORD code)
{
    switch (code) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return Outcome::InUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return Outcome::Permission;
    case ERROR_DIR_NOT_EMPTY:
        return Outcome::NotEmpty;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Outcome::Gone;
    case ERROR_DIRECTORY:
    case ERROR_CANT_ACCESS_FILE:
    case ERROR_NOT_A_REPARSE_POINT:
        return Outcome::Changed;
    default:
        return Outcome::Failed;
    }
}

// Opens `name` below `parent`; the Win32 error on failure.
HANDLE openBelow(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share,
    ULONG options, DWORD* error)
{
    UNICODE_STRING objectName;
    objectName.Buffer = const_cast<PWSTR>(name.c_str());
    objectName.Length = USHORT(name.size() * sizeof(wchar_t));
    objectName.MaximumLength = objectName.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &objectName, OBJ_CASE_INSENSITIVE, parent, nullptr);
    IO_STATUS_BLOCK status {};
    HANDLE handle = nullptr;
    const NTSTATUS result = NtCreateFile(&handle, access | SYNCHRONIZE, &attributes, &status,
        nullptr, 0, share, FILE_OPEN, options | kOpenOptions, nullptr, 0);
    if (result < 0) {
        *error = RtlNtStatusToDosError(result);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

bool identify(HANDLE handle, Entry* entry, DWORD* attributes)
{
    BY_HANDLE_FILE_INFORMATION information {};
    if (!GetFileInformationByHandle(handle, &information))
        return false;
    entry->device = information.dwVolumeSerialNumber;
    entry->node = (std::uint64_t(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    *attributes = information.dwFileAttributes;
    return true;
}

// The long-path form, so that no length limit applies below the root.
std::wstring longPath(const std::wstring& path)
{
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    if (path.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

} // namespace

Handle openRoot(const NativeString& path, Entry* root, std::string* error)
{
    const HANDLE handle = CreateFileW(longPath(path).c_str(),
        FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        describe(error, "cannot open", path, GetLastError());
        return kNoHandle;
    }
    DWORD attributes = 0;
    if (!identify(handle, root, &attributes) || !(attributes & FILE_ATTRIBUTE_DIRECTORY)
        || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        *error = Text::narrow(path) + ": not a directory of its own";
        CloseHandle(handle);
        return kNoHandle;
    }
    return Handle(handle);
}

Handle openDirectory(Handle parent, const Entry& entry, Outcome* outcome, std::string* error)
{
    DWORD code = 0;
    // No sharing of deletion: nobody renames or replaces it while it is held.
    const HANDLE handle
        = openBelow(HANDLE(parent), entry.name, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
            FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_DIRECTORY_FILE, &code);
    if (handle == INVALID_HANDLE_VALUE) {
        *outcome = outcomeOf(code);
        describe(error, "cannot enter", entry.name, code);
        return kNoHandle;
    }
    Entry found;
    DWORD attributes = 0;
    if (!identify(handle, &found, &attributes) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        || found.device != entry.device || found.node != entry.node) {
        *outcome = Outcome::Changed;
        *error = Text::narrow(entry.name) + ": not the directory that was listed";
        CloseHandle(handle);
        return kNoHandle;
    }
    return Handle(handle);
}

void close(Handle handle)
{
    if (handle != kNoHandle)
        CloseHandle(HANDLE(handle));
}

bool list(Handle handle, const Entry& directory, std::vector<Entry>* entries, std::string* error)
{
    std::vector<unsigned char> buffer(64 * 1024);
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    for (;;) {
        if (!GetFileInformationByHandleEx(
                HANDLE(handle), kind, buffer.data(), DWORD(buffer.size()))) {
            const DWORD code = GetLastError();
            if (code == ERROR_NO_MORE_FILES)
                return true;
            describe(error, "cannot list", directory.name, code);
            return false;
        }
        kind = FileIdBothDirectoryInfo;
        for (std::size_t offset = 0;;) {
            const auto* found
                = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + offset);
            const std::wstring name(found->FileName, found->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L"..") {
                Entry entry;
                entry.name = name;
                const DWORD attributes = found->FileAttributes;
                entry.hidden = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
                if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    entry.kind = DirectoryTree::Kind::Link;
                else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                    entry.kind = DirectoryTree::Kind::Directory;
                entry.device = directory.device;
                entry.node = std::uint64_t(found->FileId.QuadPart);
                entries->push_back(std::move(entry));
            }
            if (found->NextEntryOffset == 0)
                break;
            offset += found->NextEntryOffset;
        }
    }
}

Outcome remove(Handle parent, const Entry& entry, std::string* error)
{
    if (entry.kind == DirectoryTree::Kind::MountPoint) {
        *error = Text::narrow(entry.name) + ": a mount point";
        return Outcome::Failed;
    }
    // A link is removed as the reparse point it is, whatever it points to.
    const ULONG options = entry.kind == DirectoryTree::Kind::Directory ? FILE_DIRECTORY_FILE
        : entry.kind == DirectoryTree::Kind::Link                      ? 0
                                                                       : FILE_NON_DIRECTORY_FILE;
    DWORD code = 0;
    const HANDLE handle = openBelow(HANDLE(parent), entry.name, DELETE | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, options, &code);
    if (handle == INVALID_HANDLE_VALUE) {
        describe(error, "cannot remove", entry.name, code);
        return outcomeOf(code);
    }
    FILE_DISPOSITION_INFO disposition { TRUE };
    const bool removed
        = SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
    code = removed ? 0 : GetLastError();
    CloseHandle(handle);
    if (removed)
        return Outcome::Removed;
    describe(error, "cannot remove", entry.name, code);
    return outcomeOf(code);
}

NativeString::value_type separator()
{
    return L'\\';
}

} // namespace Os::DirectoryBackend
