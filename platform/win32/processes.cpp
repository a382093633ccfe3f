#include "platform.h"

#include "windowsapi.h"

#include <tlhelp32.h>

namespace Platform {

qint64 currentProcessId()
{
    return static_cast<qint64>(GetCurrentProcessId());
}

QList<ProcessEntry> processes()
{
    QList<ProcessEntry> result;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return result;
    PROCESSENTRY32W entry {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry))
        result.append(
            { static_cast<qint64>(entry.th32ProcessID), QString::fromWCharArray(entry.szExeFile) });
    CloseHandle(snapshot);
    return result;
}

bool terminateProcess(qint64 pid)
{
    const HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid));
    if (!process)
        return false;
    const bool ended = TerminateProcess(process, 0) != 0;
    CloseHandle(process);
    return ended;
}

} // namespace Platform
