#include "os/processes.h"

#include "text.h"

#include <tlhelp32.h>

namespace Os {

namespace {

// The account a process runs as; empty when it cannot be told (another user's or a protected
// process, which is not this user's to end either).
std::vector<unsigned char> accountOf(HANDLE process)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    const bool read = size > 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    if (!read)
        return {};
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return std::vector<unsigned char>(bytes, bytes + GetLengthSid(sid));
}

bool startedByThisUser(DWORD pid, const std::vector<unsigned char>& self)
{
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    const bool same = !self.empty() && accountOf(process) == self;
    CloseHandle(process);
    return same;
}

} // namespace

std::int64_t currentProcessId()
{
    return std::int64_t(GetCurrentProcessId());
}

std::vector<Process> processes()
{
    std::vector<Process> result;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return result;
    // Only this user's processes: another account's copy of the product is neither this
    // user's to end nor a reason to wait.
    const std::vector<unsigned char> self = accountOf(GetCurrentProcess());
    PROCESSENTRY32W entry {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (startedByThisUser(entry.th32ProcessID, self))
            result.push_back({ std::int64_t(entry.th32ProcessID), Text::narrow(entry.szExeFile) });
    }
    CloseHandle(snapshot);
    return result;
}

bool terminateProcess(std::int64_t pid)
{
    if (pid <= 0 || pid > std::int64_t(MAXDWORD))
        return false;
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, DWORD(pid));
    // No such process any more: it is gone all the same.
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER;
    // One that has ended but is still held open somewhere refuses to be terminated again.
    const bool ended
        = TerminateProcess(process, 0) || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace Os
