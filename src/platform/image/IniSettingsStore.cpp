#include "platform/image/IniSettingsStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr size_t kMaxFileBytes = 16u * 1024 * 1024;

bool needsEscape(unsigned char c) { return c == '%' || (c < 0x20 && c != '\t') || c == 0x7F; }

void appendEscaped(std::string& out, unsigned char c) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string_view withoutCr(std::string_view s) {
    if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
    return s;
}

bool isBlank(std::string_view s) { return text::trimWhitespace(s).empty(); }

}  // namespace

// ---- IniDocument ----

std::string IniDocument::escapeValue(std::string_view value) {
    std::string out;
    for (char ch : value) {
        auto c = static_cast<unsigned char>(ch);
        if (needsEscape(c))
            appendEscaped(out, c);
        else
            out += ch;
    }
    return out;
}

std::string IniDocument::escapeSection(std::string_view section) { return escapeValue(section); }

std::string IniDocument::escapeKey(std::string_view key) {
    std::string out;
    for (size_t i = 0; i < key.size(); ++i) {
        auto c = static_cast<unsigned char>(key[i]);
        bool leading = i == 0 && (c == '[' || c == ';' || c == '#');
        if (needsEscape(c) || c == '=' || leading)
            appendEscaped(out, c);
        else
            out += key[i];
    }
    return out;
}

std::string IniDocument::unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            int hi = hexValue(s[i + 1]), lo = hexValue(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

IniDocument::Line IniDocument::parseLine(std::string raw) {
    Line line;
    std::string_view s = withoutCr(raw);
    if (isBlank(s) || s.front() == ';' || s.front() == '#') {
        // comment or blank
    } else if (s.front() == '[') {
        size_t end = s.find_last_not_of(" \t");
        if (s[end] == ']' && end >= 1) {
            line.kind = Kind::Section;
            line.name = unescape(s.substr(1, end - 1));
        }
    } else if (size_t eq = s.find('='); eq != std::string_view::npos) {
        line.kind = Kind::Entry;
        line.name = unescape(s.substr(0, eq));
        line.value = unescape(s.substr(eq + 1));
    }
    line.raw = std::move(raw);
    return line;
}

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument doc;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) nl = text.size();
        doc.m_lines.push_back(parseLine(std::string(text.substr(start, nl - start))));
        start = nl + 1;
    }
    return doc;
}

std::optional<size_t> IniDocument::findEntry(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& l = m_lines[i];
        if (l.kind == Kind::Section)
            inSection = text::iequals(l.name, section);
        else if (l.kind == Kind::Entry && inSection && text::iequals(l.name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
    if (auto i = findEntry(section, key)) return m_lines[*i].value;
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    if (auto i = findEntry(section, key)) {
        Line& l = m_lines[*i];
        l.value = std::string(value);
        l.raw = escapeKey(l.name) + "=" + escapeValue(value);
        return;
    }
    Line entry;
    entry.kind = Kind::Entry;
    entry.name = std::string(key);
    entry.value = std::string(value);
    entry.raw = escapeKey(key) + "=" + escapeValue(value);

    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind != Kind::Section || !text::iequals(m_lines[i].name, section)) continue;
        // After the last non-blank line of the section, so blank separators stay in place.
        size_t insertAt = i + 1;
        for (size_t j = i + 1; j < m_lines.size() && m_lines[j].kind != Kind::Section; ++j)
            if (!isBlank(withoutCr(m_lines[j].raw))) insertAt = j + 1;
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
        return;
    }

    if (!m_lines.empty() && !isBlank(withoutCr(m_lines.back().raw))) m_lines.push_back(parseLine(""));
    Line header;
    header.kind = Kind::Section;
    header.name = std::string(section);
    header.raw = "[" + escapeSection(section) + "]";
    m_lines.push_back(std::move(header));
    m_lines.push_back(std::move(entry));
}

std::string IniDocument::serialize() const {
    std::string out;
    for (const Line& l : m_lines) {
        out += l.raw;
        out += '\n';
    }
    return out;
}

// ---- file access ----

namespace {

enum class ReadStatus { Ok, Missing, Failed };

struct FileText {
    ReadStatus status = ReadStatus::Failed;
    std::string text;
};

FileText readFile(const std::filesystem::path& path) {
    FileText r;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        r.status = (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::Missing : ReadStatus::Failed;
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<size_t>(st.st_size) > kMaxFileBytes) {
        ::close(fd);
        return r;
    }
    char buf[8192];
    while (true) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || r.text.size() + static_cast<size_t>(n) > kMaxFileBytes) {
            ::close(fd);
            r.text.clear();
            return r;
        }
        if (n == 0) break;
        r.text.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    r.status = ReadStatus::Ok;
    return r;
}

bool writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Temporary file beside the target, flushed, then renamed over it: a crash leaves either
// the old file or the new one, never a torn one.
bool replaceFile(const std::filesystem::path& path, const std::string& data) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) return false;
    std::string tmpl = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return false;
    struct stat st {};
    mode_t mode = (::stat(path.c_str(), &st) == 0) ? (st.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(tmpl.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmpl.c_str());
        return false;
    }
    int dfd = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool updateFile(const std::filesystem::path& path, const std::string& section, const std::string& key,
                const std::string& value) {
    if (path.empty()) return false;
    FileText current = readFile(path);
    if (current.status == ReadStatus::Failed) return false;  // never overwrite what we could not read
    IniDocument doc = IniDocument::parse(current.text);
    doc.set(section, key, value);
    return replaceFile(path, doc.serialize());
}

// A Windows-1252 name as one UTF-8 path component; empty when it cannot be one.
std::string pathComponent(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos)
        return "";
    return text::cp1252ToUtf8(name);
}

}  // namespace

// ---- IniSettingsStore ----

IniSettingsStore::IniSettingsStore(std::filesystem::path userConfigDir, std::filesystem::path machineDir)
    : m_userDir(std::move(userConfigDir)), m_machineDir(std::move(machineDir)) {}

std::filesystem::path IniSettingsStore::defaultUserConfigDir() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;  // relative values are to be ignored
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::filesystem::path(home) / ".config";
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/')
        return std::filesystem::path(pw->pw_dir) / ".config";
    return {};
}

std::filesystem::path IniSettingsStore::userFile(const std::string& app) const {
    std::string dir = pathComponent(app);
    if (m_userDir.empty() || dir.empty()) return {};
    return m_userDir / dir / kFileName;
}

std::filesystem::path IniSettingsStore::machineFile(const std::string& company,
                                                    const std::string& app) const {
    std::string appDir = pathComponent(app);
    if (m_machineDir.empty() || appDir.empty()) return {};
    std::filesystem::path p = m_machineDir;
    if (!company.empty()) {
        std::string companyDir = pathComponent(company);
        if (companyDir.empty()) return {};
        p /= companyDir;
    }
    return p / appDir / kFileName;
}

std::optional<std::string> IniSettingsStore::getUser(const std::string& app, const std::string& section,
                                                     const std::string& key) {
    auto path = userFile(app);
    if (path.empty()) return std::nullopt;
    FileText f = readFile(path);
    if (f.status != ReadStatus::Ok) return std::nullopt;
    return IniDocument::parse(f.text).get(section, key);
}

bool IniSettingsStore::saveUser(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& value) {
    return updateFile(userFile(app), section, key, value);
}

StoreRead IniSettingsStore::getMachine(const std::string& company, const std::string& app,
                                       const std::string& section, const std::string& key) {
    auto path = machineFile(company, app);
    if (path.empty()) return {StoreStatus::OpenFailed, ""};
    FileText f = readFile(path);
    if (f.status == ReadStatus::Missing) return {StoreStatus::NotFound, ""};
    if (f.status == ReadStatus::Failed) return {StoreStatus::OpenFailed, ""};
    auto value = IniDocument::parse(f.text).get(section, key);
    if (!value) return {StoreStatus::NotFound, ""};
    return {StoreStatus::Ok, *value};
}

StoreStatus IniSettingsStore::saveMachine(const std::string& company, const std::string& app,
                                          const std::string& section, const std::string& key,
                                          const std::string& value) {
    return updateFile(machineFile(company, app), section, key, value) ? StoreStatus::Ok
                                                                      : StoreStatus::WriteFailed;
}

}  // namespace vedozer
