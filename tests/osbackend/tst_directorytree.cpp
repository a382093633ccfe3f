// The deletion primitives: a tree scanned through directory handles and removed entry by entry;
// links and junctions go as entries of their own and are never entered.

#include "backendtest.h"

#include "os/directorytree.h"

#include <gtest/gtest.h>

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#include <winioctl.h>
#endif

using namespace BackendTest;
using Tree = Os::DirectoryTree;

namespace {

Os::NativeString native(const fs::path& path)
{
    return path.native();
}

#if defined(_WIN32)
bool isReparsePoint(const fs::path& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A junction as mklink /J makes one: an empty directory turned into a mount-point reparse point.
bool makeJunction(const fs::path& link, const fs::path& target)
{
    if (!CreateDirectoryW(link.c_str(), nullptr))
        return false;
    const HANDLE handle = CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring substitute = L"\\??\\" + fs::absolute(target).wstring();
    const std::wstring print = fs::absolute(target).wstring();
    const std::size_t names = (substitute.size() + 1 + print.size() + 1) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(16 + names);
    const auto put = [&](std::size_t at, std::uint32_t value, std::size_t bytes) {
        std::memcpy(buffer.data() + at, &value, bytes);
    };
    put(0, IO_REPARSE_TAG_MOUNT_POINT, 4);
    put(4, std::uint32_t(8 + names), 2); // the data after this 8-byte header
    put(8, 0, 2); // substitute name: offset, length
    put(10, std::uint32_t(substitute.size() * sizeof(wchar_t)), 2);
    put(12, std::uint32_t((substitute.size() + 1) * sizeof(wchar_t)), 2); // print name
    put(14, std::uint32_t(print.size() * sizeof(wchar_t)), 2);
    std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
    std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), print.c_str(),
        (print.size() + 1) * sizeof(wchar_t));
    DWORD returned = 0;
    const bool made = DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, buffer.data(),
        DWORD(buffer.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(handle);
    if (!made)
        RemoveDirectoryW(link.c_str());
    return made;
}
#endif

// Links to what lies in `outside`, made the ways this system allows without privileges. Those
// it could not make are left out.
std::vector<fs::path> makeLinks(const fs::path& root, const fs::path& outside)
{
    std::vector<fs::path> links;
#if defined(_WIN32)
    if (makeJunction(root / "junction", outside))
        links.push_back(root / "junction");
#endif
#if defined(_WIN32)
    const auto symlink = [](const fs::path& target, const fs::path& link, DWORD kind) {
        CreateSymbolicLinkW(link.c_str(), target.c_str(), kind | 0x2 /* unprivileged */);
    };
    symlink(outside, root / "directory link", SYMBOLIC_LINK_FLAG_DIRECTORY);
    symlink(outside / "keep.txt", root / "file link", 0);
    symlink(outside / "nothing", root / "dangling link", 0);
#else
    std::error_code error;
    fs::create_directory_symlink(outside, root / "directory link", error);
    fs::create_symlink(outside / "keep.txt", root / "file link", error);
    fs::create_symlink(outside / "nothing", root / "dangling link", error);
#endif
    for (const char* name : { "directory link", "file link", "dangling link" }) {
#if defined(_WIN32)
        // Where symbolic links need privileges (or Wine only pretends to make them).
        if (isReparsePoint(root / name))
            links.push_back(root / name);
#else
        if (fs::is_symlink(root / name))
            links.push_back(root / name);
#endif
    }
    return links;
}

// Removes everything listed, contents before their directories.
std::vector<Tree::Outcome> removeAll(Tree& tree)
{
    std::vector<Tree::Outcome> outcomes;
    for (std::size_t index = tree.entries().size(); index-- > 0;)
        outcomes.push_back(tree.remove(index));
    return outcomes;
}

bool allRemoved(const std::vector<Tree::Outcome>& outcomes)
{
    for (const Tree::Outcome outcome : outcomes) {
        if (outcome != Tree::Outcome::Removed)
            return false;
    }
    return true;
}

} // namespace

TEST(DirectoryTree, EveryEntryGoesDirectoriesAfterTheirContents)
{
    ScratchDir scratch;
    const fs::path root = scratch.path() / "installation";
    fs::create_directories(root / "sub" / "deeper");
    for (const fs::path& file :
        { root / "a.txt", root / "sub" / "b.txt", root / "sub" / "deeper" / "c.txt",
            root / fs::u8path("\xc3\xbcn\xc3\xaf \xe5\x90\x8d") })
        writeFile(file, "x");

    Tree tree;
    ASSERT_TRUE(tree.open(native(root))) << tree.errorText();
    tree.scan();
    ASSERT_EQ(tree.entries().size(), 6u);
    for (const Tree::Entry& entry : tree.entries()) {
        if (entry.parent != Tree::kRoot) {
            EXPECT_EQ(tree.entries()[entry.parent].kind, Tree::Kind::Directory);
        }
    }
    EXPECT_TRUE(allRemoved(removeAll(tree))) << tree.errorText();
    EXPECT_TRUE(fs::is_empty(root));
    EXPECT_FALSE(tree.open(native(root / "a.txt"))) << "a file is no root";
}

TEST(DirectoryTree, LinksAreRemovedNeverEntered)
{
    ScratchDir scratch;
    const fs::path root = scratch.path() / "installation";
    const fs::path outside = scratch.path() / "outside";
    fs::create_directories(root);
    fs::create_directories(outside / "tree");
    writeFile(outside / "keep.txt", "kept");
    writeFile(outside / "tree" / "keep.txt", "kept");
    const std::vector<fs::path> links = makeLinks(root, outside);
    if (links.empty())
        GTEST_SKIP() << "this system makes no links or junctions without privileges";

    Tree tree;
    ASSERT_TRUE(tree.open(native(root))) << tree.errorText();
    EXPECT_FALSE(Tree().open(native(links.front()))) << "a link is no root";
    tree.scan();
    ASSERT_EQ(tree.entries().size(), links.size()) << "something below a link was listed";
    for (const Tree::Entry& entry : tree.entries())
        EXPECT_EQ(entry.kind, Tree::Kind::Link) << fs::path(entry.name);

    EXPECT_TRUE(allRemoved(removeAll(tree))) << tree.errorText();
    EXPECT_TRUE(fs::is_empty(root));
    EXPECT_EQ(readFile(outside / "keep.txt"), "kept");
    EXPECT_EQ(readFile(outside / "tree" / "keep.txt"), "kept");
}
