// The process list: whole names in any letter case, never the caller; ending a process that
// ignores a request to end; the module path a process reports; the named lock, free again once
// its holder closes it or dies.

#include "backendtest.h"

#include "os/executables.h"
#include "os/namedlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#if defined(_WIN32)
#include <process.h>
#include <windows.h>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace BackendTest;

namespace {

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
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

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
