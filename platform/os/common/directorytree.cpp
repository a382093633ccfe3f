#include "os/directorytree.h"

#include "directorybackend.h"

#include <algorithm>
#include <utility>

namespace Os {

namespace Backend = DirectoryBackend;

namespace {

// Handles stay open for the deepest levels of the current path and for every kWindow-th level
// above them; a level in between is opened again, from the checkpoint above it, when the walk
// comes back up to it. So a tree of any depth needs only a few hundred handles at most.
constexpr std::size_t kWindow = 64;

} // namespace

struct DirectoryTree::Private {
    struct Level {
        std::size_t index; // the entry at this level; kRoot at level 0
        Backend::Handle handle;
    };

    Entry root;
    std::vector<Entry> entries;
    std::vector<Level> chain; // chain[0] is the root, chain[k] an entry of depth k
    std::string error;

    ~Private() { closeFrom(0); }

    void closeFrom(std::size_t level)
    {
        for (std::size_t i = level; i < chain.size(); ++i)
            Backend::close(chain[i].handle);
        chain.resize(std::min(level, chain.size()));
    }

    bool keepsOpen(std::size_t level) const
    {
        return level == 0 || level % kWindow == 0 || level + kWindow >= chain.size();
    }

    // The level that just left the window of deepest levels, unless it is a checkpoint.
    void dropOutsideWindow()
    {
        if (chain.size() <= kWindow + 1)
            return;
        Level& left = chain[chain.size() - 1 - kWindow];
        const std::size_t level = chain.size() - 1 - kWindow;
        if (left.handle != Backend::kNoHandle && !keepsOpen(level)) {
            Backend::close(left.handle);
            left.handle = Backend::kNoHandle;
        }
    }

    const Entry& entryAt(std::size_t level) const
    {
        return level == 0 ? root : entries[chain[level].index];
    }

    // Reopens the levels between the nearest open one above `level` and `level` itself.
    bool reopen(std::size_t level, Outcome* outcome)
    {
        std::size_t open = level;
        while (chain[open].handle == Backend::kNoHandle)
            --open;
        for (std::size_t next = open + 1; next <= level; ++next) {
            chain[next].handle
                = Backend::openDirectory(chain[next - 1].handle, entryAt(next), outcome, &error);
            if (chain[next].handle == Backend::kNoHandle) {
                closeFrom(next);
                return false;
            }
        }
        return true;
    }

    // An open handle on the directory entry `index` (the root for kRoot), reached from the root
    // one entry at a time; kNoHandle with the reason when the path no longer leads there.
    Backend::Handle handleOf(std::size_t index, Outcome* outcome)
    {
        std::vector<std::size_t> path;
        for (std::size_t at = index; at != kRoot; at = entries[at].parent)
            path.push_back(at);
        std::reverse(path.begin(), path.end());

        std::size_t common = 0;
        while (common < path.size() && common + 1 < chain.size()
            && chain[common + 1].index == path[common])
            ++common;
        closeFrom(common + 1);
        if (chain.empty()) {
            *outcome = Outcome::Changed;
            return Backend::kNoHandle;
        }
        if (chain.back().handle == Backend::kNoHandle && !reopen(chain.size() - 1, outcome))
            return Backend::kNoHandle;
        for (std::size_t level = common; level < path.size(); ++level) {
            const Backend::Handle handle = Backend::openDirectory(
                chain.back().handle, entries[path[level]], outcome, &error);
            if (handle == Backend::kNoHandle)
                return Backend::kNoHandle;
            chain.push_back({ path[level], handle });
            dropOutsideWindow();
        }
        return chain.back().handle;
    }

    bool enters(const Entry& entry) const { return entry.kind == Kind::Directory && !entry.hidden; }

    // The entries of one directory, appended after its own place in the list.
    std::vector<Entry> childrenOf(std::size_t index)
    {
        std::vector<Entry> children;
        Outcome outcome = Outcome::Failed;
        const Backend::Handle handle = handleOf(index, &outcome);
        const Entry& directory = index == kRoot ? root : entries[index];
        if (handle == Backend::kNoHandle || !Backend::list(handle, directory, &children, &error)) {
            if (index != kRoot)
                entries[index].unlisted = true;
            return {};
        }
        for (Entry& child : children) {
            child.parent = index;
            child.depth = index == kRoot ? 1 : entries[index].depth + 1;
        }
        return children;
    }
};

DirectoryTree::DirectoryTree()
    : d(std::make_unique<Private>())
{
}

DirectoryTree::~DirectoryTree() = default;

bool DirectoryTree::open(const NativeString& rootPath)
{
    d->closeFrom(0);
    d->entries.clear();
    d->root = Entry {};
    d->root.kind = Kind::Directory;
    d->root.depth = 0;
    const Backend::Handle handle = Backend::openRoot(rootPath, &d->root, &d->error);
    if (handle == Backend::kNoHandle)
        return false;
    d->chain.push_back({ kRoot, handle });
    return true;
}

void DirectoryTree::scan()
{
    d->entries.clear();
    if (d->chain.empty())
        return;
    // Depth first without recursion, so that no depth can exhaust the stack.
    struct Frame {
        std::vector<Entry> children;
        std::size_t next = 0;
    };
    std::vector<Frame> stack;
    stack.push_back({ d->childrenOf(kRoot) });
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.children.size()) {
            stack.pop_back();
            continue;
        }
        d->entries.push_back(std::move(frame.children[frame.next++]));
        const std::size_t index = d->entries.size() - 1;
        if (d->enters(d->entries[index]))
            stack.push_back({ d->childrenOf(index) });
    }
}

const std::vector<DirectoryTree::Entry>& DirectoryTree::entries() const
{
    return d->entries;
}

DirectoryTree::Outcome DirectoryTree::remove(std::size_t index)
{
    if (index >= d->entries.size())
        return Outcome::Failed;
    const Entry& entry = d->entries[index];
    Outcome outcome = Outcome::Failed;
    const Backend::Handle parent = d->handleOf(entry.parent, &outcome);
    if (parent == Backend::kNoHandle)
        return outcome;
    return Backend::remove(parent, entry, &d->error);
}

NativeString DirectoryTree::relativePath(std::size_t index) const
{
    NativeString path;
    for (std::size_t at = index; at != kRoot && at < d->entries.size();
         at = d->entries[at].parent) {
        if (!path.empty())
            path.insert(path.begin(), Backend::separator());
        path.insert(0, d->entries[at].name);
    }
    return path;
}

std::string DirectoryTree::errorText() const
{
    return d->error;
}

} // namespace Os
