#include "platform/image/HiveFile.h"

#include <fcntl.h>
#include <hivex.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/image/HiveReader.h"
#include "platform/image/HiveText.h"

namespace vedozer {

struct HiveFile::Hive {
    hive_h* h = nullptr;
    ~Hive() {
        if (h) hivex_close(h);
    }
};

namespace {

struct FreeString {
    void operator()(char* p) const { std::free(p); }
};
using CString = std::unique_ptr<char, FreeString>;
template <typename T>
struct FreeArray {
    void operator()(T* p) const { std::free(p); }
};

std::string parentFolder(const std::string& path) {
    std::string dir = std::filesystem::path(path).parent_path().string();
    return dir.empty() ? "." : dir;
}

}  // namespace

namespace {

// A name for an open descriptor that a library opening by path (hivex) resolves to that very file or
// folder, whatever was renamed or swapped for a link since; nothing when /proc is not there.
std::optional<std::string> descriptorPath(int fd, const std::string& name = "") {
    static const bool haveProc = ::access("/proc/self/fd", X_OK) == 0;
    if (!haveProc || fd < 0) return std::nullopt;
    return "/proc/self/fd/" + std::to_string(fd) + (name.empty() ? "" : "/" + name);
}

}  // namespace

// The hive's folder is opened once, here: every later read, write and rename of the hive happens
// in that folder, so a folder of the image swapped for a link afterwards cannot redirect a write.
HiveFile::HiveFile(std::string hostPath)
    : m_path(std::move(hostPath)), m_name(std::filesystem::path(m_path).filename().string()) {
    m_dirFd = ::open(parentFolder(m_path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

HiveFile::~HiveFile() {
    close();
    if (m_dirFd >= 0) ::close(m_dirFd);
}

bool HiveFile::fail(const std::string& what, int err) {
    m_error = m_path + ": " + what;
    if (err) m_error += std::string(" (") + std::strerror(err) + ")";
    return false;
}

void HiveFile::close() {
    m_hive.reset();
    m_reader.reset();
    m_writable = false;
    m_index.clear();
    m_values.clear();
}

bool HiveFile::open() {
    if (m_hive || m_reader) return true;
    if (m_dirFd < 0) return fail("the hive's folder cannot be opened", 0);
    struct stat st {};
    if (::fstatat(m_dirFd, m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return fail("hive file cannot be opened", errno);
    if (!S_ISREG(st.st_mode)) return fail("hive is not a regular file", 0);
    auto reader = std::make_unique<HiveReader>();
    if (!reader->openAt(m_dirFd, m_name)) return fail(reader->error(), 0);
    m_minorVersion = reader->minorVersion();
    m_reader = std::move(reader);
    return true;
}

HiveFile::Node HiveFile::root() const {
    if (m_hive) return hivex_root(m_hive->h);
    return m_reader ? m_reader->root() : 0;
}

std::optional<std::vector<HiveFile::Node>> HiveFile::childNodes(Node node) {
    if (m_reader) {
        auto children = m_reader->children(static_cast<uint32_t>(node));
        if (!children) {
            fail("cannot read the sub keys of a key: " + m_reader->error(), 0);
            return std::nullopt;
        }
        return std::vector<Node>(children->begin(), children->end());
    }
    errno = 0;
    std::unique_ptr<hive_node_h, FreeArray<hive_node_h>> children(hivex_node_children(m_hive->h, node));
    if (!children) {
        fail("cannot read the sub keys of a key", errno);
        return std::nullopt;
    }
    std::vector<Node> out;
    for (hive_node_h* c = children.get(); *c; ++c) out.push_back(*c);
    return out;
}

// Nothing for a name that cannot be decoded: such a key cannot be asked for either.
std::optional<std::string> HiveFile::nodeName(Node node, bool& damaged) {
    if (m_reader) {
        auto name = m_reader->name(static_cast<uint32_t>(node), damaged);
        if (damaged) fail("cannot read the sub keys of a key: " + m_reader->error(), 0);
        return name;
    }
    CString name(hivex_node_name(m_hive->h, node));
    if (!name) return std::nullopt;
    return std::string(name.get());
}

const HiveFile::Index* HiveFile::index(Node node) {
    auto it = m_index.find(node);
    if (it != m_index.end()) return &it->second;
    auto children = childNodes(node);
    if (!children) return nullptr;
    Index idx;
    idx.byFoldedName.reserve(children->size());
    bool damaged = false;
    for (Node c : *children) {
        if (auto name = nodeName(c, damaged)) idx.byFoldedName.add(hivetext::foldUtf8(*name), c);
        if (damaged) return nullptr;
    }
    return &m_index.emplace(node, std::move(idx)).first->second;
}

std::optional<HiveFile::Node> HiveFile::child(Node parent, const std::string& foldedName, bool& failed) {
    const Index* idx = index(parent);
    if (!idx) {
        failed = true;
        return std::nullopt;
    }
    auto found = idx->byFoldedName.find(foldedName);
    if (!found) return std::nullopt;
    return static_cast<Node>(*found);
}

std::optional<HiveFile::Node> HiveFile::find(const std::vector<std::string>& foldedPath, bool& failed) {
    Node node = root();
    for (const std::string& part : foldedPath) {
        auto next = child(node, part, failed);
        if (!next) return std::nullopt;
        node = *next;
    }
    return node;
}

std::optional<std::vector<std::string>> HiveFile::childNames(Node node) {
    auto children = childNodes(node);
    if (!children) return std::nullopt;
    std::vector<std::string> names;
    names.reserve(children->size());
    bool damaged = false;
    for (Node c : *children) {
        if (auto name = nodeName(c, damaged)) names.push_back(std::move(*name));
        if (damaged) return std::nullopt;
    }
    return names;
}

namespace {

bool holdsZero(const std::string& name) { return name.find('\0') != std::string::npos; }

}  // namespace

std::optional<std::vector<HiveValue>> HiveFile::values(Node node) {
    std::vector<HiveValue> out;
    if (m_reader) {
        auto list = m_reader->values(static_cast<uint32_t>(node));
        if (!list) {
            fail("cannot read the values of a key: " + m_reader->error(), 0);
            return std::nullopt;
        }
        for (const auto& v : *list) {
            if (holdsZero(v.utf8Name)) {
                fail("a value name holds a zero character", 0);
                return std::nullopt;
            }
            auto data = m_reader->data(v);
            if (!data) {
                fail("cannot read the data of value \"" + v.utf8Name + "\": " + m_reader->error(), 0);
                return std::nullopt;
            }
            out.push_back(HiveValue{v.utf8Name, v.type, std::move(*data)});
        }
        return out;
    }
    errno = 0;
    std::unique_ptr<hive_value_h, FreeArray<hive_value_h>> list(hivex_node_values(m_hive->h, node));
    if (!list) {
        fail("cannot read the values of a key", errno);
        return std::nullopt;
    }
    for (hive_value_h* v = list.get(); *v; ++v) {
        HiveValue value;
        CString name(hivex_value_key(m_hive->h, *v));
        if (!name) {
            fail("cannot read a value name", errno);
            return std::nullopt;
        }
        value.utf8Name = name.get();
        if (hivex_value_key_len(m_hive->h, *v) != value.utf8Name.size()) {
            fail("a value name holds a zero character", 0);
            return std::nullopt;
        }
        hive_type type{};
        size_t len = 0;
        if (hivex_value_type(m_hive->h, *v, &type, &len) != 0) {
            fail("cannot read a value", errno);
            return std::nullopt;
        }
        if (len > 0) {
            CString data(hivex_value_value(m_hive->h, *v, &type, &len));
            if (!data) {
                fail("cannot read the data of value \"" + value.utf8Name + "\"", errno);
                return std::nullopt;
            }
            value.data.assign(data.get(), len);
        }
        // hivex hands over any 32-bit type, also ones its enumeration does not name: read as a number.
        std::memcpy(&value.type, &type, sizeof value.type);
        out.push_back(std::move(value));
    }
    return out;
}

std::optional<HiveValue> HiveFile::value(Node node, const std::string& foldedName, bool& failed) {
    if (!m_reader) {
        auto all = values(node);
        if (!all) {
            failed = true;
            return std::nullopt;
        }
        for (auto& v : *all)
            if (hivetext::foldUtf8(v.utf8Name) == foldedName) return std::move(v);
        return std::nullopt;
    }
    auto known = m_values.find(node);
    if (known == m_values.end()) {
        auto list = m_reader->values(static_cast<uint32_t>(node));
        if (!list) {
            failed = true;
            fail("cannot read the values of a key: " + m_reader->error(), 0);
            return std::nullopt;
        }
        std::unordered_map<std::string, HiveReader::Value> byName;
        for (auto& v : *list) byName.emplace(hivetext::foldUtf8(v.utf8Name), std::move(v));  // the first of a name
        known = m_values.emplace(node, std::move(byName)).first;
    }
    auto it = known->second.find(foldedName);
    if (it == known->second.end()) return std::nullopt;
    const HiveReader::Value& v = it->second;
    auto data = m_reader->data(v);
    if (!data) {
        failed = true;
        fail("cannot read the data of value \"" + v.utf8Name + "\": " + m_reader->error(), 0);
        return std::nullopt;
    }
    return HiveValue{v.utf8Name, v.type, std::move(*data)};
}

bool HiveFile::makeWritable() {
    if (m_hive && m_writable) return true;
    close();
    if (!open()) return false;  // validates the file before hivex reads it whole
    close();
    // hivex opens by name: it is given the file opened here, in the hive's folder, never a link.
    int fd = ::openat(m_dirFd, m_name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail("hive cannot be opened for writing", errno);
    errno = 0;
    hive_h* h = hivex_open(descriptorPath(fd).value_or(m_path).c_str(), HIVEX_OPEN_WRITE);
    const int err = errno;
    ::close(fd);
    if (!h) return fail("hive cannot be opened for writing", err);
    m_hive = std::make_unique<Hive>();
    m_hive->h = h;
    m_writable = true;
    return true;
}

std::optional<HiveFile::Node> HiveFile::addChild(Node parent, const std::string& utf8Name) {
    errno = 0;
    hive_node_h node = hivex_node_add_child(m_hive->h, parent, utf8Name.c_str());
    m_index.erase(parent);
    if (!node) {
        fail("cannot add key \"" + utf8Name + "\"", errno);
        return std::nullopt;
    }
    return node;
}

bool HiveFile::setValues(Node node, const std::vector<HiveValue>& values) {
    std::vector<hive_set_value> set(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        set[i].key = const_cast<char*>(values[i].utf8Name.c_str());
        set[i].t = static_cast<hive_type>(values[i].type);
        set[i].len = values[i].data.size();
        set[i].value = const_cast<char*>(values[i].data.data());
    }
    errno = 0;
    if (hivex_node_set_values(m_hive->h, node, set.size(), set.data(), 0) != 0)
        return fail("cannot write the values of a key", errno);
    return true;
}

bool HiveFile::deleteNode(Node node) {
    errno = 0;
    int rc = hivex_node_delete_child(m_hive->h, node);
    m_index.clear();  // handles below the node are gone
    if (rc != 0) return fail("cannot delete a key", errno);
    return true;
}

bool HiveFile::writeTemporary(std::string& tempName) {
    static std::mt19937_64 rng{std::random_device{}()};
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        tempName = "." + m_name + ".vedozer-" + std::to_string(rng() % 1000000000);
        fd = ::openat(m_dirFd, tempName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        tempName.clear();
        return fail("cannot create a temporary file next to the hive", errno);
    }
    errno = 0;
    const bool written = hivex_commit(m_hive->h, descriptorPath(fd).value_or(tempPath(tempName)).c_str(), 0) == 0;
    const int err = errno;
    if (!written) {
        ::close(fd);
        return fail("cannot write the hive", err);
    }
    // The new file takes the place of the old one: keep its permissions and, where allowed,
    // its owner.
    struct stat st {};
    if (::fstatat(m_dirFd, m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        (void)::fchmod(fd, st.st_mode & 07777);
        (void)::fchown(fd, st.st_uid, st.st_gid);
    }
    if (::fsync(fd) != 0) {
        int e = errno;
        ::close(fd);
        return fail("cannot flush the written hive", e);
    }
    ::close(fd);
    return true;
}

std::string HiveFile::tempPath(const std::string& tempName) const { return parentFolder(m_path) + "/" + tempName; }

bool HiveFile::commit() {
    if (!m_hive || !m_writable) return fail("hive is not open for writing", 0);
    std::string tempName;
    bool ok = writeTemporary(tempName);
    if (ok && ::renameat(m_dirFd, tempName.c_str(), m_dirFd, m_name.c_str()) != 0)
        ok = fail("cannot replace the hive", errno);
    if (!ok) {
        if (!tempName.empty()) ::unlinkat(m_dirFd, tempName.c_str(), 0);
        close();  // the handle holds changes the file does not: drop them
        return false;
    }
    (void)::fsync(m_dirFd);  // the rename is done; a folder that cannot be flushed changes nothing
    return true;
}

}  // namespace vedozer
