// The operating-system core against the system it was built for: the POSIX backend here, the
// Win32 backend under Wine. Copies of this program serve as the processes the cases need.

#include "os/directorytree.h"
#include "os/executables.h"
#include "os/namedlock.h"
#include "os/processes.h"
#include "os/userregistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#if defined(_WIN32)
#include <process.h>
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

// The switch that makes this program a child of a case (see main), followed by nothing or
// by a file to write its module path into, then by a named lock to hold before it writes.
constexpr const char* kChild = "--child";

// A name no other process of the machine carries, made of `prefix` and this process's id.
std::string uniqueName(const std::string& prefix)
{
    static std::atomic<int> names { 0 };
    return prefix + '-' + std::to_string(Os::currentProcessId()) + '-' + std::to_string(++names);
}

// A folder of the system's temporary folder that goes with the object.
struct ScratchDir {
    ScratchDir() { fs::create_directories(path); }
    ~ScratchDir()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    const fs::path path = fs::temp_directory_path() / uniqueName("osbackend");
};

// Polls `condition` until it holds or `bound` has passed: Wine, in particular, takes its time
// to let an ended process go.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds bound = std::chrono::seconds(30))
{
    const auto end = std::chrono::steady_clock::now() + bound;
    for (; !condition(); std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
        if (std::chrono::steady_clock::now() > end)
            return false;
    }
    return true;
}

std::string readFile(const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A copy of this program, named `fileName` in `dir`, started as a child with up to two
// arguments; killed and reaped at the latest when the object goes, not through the code under
// test (which may fail to).
class ChildProcess {
public:
    ChildProcess(const fs::path& dir, const std::string& fileName, const std::string& first = {},
        const std::string& second = {})
    {
        const fs::path program = dir / fs::u8path(fileName);
        std::error_code error;
        fs::create_directories(dir, error);
        if (!fs::copy_file(fs::u8path(Os::executablePath()), program, error))
            return;
#if defined(_WIN32)
        // Quoted as the C runtime splits a command line; the arguments here hold no quotes.
        const auto quoted
            = [](const std::string& text) { return L'"' + fs::u8path(text).wstring() + L'"'; };
        const std::wstring self = quoted(program.u8string()), a = quoted(first), b = quoted(second);
        const intptr_t handle = _wspawnl(_P_NOWAIT, program.wstring().c_str(), self.c_str(),
            fs::u8path(kChild).wstring().c_str(), first.empty() ? nullptr : a.c_str(),
            second.empty() ? nullptr : b.c_str(), nullptr);
        if (handle != -1)
            pid = GetProcessId(m_handle = HANDLE(handle));
#else
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl(program.c_str(), program.c_str(), kChild,
                first.empty() ? nullptr : first.c_str(), second.empty() ? nullptr : second.c_str(),
                nullptr);
            ::_exit(127);
        }
        pid = std::max(child, pid_t(0));
#endif
    }

    ~ChildProcess()
    {
#if defined(_WIN32)
        TerminateProcess(m_handle, 1);
        WaitForSingleObject(m_handle, INFINITE);
        CloseHandle(m_handle);
#else
        if (pid != 0 && ::kill(pid_t(pid), SIGKILL) == 0)
            ::waitpid(pid_t(pid), nullptr, 0);
#endif
    }

    bool isRunning() const
    {
#if defined(_WIN32)
        return WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT;
#else
        return ::waitpid(pid_t(pid), nullptr, WNOHANG) == 0;
#endif
    }

    std::int64_t pid = 0;

private:
#if defined(_WIN32)
    HANDLE m_handle = nullptr;
#endif
};

std::vector<std::int64_t> pidsNamed(const std::string& name)
{
    std::vector<std::int64_t> pids;
    for (const Os::Process& process : Os::processesNamed({ name }))
        pids.push_back(process.pid);
    std::sort(pids.begin(), pids.end());
    return pids;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), ::toupper);
    return text;
}

using Tree = Os::DirectoryTree;

} // namespace

// The deletion primitives: a tree scanned through directory handles and removed entry by entry;
// links and junctions go as entries of their own and are never entered.
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

// Whole names in any letter case, never the caller even under its own name; ended for good,
// though they ignore a request to end.
TEST(Processes, WholeNamesInAnyCaseAreFoundAndEnded)
{
    ScratchDir scratch;
    const std::string base = uniqueName("probe");
    const std::string name = Os::executableFileName(base);
    const std::string self = fs::u8path(Os::executablePath()).filename().u8string();
    // Each in a folder of its own: on Windows the names differing in case are the same file.
    ChildProcess same(scratch.path / "a", name);
    ChildProcess otherCase(scratch.path / "b", upper(name));
    ChildProcess longer(scratch.path / "c", Os::executableFileName(base + " Launcher"));
    ChildProcess prefixed(scratch.path / "d", Os::executableFileName("x" + base));
    ChildProcess suffixed(scratch.path / "e", name + ".bak");
    ChildProcess sibling(scratch.path / "f", self);

    std::vector<std::int64_t> expected { same.pid, otherCase.pid };
    std::sort(expected.begin(), expected.end());
    ASSERT_TRUE(eventually([&] { return pidsNamed(name) == expected; }))
        << "found " << pidsNamed(name).size() << " of 2";
    // Other suites of the machine may run copies of this program too.
    const auto has = [](const std::vector<std::int64_t>& pids, std::int64_t pid) {
        return std::find(pids.begin(), pids.end(), pid) != pids.end();
    };
    ASSERT_TRUE(eventually([&] { return has(pidsNamed(upper(self)), sibling.pid); }));
    EXPECT_FALSE(has(pidsNamed(self), Os::currentProcessId()));

    for (const std::int64_t pid : expected)
        EXPECT_TRUE(Os::terminateProcess(pid));
    ASSERT_TRUE(eventually([&] { return pidsNamed(name).empty(); }, std::chrono::seconds(10)))
        << "asked to end instead of ended";
    EXPECT_TRUE(Os::terminateProcess(same.pid)) << "ending a process that is gone counts as done";
    EXPECT_FALSE(Os::terminateProcess(0));
    for (ChildProcess* spared : { &longer, &prefixed, &suffixed })
        EXPECT_TRUE(spared->isRunning());
}

// A product's name, spaces and letters of any script included, is no file name. The child
// holds the lock, then writes the module path the system reports for it: its copy.
TEST(NamedLock, HeldOnceAndFreeAgainOnCloseOrWhenItsHolderDies)
{
    const std::string name = uniqueName("Tern \xc3\x9c"
                                        "bersetzer \xe5\x90\x8d_uninstall");
    Os::NamedLock first(name), second(name), other(uniqueName("another product"));
    EXPECT_EQ(first.create(), Os::NamedLock::Created);
    EXPECT_TRUE(first.isHeld());
    EXPECT_EQ(second.create(), Os::NamedLock::AlreadyExists);
    EXPECT_FALSE(second.isHeld());
    EXPECT_EQ(other.create(), Os::NamedLock::Created);
    first.close();
    EXPECT_FALSE(first.isHeld());
    EXPECT_EQ(second.create(), Os::NamedLock::Created);

    ScratchDir scratch;
    const std::string held = uniqueName("held elsewhere");
    const fs::path program = scratch.path / Os::executableFileName(uniqueName("holder"));
    const fs::path written = scratch.path / "module path";
    ChildProcess holder(scratch.path, program.filename().u8string(), written.u8string(), held);
    ASSERT_TRUE(eventually([&] {
        std::error_code partial;
        return fs::equivalent(fs::u8path(readFile(written)), program, partial);
    }));
    EXPECT_TRUE(fs::u8path(readFile(written)).is_absolute()) << readFile(written);
    Os::NamedLock lock(held);
    EXPECT_EQ(lock.create(), Os::NamedLock::AlreadyExists);
    ASSERT_TRUE(Os::terminateProcess(holder.pid));
    // A crash releases it too; it goes once the system has let the process go.
    EXPECT_TRUE(eventually([&] { return lock.create() == Os::NamedLock::Created; }));
}

// Libraries: found by path, resolved by name, and a clear error when not.
TEST(Library, LoadedResolvedAndCalledOrMissingAndSaysSo)
{
    const fs::path here = fs::u8path(Os::executablePath()).parent_path();
    Os::Library library;
    ASSERT_TRUE(library.load((here / Os::sharedLibraryFileName("osprobe")).u8string()))
        << library.errorString();
    EXPECT_TRUE(library.isLoaded());
    const auto answer = reinterpret_cast<int (*)()>(library.resolve("osProbeAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(library.resolve("noSuchEntry"), nullptr);

    Os::Library missing;
    EXPECT_FALSE(missing.load((here / Os::sharedLibraryFileName("osprobe-missing")).u8string()));
    EXPECT_FALSE(missing.isLoaded());
    EXPECT_NE(missing.errorString().find("osprobe-missing"), std::string::npos)
        << missing.errorString();
    EXPECT_EQ(missing.resolve("osProbeAnswer"), nullptr);
}

// The current user's registry: values read back as stored, other types told apart from
// strings, keys opened read-only refuse to change; and the identifiers kept there.
TEST(UserRegistry, ValuesReadBackAsStoredAndReadOnlyKeysRefuseChanges)
{
    // A key of its own under a hive of the scratch folder (POSIX) or the prefix's (Wine).
    ScratchDir scratch;
    const std::string path = "Software\\Tern Backend Test\\" + uniqueName("key");
#if !defined(_WIN32)
    ::setenv("TERN_REGISTRY_ROOT", (scratch.path / "HKEY_CURRENT_USER").c_str(), 1);
#endif
    Os::UserRegistryKey key;
    EXPECT_FALSE(key.openReadOnly(path)) << "a key that does not exist";
    // Each replaces the one before.
    const std::string last = "{0f0e0d0c-0b0a-0908-0706-050403020100}";
    for (const std::string text :
        { "", "with spaces and = signs", "Gr\u00fc\u00dfe", last.c_str() }) {
        ASSERT_TRUE(key.create(path));
        ASSERT_TRUE(key.setString("CEIPIdentifier", text));
        key.close();
        ASSERT_TRUE(key.openReadOnly(path));
        EXPECT_EQ(key.value("CEIPIdentifier").type, Os::RegistryValueType::String);
        EXPECT_EQ(key.value("CEIPIdentifier").text, text);
    }
    EXPECT_FALSE(key.setString("CEIPIdentifier", "changed"));
    EXPECT_FALSE(key.setBinary("added", { 1 }));
    EXPECT_FALSE(key.remove("CEIPIdentifier"));
    EXPECT_EQ(key.value("CEIPIdentifier").text, last);

    ASSERT_TRUE(key.create(path));
    ASSERT_TRUE(key.setBinary("binary", { 0x7b, 0x00, 0xff }));
    EXPECT_EQ(key.value("binary").type, Os::RegistryValueType::Other);
    EXPECT_EQ(key.value("binary").text, "");
    EXPECT_EQ(key.value("missing").type, Os::RegistryValueType::None);
    EXPECT_TRUE(key.remove("CEIPIdentifier"));
    EXPECT_EQ(key.value("CEIPIdentifier").type, Os::RegistryValueType::None);
    EXPECT_FALSE(key.remove("CEIPIdentifier"));
#if defined(_WIN32)
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
#endif
}

TEST(Uuid, BracedLowerCaseAndNewEachTime)
{
    const std::regex form("\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}");
    const std::string first = Os::createUuidString();
    EXPECT_TRUE(std::regex_match(first, form)) << first;
    EXPECT_NE(first, Os::createUuidString());
}

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], kChild) != 0) {
        testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    }
    // Like a program busy saving its work: asking it to end is not enough.
    std::signal(SIGTERM, SIG_IGN);
    Os::NamedLock lock(argc > 3 ? argv[3] : uniqueName("no lock"));
    if (argc > 3 && lock.create() != Os::NamedLock::Created)
        return 1;
    if (argc > 2)
        writeFile(fs::u8path(argv[2]), Os::executablePath());
    // Long enough for any case, short enough that nothing is left behind for long.
    std::this_thread::sleep_for(std::chrono::minutes(2));
    return 0;
}
