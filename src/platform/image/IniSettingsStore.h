#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SettingsStore.h"

namespace vedozer {

// The text of one settings file:
//
//   [Section]
//   key=value
//
// Sections and keys compare without regard to case, like registry keys and value names;
// the first occurrence wins and keeps its spelling when rewritten. A value is everything
// after the first "=" of its line, "=" signs and surrounding blanks included. Bytes that
// would break the line structure are written as "%" + two hex digits: "%" itself, control
// characters (CR and LF among them, tab excepted) and DEL everywhere; in keys also "=",
// and a leading "[", ";" or "#". Reading turns "%XX" back into its byte and leaves a "%"
// not followed by two hex digits as it is. Lines that are blank, start with ";" or "#",
// or do not parse are kept on rewrite and otherwise ignored, as are entries before the
// first section.
class IniDocument {
public:
    static IniDocument parse(std::string_view text);

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);
    std::string serialize() const;

    static std::string escapeKey(std::string_view key);
    static std::string escapeValue(std::string_view value);
    static std::string escapeSection(std::string_view section);
    static std::string unescape(std::string_view text);

private:
    enum class Kind { Section, Entry, Other };
    struct Line {
        Kind kind = Kind::Other;
        std::string raw;    // as read (without the line break), or as written
        std::string name;   // section name or key, unescaped
        std::string value;  // entry value, unescaped
    };
    static Line parseLine(std::string raw);
    // Index of the entry that answers (section, key), if any.
    std::optional<size_t> findEntry(std::string_view section, std::string_view key) const;

    std::vector<Line> m_lines;
};

// Settings as INI files on the host.
// Per user:     <userConfigDir>/<app>/settings.ini  (userConfigDir: $XDG_CONFIG_HOME, else ~/.config)
// Machine-wide: <machineDir>/<company>/<app>/settings.ini
// Names are Windows-1252 and become UTF-8 path components; a name that is empty, "." or "..",
// or holds "/" or a NUL is refused. Each write replaces the file atomically (temporary file,
// fsync, rename); a file that exists but cannot be read is never overwritten.
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(std::filesystem::path userConfigDir = defaultUserConfigDir(),
                              std::filesystem::path machineDir = "/etc/vedozer");

    static std::filesystem::path defaultUserConfigDir();
    static constexpr const char* kFileName = "settings.ini";

    // Empty when a name cannot be used as a path component.
    std::filesystem::path userFile(const std::string& app) const;
    std::filesystem::path machineFile(const std::string& company, const std::string& app) const;

    std::optional<std::string> getUser(const std::string& app, const std::string& section,
                                       const std::string& key) override;
    bool saveUser(const std::string& app, const std::string& section, const std::string& key,
                  const std::string& value) override;
    StoreRead getMachine(const std::string& company, const std::string& app, const std::string& section,
                         const std::string& key) override;
    StoreStatus saveMachine(const std::string& company, const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) override;

private:
    std::filesystem::path m_userDir;
    std::filesystem::path m_machineDir;
};

}  // namespace vedozer
