#pragma once

// What the backend cases share: a scratch folder, copies of this program as child processes,
// and waiting for what a system does in its own time.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace BackendTest {

namespace fs = std::filesystem;

// Switches of this program that make it a child process of a case (see main.cpp).
constexpr const char* kLinger = "--linger";
constexpr const char* kHoldLock = "--hold-lock"; // <name> <file written once it holds it>
constexpr const char* kFind = "--find"; // <name> <pid>: exit 0 when found, and not itself
constexpr const char* kModulePath = "--module-path"; // <file to write the path into>

// A folder of the system's temporary folder that goes with the object.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// A process started from a copy of this program; ended and reaped at the latest when the
// object goes.
class ChildProcess {
public:
    // Copies this program to `dir`/`fileName` and starts the copy with `arguments`.
    ChildProcess(const fs::path& dir, const std::string& fileName,
        const std::vector<std::string>& arguments = { kLinger });
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid != 0; }
    std::int64_t pid() const { return m_pid; }
    // Its exit code once it has ended, waiting at most `bound`; nothing while it still runs.
    std::optional<int> waitForExit(std::chrono::milliseconds bound = std::chrono::seconds(60));

private:
    std::int64_t m_pid = 0;
    std::intptr_t m_handle = 0;
    std::optional<int> m_exitCode;
};

// A name no other process of the machine carries, made of `prefix` and this process's id.
std::string uniqueName(const std::string& prefix);

// Polls `condition` until it holds or `bound` has passed: Wine, in particular, takes its time
// to let an ended process go.
bool eventually(const std::function<bool()>& condition,
    std::chrono::milliseconds bound = std::chrono::seconds(60));

// The file a child writes to tell that it got somewhere, read back whole; empty until then.
std::string readFile(const fs::path& path);
void writeFile(const fs::path& path, const std::string& text);

} // namespace BackendTest
