#pragma once
#include <sys/stat.h>

#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/image/PosixFiles.h"

namespace vedozer {

// The folders of an image's drives as far as they were resolved. Each folder is found once, by name,
// relative to the descriptor of the folder above it and never through a symbolic link that leads out
// of its drive root; what is done to an entry afterwards is done relative to its folder's descriptor,
// so a folder swapped for a link meanwhile cannot redirect it. A folder keeps its descriptor open
// while it is among the most recently used (others are reopened from their parent when needed) and,
// once asked, the names it holds: a name it does not hold costs no system call.
//
// The names of a folder are read once until clear(); the changes made through this tree are noted
// (added, removed), changes made by others are seen after clear().
class FolderTree {
public:
    struct Folder;

    // One entry as resolved: the folder holding it and its name there.
    struct Entry {
        Folder* folder = nullptr;
        std::string name;  // as stored; as asked when it does not exist; "." for the folder itself
        bool exists = false;
        struct stat st {};  // the entry itself (never a symbolic link: those are followed)
        bool isFolder() const { return exists && S_ISDIR(st.st_mode); }
        bool isFile() const { return exists && S_ISREG(st.st_mode); }
    };

    // Drive letter -> host folder (absolute). A root that cannot be opened is left out.
    explicit FolderTree(const std::map<char, std::string>& roots, size_t maxOpenFolders = 128);
    ~FolderTree();
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

    // Host names below a drive root, each matched as written first, then without regard to case.
    // Links met on the way are followed when they lead to a place inside the same drive root. With
    // allowMissingLeaf the last name may be absent (not when a link names it).
    std::optional<Entry> resolve(char drive, const std::vector<std::string>& names, bool allowMissingLeaf);
    // An entry of a folder by its exact name (as listed), links followed as resolve() does.
    std::optional<Entry> entryIn(Folder& folder, const std::string& name);
    // The entry a name (matched as resolve() matches it) names in a folder. Without statLeaf an
    // entry the folder lists is taken as it is listed: exists is set, st is not, and a link there
    // is not followed (the caller opens it without following and asks again with statLeaf).
    std::optional<Entry> lookupIn(Folder& folder, std::string_view name, bool allowMissingLeaf,
                                  bool statLeaf);
    // The folder a name (matched as resolve() matches it) names in a folder, links followed.
    Folder* step(Folder& at, std::string_view name);
    // The folder an existing folder entry names; nullptr when it cannot be opened as a folder.
    Folder* open(const Entry& folderEntry);
    // Descriptor of a folder; -1 when it cannot be reopened (it went, or another folder took its place).
    int fd(Folder& folder);
    bool isRoot(const Folder& folder) const;
    Folder* root(char drive);
    std::string hostPath(const Folder& folder) const;

    // What this program changed in a folder: a name added; a name about to change (what is known
    // below it is dropped) and, with gone, one that went.
    void added(Folder& folder, const std::string& name);
    void removed(Folder& folder, const std::string& name, bool gone = true);
    // Reads a folder's names again, so a listing shows the folder as it is now.
    const std::vector<posix::DirEntryName>* relist(Folder& folder);

    // Forgets every folder below the roots.
    void clear();
    // Closes descriptors beyond the limit, least recently used first, and starts over when a folder
    // turned out replaced. Called between operations only, so no descriptor in use is closed.
    void trim();
    size_t openFolders() const { return m_open.size(); }
    // Changes whenever a folder is forgotten or a name added, so pointers and negative answers
    // kept by a caller go stale.
    uint64_t generation() const { return m_generation; }

private:
    struct Root;
    using NameIt = std::vector<std::string>::const_iterator;
    std::optional<Entry> walk(Folder* at, NameIt first, NameIt last, bool allowMissingLeaf, int& hops);
    std::optional<Entry> self(Folder& folder);
    std::optional<Entry> leaf(Folder& at, const std::string& name, bool allowMissingLeaf, int& hops);
    std::optional<Entry> follow(Folder& at, const std::string& name, int& hops);
    Folder* child(Folder& at, const std::string& name, int& hops);
    std::optional<Entry> lookup(Folder& at, std::string_view name, bool allowMissingLeaf, bool statLeaf,
                                int& hops);
    const std::string* find(Folder& at, std::string_view name, size_t* index = nullptr);
    Folder* step(Folder& at, std::string_view name, int& hops);
    bool list(Folder& folder);
    void forget(Folder& folder);
    void closeFd(Folder& folder);
    const Root* rootOf(const Folder& folder) const;

    std::vector<std::unique_ptr<Root>> m_roots;
    std::list<Folder*> m_open;  // folders other than roots with an open descriptor, most recent first
    size_t m_maxOpen;
    bool m_stale = false;
    uint64_t m_generation = 0;
};

}  // namespace vedozer
