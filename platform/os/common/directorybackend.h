#pragma once

// What a backend provides for DirectoryTree: handles on directories, opened one step at a time.

#include "os/directorytree.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Os::DirectoryBackend {

using Handle = std::intptr_t;
constexpr Handle kNoHandle = -1;
using Entry = DirectoryTree::Entry;
using Outcome = DirectoryTree::Outcome;

// Opens the root directory itself; its identity goes into `root`. kNoHandle when it is missing,
// not a directory, or a link.
Handle openRoot(const NativeString& path, Entry* root, std::string* error);
// Opens a directory entry of `parent`, refusing a link and anything but the directory the
// scan listed (compared by identity).
Handle openDirectory(Handle parent, const Entry& entry, Outcome* outcome, std::string* error);
void close(Handle handle);
// The entries of an open directory, without "." and "..": kind, hidden flag and, for
// directories, their identity. `directory` is the listed directory itself (its identity
// tells mount points apart). False when it cannot be read.
bool list(Handle handle, const Entry& directory, std::vector<Entry>* entries, std::string* error);
// Removes `entry` from the open directory `parent`.
Outcome remove(Handle parent, const Entry& entry, std::string* error);
// The separator relativePath puts between names.
NativeString::value_type separator();

} // namespace Os::DirectoryBackend
