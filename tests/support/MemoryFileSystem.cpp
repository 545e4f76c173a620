#include "support/MemoryFileSystem.h"

#include <algorithm>

#include "text/Text.h"

namespace vedozer::test {

namespace {

class MemoryInput : public InputStream {
public:
    MemoryInput(std::string data, size_t chunk, size_t failAfter)
        : m_data(std::move(data)), m_chunk(chunk), m_failAfter(failAfter) {}
    long long read(char* buffer, size_t n) override {
        if (m_pos >= m_failAfter) return -1;
        size_t count = std::min({n, m_chunk, m_data.size() - m_pos, m_failAfter - m_pos});
        std::copy_n(m_data.data() + m_pos, count, buffer);
        m_pos += count;
        return static_cast<long long>(count);
    }
    bool seek(uint64_t offset) override {
        m_pos = static_cast<size_t>(std::min<uint64_t>(offset, m_data.size()));
        return true;
    }

private:
    std::string m_data;
    size_t m_pos = 0;
    size_t m_chunk;
    size_t m_failAfter;
};

}  // namespace

class MemoryOutput : public OutputStream {
public:
    MemoryOutput(MemoryFileSystem& fs, std::string path, bool atomic)
        : m_fs(fs), m_path(std::move(path)), m_atomic(atomic) {}
    bool write(const char* data, size_t n) override {
        if (m_closed) return false;
        if (m_atomic) {
            m_buffer.append(data, n);
            return true;
        }
        return m_fs.store(m_path, std::string(data, n), true);
    }
    bool close() override {
        if (m_closed) return false;
        m_closed = true;
        return m_atomic ? m_fs.store(m_path, m_buffer, false) : m_fs.exists(m_path);
    }

private:
    MemoryFileSystem& m_fs;
    std::string m_path;
    bool m_atomic;
    bool m_closed = false;
    std::string m_buffer;
};

std::vector<std::string> MemoryFileSystem::components(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

std::string MemoryFileSystem::key(const std::string& path) {
    std::string k;
    for (const auto& c : components(path)) {
        if (!k.empty()) k += '\\';
        k += text::toUpper(c);
    }
    return k;
}

std::string MemoryFileSystem::parentKey(const std::string& k) {
    size_t slash = k.rfind('\\');
    return slash == std::string::npos ? std::string() : k.substr(0, slash);
}

MemoryFileSystem::Node* MemoryFileSystem::find(const std::string& path) {
    auto it = m_nodes.find(key(path));
    return it == m_nodes.end() ? nullptr : &it->second;
}

const MemoryFileSystem::Node* MemoryFileSystem::find(const std::string& path) const {
    auto it = m_nodes.find(key(path));
    return it == m_nodes.end() ? nullptr : &it->second;
}

bool MemoryFileSystem::parentIsFolder(const std::string& path) const {
    std::string parent = parentKey(key(path));
    if (parent.empty()) return false;
    auto it = m_nodes.find(parent);
    return it != m_nodes.end() && it->second.folder;
}

void MemoryFileSystem::addFolder(const std::string& path, uint32_t attributes) {
    std::string k;
    for (const auto& c : components(path)) {
        if (!k.empty()) k += '\\';
        k += text::toUpper(c);
        Node& n = m_nodes[k];
        if (n.name.empty()) {
            n.name = c;
            n.folder = true;
        }
    }
    if (Node* n = find(path)) n->attributes = attributes | kAttrDirectory;
}

void MemoryFileSystem::addFile(const std::string& path, const std::string& content, uint32_t attributes) {
    auto parts = components(path);
    if (parts.empty()) return;
    std::string parent;
    for (size_t i = 0; i + 1 < parts.size(); ++i) parent += parts[i] + "\\";
    if (!parent.empty()) addFolder(parent);
    Node& n = m_nodes[key(path)];
    n.name = parts.back();
    n.folder = false;
    n.attributes = attributes & ~kAttrDirectory;
    n.data = std::make_shared<std::string>(content);
}

void MemoryFileSystem::addDrive(const std::string& root, int driveType, bool ready) {
    std::string k = key(root);
    m_drives[k] = DriveInfo{k + "\\", driveType, ready};
    addFolder(k);
}

bool MemoryFileSystem::exists(const std::string& path) const { return find(path) != nullptr; }

std::optional<std::string> MemoryFileSystem::content(const std::string& path) const {
    const Node* n = find(path);
    if (!n || n->folder) return std::nullopt;
    return *n->data;
}

void MemoryFileSystem::setAttributes(const std::string& path, uint32_t attributes) {
    if (Node* n = find(path))
        n->attributes = (attributes & ~kAttrDirectory) | (n->folder ? uint32_t{kAttrDirectory} : 0u);
}

std::optional<FileInfo> MemoryFileSystem::lookup(const std::string& path) {
    ++m_lookups;
    std::string k = key(path);
    if (k.empty() || parentKey(k).empty()) return std::nullopt;  // drive roots are not entries
    const Node* n = find(path);
    if (!n) return std::nullopt;
    return FileInfo{n->name, n->attributes | (n->folder ? uint32_t{kAttrDirectory} : 0u), n->data->size()};
}

bool MemoryFileSystem::folderExists(const std::string& path) {
    const Node* n = find(path);
    return n && n->folder;
}

std::vector<FileInfo> MemoryFileSystem::list(const std::string& folder) {
    std::vector<FileInfo> out;
    std::string k = key(folder);
    const Node* dir = find(folder);
    if (!dir || !dir->folder) return out;
    for (const auto& [childKey, node] : m_nodes) {
        if (parentKey(childKey) == k && childKey != k)
            out.push_back(FileInfo{node.name, node.attributes | (node.folder ? uint32_t{kAttrDirectory} : 0u),
                                   node.data->size()});
    }
    return out;
}

std::unique_ptr<InputStream> MemoryFileSystem::openRead(const std::string& path) {
    const Node* n = find(path);
    if (!n || n->folder || locked(path)) return nullptr;
    auto fail = m_readFailures.find(key(path));
    size_t failAfter = fail == m_readFailures.end() ? SIZE_MAX : fail->second;
    return std::make_unique<MemoryInput>(*n->data, m_readChunk, failAfter);
}

bool MemoryFileSystem::store(const std::string& path, const std::string& data, bool appendData) {
    if (locked(path) || !parentIsFolder(path)) return false;
    Node* n = find(path);
    if (n && (n->folder || (n->attributes & kAttrReadOnly))) return false;
    if (!n) {
        auto parts = components(path);
        Node& created = m_nodes[key(path)];
        created.name = parts.back();
        n = &created;
    }
    if (appendData)
        n->data->append(data);
    else
        n->data = std::make_shared<std::string>(data);
    return true;
}

std::unique_ptr<OutputStream> MemoryFileSystem::openWrite(const std::string& path, bool atomic) {
    if (locked(path) || !parentIsFolder(path)) return nullptr;
    const Node* n = find(path);
    if (n && (n->folder || (n->attributes & kAttrReadOnly))) return nullptr;
    if (!atomic && !store(path, {}, false)) return nullptr;
    return std::make_unique<MemoryOutput>(*this, path, atomic);
}

bool MemoryFileSystem::append(const std::string& path, const std::string& data) {
    return store(path, data, true);
}

std::optional<std::string> MemoryFileSystem::readAll(const std::string& path, size_t maxBytes) {
    const Node* n = find(path);
    if (!n || n->folder || locked(path)) return std::nullopt;
    auto fail = m_readFailures.find(key(path));
    if (fail != m_readFailures.end() && fail->second < n->data->size()) return std::nullopt;
    if (n->data->size() > maxBytes) return std::nullopt;
    return *n->data;
}

bool MemoryFileSystem::copyFile(const std::string& from, const std::string& to, bool overwrite) {
    auto data = readAll(from);
    if (!data) return false;
    if (!overwrite && exists(to)) return false;
    return store(to, *data, false);
}

bool MemoryFileSystem::deleteFile(const std::string& path) {
    Node* n = find(path);
    if (!n || n->folder || locked(path) || (n->attributes & kAttrReadOnly)) return false;
    m_nodes.erase(key(path));
    return true;
}

bool MemoryFileSystem::renameFile(const std::string& from, const std::string& to) {
    Node* src = find(from);
    if (!src || src->folder || locked(from) || locked(to) || !parentIsFolder(to)) return false;
    if (key(from) == key(to)) {
        src->name = components(to).back();
        return true;
    }
    Node* dst = find(to);
    if (dst && (dst->folder || (dst->attributes & kAttrReadOnly))) return false;
    Node moved = *src;
    moved.name = components(to).back();
    m_nodes.erase(key(from));
    m_nodes[key(to)] = moved;
    return true;
}

bool MemoryFileSystem::createFolder(const std::string& path) {
    if (Node* n = find(path)) return n->folder;
    if (!parentIsFolder(path)) return false;
    Node& created = m_nodes[key(path)];
    created.name = components(path).back();
    created.folder = true;
    created.attributes = kAttrDirectory;
    return true;
}

bool MemoryFileSystem::copyFolder(const std::string& from, const std::string& to) {
    std::string src = key(from);
    if (!folderExists(from) || !parentIsFolder(to)) return false;
    std::string dstPath = to;
    std::vector<std::pair<std::string, Node>> copies;
    for (const auto& [k, node] : m_nodes) {
        if (k == src || k.rfind(src + "\\", 0) == 0) {
            if (m_locked.count(k)) return false;
            copies.emplace_back(k.substr(src.size()), node);
        }
    }
    std::string dst = key(to);
    for (auto& [suffix, node] : copies) {
        if (suffix.empty()) node.name = components(to).back();
        node.data = std::make_shared<std::string>(*node.data);
        m_nodes[dst + suffix] = node;
    }
    return true;
}

bool MemoryFileSystem::deleteFolder(const std::string& path) {
    std::string k = key(path);
    if (!folderExists(path) || parentKey(k).empty()) return false;
    std::vector<std::string> doomed;
    for (const auto& [nodeKey, node] : m_nodes) {
        if (nodeKey == k || nodeKey.rfind(k + "\\", 0) == 0) {
            if (m_locked.count(nodeKey)) return false;  // all or nothing
            doomed.push_back(nodeKey);
        }
    }
    for (const auto& d : doomed) m_nodes.erase(d);
    return true;
}

std::vector<DriveInfo> MemoryFileSystem::drives() {
    std::vector<DriveInfo> out;
    for (const auto& [k, d] : m_drives) out.push_back(d);
    return out;
}

}  // namespace vedozer::test
