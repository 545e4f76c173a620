#include "platform/image/FolderTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/image/FoldedNames.h"
#include "text/Text.h"

namespace vedozer {
namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinkHops = 40;

}  // namespace

struct FolderTree::Folder {
    Folder* parent = nullptr;
    char drive = 0;
    std::string name;  // in the parent, as stored ("" for a root)
    dev_t dev = 0;
    ino_t ino = 0;
    int fd = -1;
    std::list<Folder*>::iterator use;  // place in m_open while fd is open (not for roots)
    bool listed = false;
    FoldedNames names;
    std::vector<Folder*> folderAt;  // per entry of names: its folder in children, once opened
    std::unordered_map<std::string, std::unique_ptr<Folder>> children;
};

struct FolderTree::Root {
    Folder folder;
    std::vector<std::string> prefixes;  // host paths of the root, as given and canonical
};

FolderTree::FolderTree(const std::map<char, std::string>& roots, size_t maxOpenFolders)
    : m_maxOpen(maxOpenFolders) {
    namespace fs = std::filesystem;
    for (const auto& [letter, path] : roots) {
        int fd = posix::openFolderAt(AT_FDCWD, path, false);
        if (fd < 0) continue;
        auto root = std::make_unique<Root>();
        struct stat st {};
        ::fstat(fd, &st);
        root->folder.drive = letter;
        root->folder.fd = fd;
        root->folder.dev = st.st_dev;
        root->folder.ino = st.st_ino;
        std::error_code ec;
        std::string given = fs::absolute(path, ec).lexically_normal().string();
        std::string canonical = fs::canonical(path, ec).string();
        for (std::string p : {given, canonical}) {
            while (p.size() > 1 && p.back() == '/') p.pop_back();
            if (!p.empty()) root->prefixes.push_back(p);
        }
        m_roots.push_back(std::move(root));
    }
}

FolderTree::~FolderTree() {
    clear();
    for (auto& root : m_roots) ::close(root->folder.fd);
}

bool FolderTree::isRoot(const Folder& folder) const { return folder.parent == nullptr; }

FolderTree::Folder* FolderTree::root(char drive) {
    for (auto& root : m_roots)
        if (root->folder.drive == drive) return &root->folder;
    return nullptr;
}

const FolderTree::Root* FolderTree::rootOf(const Folder& folder) const {
    for (const auto& root : m_roots)
        if (root->folder.drive == folder.drive) return root.get();
    return nullptr;
}

std::string FolderTree::hostPath(const Folder& folder) const {
    if (!folder.parent) {
        const Root* root = rootOf(folder);
        return root ? root->prefixes.back() : std::string();
    }
    std::string above = hostPath(*folder.parent);
    return (above == "/" ? "" : above) + "/" + folder.name;
}

void FolderTree::closeFd(Folder& folder) {
    if (folder.fd < 0 || !folder.parent) return;
    ::close(folder.fd);
    folder.fd = -1;
    m_open.erase(folder.use);
}

void FolderTree::forget(Folder& folder) {
    for (auto& [name, sub] : folder.children) {
        forget(*sub);
        closeFd(*sub);
    }
    folder.children.clear();
    folder.listed = false;
    folder.names.clear();
    folder.folderAt.clear();
    ++m_generation;
}

void FolderTree::clear() {
    for (auto& root : m_roots) forget(root->folder);
    m_stale = false;
}

void FolderTree::trim() {
    if (m_stale) clear();
    while (m_open.size() > m_maxOpen) closeFd(*m_open.back());
}

int FolderTree::fd(Folder& folder) {
    if (folder.fd >= 0) {
        if (folder.parent) m_open.splice(m_open.begin(), m_open, folder.use);
        return folder.fd;
    }
    if (!folder.parent) return -1;
    int parentFd = fd(*folder.parent);
    if (parentFd < 0) return -1;
    int reopened = posix::openFolderAt(parentFd, folder.name, true);
    if (reopened < 0) return -1;
    struct stat st {};
    if (::fstat(reopened, &st) != 0 || st.st_dev != folder.dev || st.st_ino != folder.ino) {
        // Another folder stands under the name now: what is known below it is wrong. The caller
        // may hold folders below it, so they are dropped before the next operation, not now.
        ::close(reopened);
        m_stale = true;
        return -1;
    }
    folder.fd = reopened;
    m_open.push_front(&folder);
    folder.use = m_open.begin();
    return folder.fd;
}

bool FolderTree::list(Folder& folder) {
    if (folder.listed) return true;
    int dirFd = fd(folder);
    if (dirFd < 0) return false;
    folder.names.assign(posix::listEntries(dirFd));
    folder.folderAt.assign(folder.names.entries().size(), nullptr);
    for (auto& [name, sub] : folder.children) {
        const size_t at = folder.names.find(name);
        if (at != FoldedNames::npos && folder.names.entries()[at].name == name)
            folder.folderAt[at] = sub.get();
    }
    folder.listed = true;
    return true;
}

const std::vector<posix::DirEntryName>* FolderTree::relist(Folder& folder) {
    folder.listed = false;
    if (!list(folder)) return nullptr;
    return &folder.names.entries();
}

// The name as stored: the one spelt exactly so, else the first listed of the same upper-case form.
const std::string* FolderTree::find(Folder& at, std::string_view name, size_t* index) {
    if (!list(at)) return nullptr;
    const size_t found = at.names.find(name);
    if (found == FoldedNames::npos) return nullptr;
    if (index) *index = found;
    return &at.names.entries()[found].name;
}

void FolderTree::added(Folder& folder, const std::string& name) {
    ++m_generation;
    if (!folder.listed) return;
    folder.names.add(name);
    folder.folderAt.resize(folder.names.entries().size(), nullptr);
}

void FolderTree::removed(Folder& folder, const std::string& name, bool gone) {
    auto it = folder.children.find(name);
    if (it != folder.children.end()) {
        for (Folder*& known : folder.folderAt)
            if (known == it->second.get()) known = nullptr;
        forget(*it->second);
        closeFd(*it->second);
        folder.children.erase(it);
    }
    // Taken out of the names, so another spelling of it is what a folded look-up finds now.
    if (gone) folder.names.remove(name);
    ++m_generation;
}

std::optional<FolderTree::Entry> FolderTree::resolve(char drive, const std::vector<std::string>& names,
                                                     bool allowMissingLeaf) {
    for (auto& root : m_roots) {
        if (root->folder.drive != drive) continue;
        int hops = 0;
        return walk(&root->folder, names.begin(), names.end(), allowMissingLeaf, hops);
    }
    return std::nullopt;
}

std::optional<FolderTree::Entry> FolderTree::self(Folder& folder) {
    int dirFd = fd(folder);
    Entry e{&folder, ".", true, {}};
    if (dirFd < 0 || ::fstat(dirFd, &e.st) != 0) return std::nullopt;
    return e;
}

std::optional<FolderTree::Entry> FolderTree::walk(Folder* at, NameIt first, NameIt last,
                                                  bool allowMissingLeaf, int& hops) {
    if (first == last) return self(*at);
    for (auto it = first; it != last; ++it) {
        const bool isLast = it + 1 == last;
        if (it->empty() || *it == "." || *it == "..") {
            if (*it == "..") {
                if (!at->parent) return std::nullopt;  // above the drive root
                at = at->parent;
            }
            if (isLast) return self(*at);
            continue;
        }
        if (isLast) return lookup(*at, *it, allowMissingLeaf, true, hops);
        at = step(*at, *it, hops);
        if (!at) return std::nullopt;
    }
    return std::nullopt;
}

std::optional<FolderTree::Entry> FolderTree::leaf(Folder& at, const std::string& name, bool allowMissingLeaf,
                                                  int& hops) {
    int dirFd = fd(at);
    if (dirFd < 0) return std::nullopt;
    Entry e{&at, name, true, {}};
    if (::fstatat(dirFd, name.c_str(), &e.st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT || !allowMissingLeaf) return std::nullopt;
        e.exists = false;
        return e;
    }
    if (S_ISLNK(e.st.st_mode)) return follow(at, name, hops);
    return e;
}

FolderTree::Folder* FolderTree::step(Folder& at, std::string_view name, int& hops) {
    size_t index = 0;
    const std::string* stored = find(at, name, &index);
    if (!stored) return nullptr;
    if (Folder* known = at.folderAt[index]) return known;
    Folder* next = child(at, std::string(*stored), hops);
    // Only a folder that lies there is remembered there, not one a link there leads to.
    if (next && next->parent == &at && next->name == *stored) at.folderAt[index] = next;
    return next;
}

FolderTree::Folder* FolderTree::step(Folder& at, std::string_view name) {
    int hops = 0;
    return step(at, name, hops);
}

FolderTree::Folder* FolderTree::child(Folder& at, const std::string& name, int& hops) {
    auto known = at.children.find(name);
    if (known != at.children.end()) return known->second.get();
    int dirFd = fd(at);
    if (dirFd < 0) return nullptr;
    int childFd = posix::openFolderAt(dirFd, name, true);
    if (childFd < 0) {
        struct stat st {};
        if ((errno == ELOOP || errno == ENOTDIR) &&
            ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
            auto target = follow(at, name, hops);
            return target && target->isFolder() ? open(*target) : nullptr;
        }
        return nullptr;
    }
    auto folder = std::make_unique<Folder>();
    struct stat st {};
    ::fstat(childFd, &st);
    folder->parent = &at;
    folder->drive = at.drive;
    folder->name = name;
    folder->dev = st.st_dev;
    folder->ino = st.st_ino;
    folder->fd = childFd;
    m_open.push_front(folder.get());
    folder->use = m_open.begin();
    return (at.children[name] = std::move(folder)).get();
}

std::optional<FolderTree::Entry> FolderTree::entryIn(Folder& folder, const std::string& name) {
    int hops = 0;
    return leaf(folder, name, false, hops);
}

std::optional<FolderTree::Entry> FolderTree::lookupIn(Folder& folder, std::string_view name,
                                                      bool allowMissingLeaf, bool statLeaf) {
    int hops = 0;
    return lookup(folder, name, allowMissingLeaf, statLeaf, hops);
}

std::optional<FolderTree::Entry> FolderTree::lookup(Folder& at, std::string_view name, bool allowMissingLeaf,
                                                    bool statLeaf, int& hops) {
    if (name.empty() || name == "." || name == "..") {
        std::vector<std::string> one{std::string(name)};
        return walk(&at, one.begin(), one.end(), allowMissingLeaf, hops);
    }
    const std::string* stored = find(at, name);
    if (!stored) {
        if (allowMissingLeaf && fd(at) >= 0) return Entry{&at, std::string(name), false, {}};
        return std::nullopt;
    }
    if (!statLeaf) return Entry{&at, *stored, true, {}};
    return leaf(at, std::string(*stored), allowMissingLeaf, hops);
}

FolderTree::Folder* FolderTree::open(const Entry& entry) {
    if (!entry.folder) return nullptr;
    if (entry.name == ".") return entry.folder;
    int hops = 0;
    return child(*entry.folder, entry.name, hops);
}

std::optional<FolderTree::Entry> FolderTree::follow(Folder& at, const std::string& name, int& hops) {
    if (++hops > kMaxLinkHops) return std::nullopt;
    int dirFd = fd(at);
    if (dirFd < 0) return std::nullopt;
    std::string target(4096, '\0');
    ssize_t n = ::readlinkat(dirFd, name.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size()) return std::nullopt;
    target.resize(static_cast<size_t>(n));

    Folder* start = &at;
    std::string rest = target;
    if (target.front() == '/') {
        // An absolute target counts only when it names a place under this drive's root.
        const Root* root = rootOf(at);
        if (!root) return std::nullopt;
        const std::string normal = std::filesystem::path(target).lexically_normal().string();
        bool inside = false;
        for (const std::string& prefix : root->prefixes) {
            if (normal == prefix || prefix == "/" ||
                (normal.size() > prefix.size() && normal.compare(0, prefix.size(), prefix) == 0 &&
                 normal[prefix.size()] == '/')) {
                rest = prefix == "/" ? normal : normal.substr(prefix.size());
                inside = true;
                break;
            }
        }
        if (!inside) return std::nullopt;
        start = const_cast<Folder*>(&root->folder);
    }
    std::vector<std::string> names = text::split(rest, "/");
    return walk(start, names.begin(), names.end(), false, hops);
}

}  // namespace vedozer
