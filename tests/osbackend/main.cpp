// The operating-system core against the system it was built for: the POSIX backend here, the
// Win32 backend under Wine. Copies of this program serve as the processes the cases need.

#include "backendtest.h"

#include "os/executables.h"
#include "os/namedlock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <thread>

using namespace BackendTest;

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
