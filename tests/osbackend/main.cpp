// The operating-system core against the system it was built for: the POSIX backend here, the
// Win32 backend under Wine. Copies of this program serve as the processes the cases need.

#include "backendtest.h"

#include "os/executables.h"
#include "os/namedlock.h"
#include "os/processes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace {

using namespace BackendTest;

// Long enough for any case, short enough that nothing is left behind for long.
void linger()
{
    std::this_thread::sleep_for(std::chrono::minutes(2));
}

int runAsChild(int argc, char** argv)
{
    const std::string mode = argv[1];
    if (mode == kHoldLock && argc == 4) {
        Os::NamedLock lock(argv[2]);
        if (lock.create() != Os::NamedLock::Created)
            return 1;
        writeFile(fs::u8path(argv[3]), "held");
        linger();
        return 0;
    }
    if (mode == kFind && argc == 4) {
        const std::vector<Os::Process> found = Os::processesNamed({ argv[2] });
        const auto has = [&](std::int64_t pid) {
            return std::any_of(found.begin(), found.end(),
                [&](const Os::Process& process) { return process.pid == pid; });
        };
        return has(std::stoll(argv[3])) && !has(Os::currentProcessId()) ? 0 : 1;
    }
    if (mode == kModulePath && argc == 3) {
        writeFile(fs::u8path(argv[2]), Os::executablePath());
        return 0;
    }
    linger();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0 && std::strncmp(argv[1], "--gtest", 7) != 0)
        return runAsChild(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
