#include "removal/CrossCopy.h"

#include <vector>

namespace vedozer {
namespace {

constexpr int kMaxFolderDepth = 256;

bool copyTree(FileSystem& from, const std::string& fromPath, FileSystem& to, const std::string& toPath,
              bool atomic, int depth) {
    if (depth > kMaxFolderDepth || !to.createFolder(toPath) || !to.folderExists(toPath)) return false;
    bool ok = true;
    for (const auto& entry : from.list(fromPath)) {
        std::string src = fromPath + "\\" + entry.name, dst = toPath + "\\" + entry.name;
        if (entry.isDirectory()) ok = copyTree(from, src, to, dst, atomic, depth + 1) && ok;
        else ok = copyFileAcross(from, src, to, dst, atomic) && ok;
    }
    return ok;
}

}  // namespace

bool copyFileAcross(FileSystem& from, const std::string& fromPath, FileSystem& to, const std::string& toPath,
                    bool atomic) {
    auto in = from.openRead(fromPath);
    if (!in) return false;
    auto out = to.openWrite(toPath, atomic);
    if (!out) return false;
    std::vector<char> buffer(1 << 16);
    while (true) {
        long long n = in->read(buffer.data(), buffer.size());
        if (n < 0) return false;  // an atomic target is dropped with the stream
        if (n == 0) break;
        if (!out->write(buffer.data(), static_cast<size_t>(n))) return false;
    }
    return out->close();
}

bool copyFolderAcross(FileSystem& from, const std::string& fromPath, FileSystem& to, const std::string& toPath,
                      bool atomic) {
    if (!from.folderExists(fromPath)) return false;
    return copyTree(from, fromPath, to, toPath, atomic, 0);
}

std::string withoutTrailingSeparators(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && (p.back() == '\\' || p.back() == '/') && !(p.size() == 3 && p[1] == ':')) p.pop_back();
    return p;
}

std::string parentPath(const std::string& path) {
    std::string p = withoutTrailingSeparators(path);
    auto slash = p.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

std::string lastComponent(const std::string& path) {
    std::string p = withoutTrailingSeparators(path);
    auto slash = p.find_last_of("\\/");
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

bool createFolders(FileSystem& fs, const std::string& path) {
    std::string p = withoutTrailingSeparators(path);
    if (p.empty() || fs.folderExists(p)) return !p.empty();
    std::string parent = parentPath(p);
    if (parent.empty() || parent == p) return false;
    if (!fs.folderExists(parent) && !createFolders(fs, parent)) return false;
    return fs.createFolder(p) && fs.folderExists(p);
}

}  // namespace vedozer
