// The process list: whole names in any letter case, never the caller; termination, and the
// module path a process reports.

#include "backendtest.h"

#include "os/executables.h"
#include "os/processes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace BackendTest;

namespace {

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
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

} // namespace

TEST(Processes, WholeNamesInAnyCaseAreFoundAndEnded)
{
    ScratchDir scratch;
    const std::string base = uniqueName("probe");
    const std::string name = Os::executableFileName(base);
    // Each in a folder of its own: on Windows the names differing in case are the same file.
    ChildProcess same(scratch.path() / "a", name);
    ChildProcess otherCase(scratch.path() / "b", upper(name));
    ChildProcess longer(scratch.path() / "c", Os::executableFileName(base + " Launcher"));
    ChildProcess prefixed(scratch.path() / "d", Os::executableFileName("x" + base));
    ChildProcess suffixed(scratch.path() / "e", name + ".bak");
    for (const ChildProcess* child : { &same, &otherCase, &longer, &prefixed, &suffixed })
        ASSERT_TRUE(child->started());

    std::vector<std::int64_t> expected { same.pid(), otherCase.pid() };
    std::sort(expected.begin(), expected.end());
    ASSERT_TRUE(eventually([&] { return pidsNamed(name) == expected; }))
        << "found " << pidsNamed(name).size() << " of 2";

    for (const std::int64_t pid : expected)
        EXPECT_TRUE(Os::terminateProcess(pid));
    EXPECT_TRUE(eventually([&] { return pidsNamed(name).empty(); }));
    // Ending a process that is gone counts as done.
    EXPECT_TRUE(Os::terminateProcess(same.pid()));
    for (ChildProcess* spared : { &longer, &prefixed, &suffixed })
        EXPECT_FALSE(spared->waitForExit(std::chrono::milliseconds(0)));
}

TEST(Processes, TheCallerIsNeverAmongThem)
{
    ScratchDir scratch;
    const std::string name = Os::executableFileName(uniqueName("self"));
    ChildProcess sibling(scratch.path() / "a", name);
    ASSERT_TRUE(sibling.started());
    ChildProcess asking(
        scratch.path() / "b", name, { kFind, upper(name), std::to_string(sibling.pid()) });
    EXPECT_EQ(asking.waitForExit(), 0);
    EXPECT_FALSE(Os::terminateProcess(0));
}

TEST(Processes, ModulePathNamesTheRunningCopy)
{
    ScratchDir scratch;
    const std::string name = Os::executableFileName(uniqueName("module"));
    const fs::path written = scratch.path() / "path.txt";
    ChildProcess copy(scratch.path(), name, { kModulePath, written.u8string() });
    ASSERT_EQ(copy.waitForExit(), 0);
    const fs::path reported = fs::u8path(readFile(written));
    EXPECT_TRUE(reported.is_absolute()) << reported;
    EXPECT_TRUE(fs::equivalent(reported, scratch.path() / name)) << reported;
}
