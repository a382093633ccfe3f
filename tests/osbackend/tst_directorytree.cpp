// The deletion primitives: a tree scanned through directory handles and removed entry by entry;
// links and junctions go as entries of their own and are never entered.

#include "backendtest.h"

#include "os/directorytree.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace BackendTest;
using Tree = Os::DirectoryTree;

TEST(DirectoryTree, EveryEntryGoesAndLinksAreNeverEntered)
{
    ScratchDir scratch;
    const fs::path root = scratch.path / "installation";
    const fs::path outside = scratch.path / "outside";
    fs::create_directories(root / "sub" / "deeper");
    fs::create_directories(outside / "tree");
    for (const fs::path& file : { root / "a.txt", root / "sub" / "b.txt",
             root / "sub" / "deeper" / "c.txt", root / fs::u8path("\xc3\xbcn\xc3\xaf \xe5\x90\x8d"),
             outside / "keep.txt", outside / "tree" / "keep.txt" })
        writeFile(file, "kept");
    std::size_t links = 0;
#if !defined(_WIN32)
    // Wine 8 makes neither junctions nor symbolic links (CreateSymbolicLinkW is a stub), and
    // deletes through the Unix links it shows as reparse points.
    fs::create_directory_symlink(outside, root / "directory link");
    fs::create_symlink(outside / "keep.txt", root / "sub" / "file link");
    fs::create_symlink(outside / "nothing", root / "dangling link");
    links = 3;
    EXPECT_FALSE(Tree().open((root / "directory link").native())) << "a link is no root";
#endif
    EXPECT_FALSE(Tree().open((root / "a.txt").native())) << "a file is no root";

    Tree tree;
    ASSERT_TRUE(tree.open(root.native())) << tree.errorText();
    tree.scan();
    const auto& entries = tree.entries();
    ASSERT_EQ(entries.size(), 6 + links) << "something below a link was listed";
    EXPECT_EQ(std::size_t(std::count_if(entries.begin(), entries.end(),
                  [](const Tree::Entry& entry) { return entry.kind == Tree::Kind::Link; })),
        links);
    // The contents of each directory come after it: removed from the end, all go.
    for (std::size_t index = entries.size(); index-- > 0;)
        EXPECT_EQ(tree.remove(index), Tree::Outcome::Removed) << tree.errorText();
    EXPECT_TRUE(fs::is_empty(root));
    EXPECT_EQ(readFile(outside / "keep.txt"), "kept");
    EXPECT_EQ(readFile(outside / "tree" / "keep.txt"), "kept");
}
