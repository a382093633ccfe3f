#pragma once

// Named objects of the current user's logon: a lock with CreateMutex semantics, and what a
// shared-memory segment of the same name needs around it.

#include <cstdint>
#include <string>
#include <utility>

namespace Os {

// The first holder creates it, a later one learns that it already exists. It disappears when
// its holder closes it or ends, crash included.
class NamedLock {
public:
    enum Result { Created, AlreadyExists, Failed };

    explicit NamedLock(std::string name) // UTF-8
        : m_name(std::move(name))
    {
    }
    ~NamedLock() { close(); }
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    Result create();
    bool isHeld() const { return m_handle != kNoHandle; }
    void close();

private:
    static constexpr std::intptr_t kNoHandle = -1;
    std::string m_name;
    std::intptr_t m_handle = kNoHandle;
};

// Where a shared-memory segment called `name` is kept: a native key in the same per-user place
// as the named lock of that name; empty where the name itself serves as the key.
std::string sharedMemoryNativeKey(const std::string& name);
// Whether a live process still uses the segment with that native key. Only where segments can
// outlive their users (System V) can one be unused; elsewhere an existing one always is in use.
bool isSharedMemoryInUse(const std::string& nativeKey);

// Keeps other processes from the segment behind a native key (QSharedMemory locks only the
// segments it keys itself) until destroyed or the holder ends.
class SharedMemoryLock {
public:
    explicit SharedMemoryLock(const std::string& nativeKey);
    ~SharedMemoryLock();
    SharedMemoryLock(const SharedMemoryLock&) = delete;
    SharedMemoryLock& operator=(const SharedMemoryLock&) = delete;

    bool isLocked() const { return m_handle != -1; }

private:
    std::intptr_t m_handle = -1;
};

} // namespace Os
