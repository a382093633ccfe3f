#include "backendtest.h"

#include "os/executables.h"
#include "os/processes.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace BackendTest {

namespace {

std::atomic<int> g_names { 0 };

#if defined(_WIN32)
std::wstring widen(const std::string& text)
{
    return fs::u8path(text).wstring();
}

// Quoted as the C runtime splits a command line; the arguments here hold no quotes.
std::wstring commandLine(const fs::path& program, const std::vector<std::string>& arguments)
{
    std::wstring line = L"\"" + program.wstring() + L"\"";
    for (const std::string& argument : arguments)
        line += L" \"" + widen(argument) + L"\"";
    return line;
}
#endif

} // namespace

ScratchDir::ScratchDir()
    : m_path(fs::temp_directory_path() / uniqueName("osbackend"))
{
    fs::create_directories(m_path);
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

ChildProcess::ChildProcess(
    const fs::path& dir, const std::string& fileName, const std::vector<std::string>& arguments)
{
    const fs::path program = dir / fs::u8path(fileName);
    std::error_code error;
    fs::create_directories(dir, error);
    if (!fs::copy_file(fs::u8path(Os::executablePath()), program, error))
        return;
#if defined(_WIN32)
    std::wstring line = commandLine(program, arguments);
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!CreateProcessW(program.wstring().c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
            nullptr, &startup, &process))
        return;
    CloseHandle(process.hThread);
    m_handle = reinterpret_cast<std::intptr_t>(process.hProcess);
    m_pid = process.dwProcessId;
#else
    const std::string path = program.string();
    std::vector<char*> argv { const_cast<char*>(path.c_str()) };
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) == 0)
        m_pid = pid;
#endif
}

ChildProcess::~ChildProcess()
{
    if (!started())
        return;
    if (!m_exitCode)
        Os::terminateProcess(m_pid);
    waitForExit();
#if defined(_WIN32)
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
#endif
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds bound)
{
    if (m_exitCode || !started())
        return m_exitCode;
#if defined(_WIN32)
    const HANDLE process = reinterpret_cast<HANDLE>(m_handle);
    DWORD code = 0;
    if (WaitForSingleObject(process, DWORD(bound.count())) == WAIT_OBJECT_0
        && GetExitCodeProcess(process, &code))
        m_exitCode = int(code);
#else
    eventually(
        [&] {
            int status = 0;
            if (::waitpid(pid_t(m_pid), &status, WNOHANG) != pid_t(m_pid))
                return false;
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        },
        bound);
#endif
    return m_exitCode;
}

std::string uniqueName(const std::string& prefix)
{
    return prefix + '-' + std::to_string(Os::currentProcessId()) + '-' + std::to_string(++g_names);
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds bound)
{
    const auto end = std::chrono::steady_clock::now() + bound;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::string readFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace BackendTest
