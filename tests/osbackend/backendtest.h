#pragma once

// What the backend cases share: a scratch folder, unique names, files a child process writes,
// and waiting for what a system does in its own time.

#include "os/processes.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace BackendTest {

namespace fs = std::filesystem;

// The switch that makes this program a child of a case (see main.cpp), followed by nothing or
// by a file to write its module path into, then by a named lock to hold before it writes.
constexpr const char* kChild = "--child";

// A name no other process of the machine carries, made of `prefix` and this process's id.
inline std::string uniqueName(const std::string& prefix)
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

inline std::string readFile(const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

inline void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace BackendTest
