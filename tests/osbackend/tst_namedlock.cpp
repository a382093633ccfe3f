// The named lock: the first holder creates it, a later one finds it, and it is free again once
// its holder closes it or dies.

#include "backendtest.h"

#include "os/executables.h"
#include "os/namedlock.h"
#include "os/processes.h"

#include <gtest/gtest.h>

using namespace BackendTest;

TEST(NamedLock, CreatedThenAlreadyExistsThenFreeOnClose)
{
    // A product's name, spaces and letters of any script included: no file name.
    const std::string name = uniqueName("Tern \xc3\x9c"
                                        "bersetzer \xe5\x90\x8d_uninstall");
    Os::NamedLock first(name);
    Os::NamedLock second(name);
    Os::NamedLock other(uniqueName("another product"));

    EXPECT_EQ(first.create(), Os::NamedLock::Created);
    EXPECT_TRUE(first.isHeld());
    EXPECT_EQ(second.create(), Os::NamedLock::AlreadyExists);
    EXPECT_FALSE(second.isHeld());
    EXPECT_EQ(other.create(), Os::NamedLock::Created);

    first.close();
    EXPECT_FALSE(first.isHeld());
    EXPECT_EQ(second.create(), Os::NamedLock::Created);
}

TEST(NamedLock, FreeAgainWhenItsHolderDies)
{
    ScratchDir scratch;
    const std::string name = uniqueName("held elsewhere");
    const fs::path ready = scratch.path() / "ready";
    ChildProcess holder(scratch.path(), Os::executableFileName(uniqueName("holder")),
        { kHoldLock, name, ready.u8string() });
    ASSERT_TRUE(holder.started());
    ASSERT_TRUE(eventually([&] { return readFile(ready) == "held"; }));

    Os::NamedLock lock(name);
    EXPECT_EQ(lock.create(), Os::NamedLock::AlreadyExists);
    ASSERT_TRUE(Os::terminateProcess(holder.pid()));
    // A crash releases it too; it goes once the system has let the process go.
    EXPECT_TRUE(eventually([&] { return lock.create() == Os::NamedLock::Created; }));
}
