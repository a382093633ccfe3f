#pragma once

// Executables and the libraries a process loads at run time. Paths are UTF-8 in the system's
// own form (backslashes on Windows).

#include <string>

namespace Os {

// The file name of an executable called baseName: "Foo.exe" on Windows, "Foo" elsewhere.
std::string executableFileName(const std::string& baseName);
// The file name of a shared library called baseName: "CEIPG.dll" on Windows, "libCEIPG.so"
// elsewhere.
std::string sharedLibraryFileName(const std::string& baseName);
// Absolute path of the running process's executable; empty when it cannot be told.
std::string executablePath();

// A library loaded at run time (LoadLibraryW / dlopen). Unloaded on destruction.
class Library {
public:
    Library() = default;
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // A bare file name is searched on the system's library path.
    bool load(const std::string& path);
    bool isLoaded() const { return m_handle != nullptr; }
    void* resolve(const char* symbol) const;
    const std::string& errorString() const { return m_error; }
    // Keeps the library mapped for the rest of the process.
    void leak() { m_handle = nullptr; }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

} // namespace Os
