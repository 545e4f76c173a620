#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "definitions/PathTokens.h"
#include "platform/Registry.h"

// Record layouts of the decoded definition lines. Every function takes one decoded line and is
// pure apart from the expander's folder lookups.
namespace vedozer {

// Hive numbers of registry locations: "0".."5" (blanks around allowed). Anything else, including
// text that is not a whole number, gives nothing.
std::optional<RootKey> rootKeyFromNumber(std::string_view text);
// "HKEY_LOCAL_MACHINE" for "2"; empty for an unknown number.
std::string hiveNameFromNumber(std::string_view text);

// RegistryDefinition.dat: hive^key path^value name=spyware name[|type]. Split at the last "=".
struct RegistryDefinition {
    RootKey root = RootKey::LocalMachine;
    std::string rootName;     // "HKEY_LOCAL_MACHINE"
    std::string keyPath;      // as written (after expansion), blanks kept
    std::string valueName;    // "\\" reduced to "\"; empty for a key definition
    std::string spywareName;  // text after the last "=", trimmed, up to the first "|"
    std::string type;         // text after that "|", up to the next one

    bool isKey() const { return valueName.empty(); }
    // Root name + "\" + key path + value name (joined with nothing between them).
    std::string displayPath() const { return rootName + "\\" + keyPath + valueName; }
    std::string keyDisplayPath() const { return rootName + "\\" + keyPath; }
};
// Nothing for a line without "=", with fewer than three "^" fields, or whose hive field is
// empty, not a number, or not in 0..5 (such lines are not counted as inspected).
std::optional<RegistryDefinition> parseRegistryDefinition(std::string_view line,
                                                          const LocationExpander& expander);

// FileDefinition.dat: file name=spyware name[|folder[|type]].
struct FileDefinition {
    std::string item;         // the file name (or the literal path), trimmed
    std::string spywareName;  // as it stands; empty when the name part has no "="
    std::string location;     // expanded folder; empty without "|"
    std::string type;
    std::string path;  // location + "\" + item (or the item alone), "\\" reduced to "\"
};
// Every line gives a record; a blank line gives an empty path (which no file matches).
FileDefinition parseFileDefinition(std::string_view line, const LocationExpander& expander);

// DirectoryDefinition.dat: label=spyware name|folder[|type].
struct DirectoryDefinition {
    std::string label;  // progress text: trimmed, without CR LF, CR, LF and tab characters
    std::string spywareName;
    std::string type;
    std::string path;  // the expanded folder, "\\" reduced to "\"
};
// Nothing for a line without "|" or whose folder expands to nothing (not counted).
std::optional<DirectoryDefinition> parseDirectoryDefinition(std::string_view line,
                                                            const LocationExpander& expander);

// ExeDefinition.dat: executable file name=spyware name|folder. "[drive]" is not replaced here.
struct ExeDefinition {
    std::string fileName;
    std::string spywareName;
    std::string path;  // expanded folder + "\" + file name, "\\" reduced to "\"
};
// Nothing for a line without "=" (the process scan repeats the previous path for it).
std::optional<ExeDefinition> parseExeDefinition(std::string_view line, const LocationExpander& expander);

// Safety.dat: type|name[=...]|location[|unused]. A line without "|" takes the previous line's type.
struct SafetyLine {
    std::string type;                  // the type this line has (own or inherited)
    std::optional<std::string> entry;  // the safe-list entry it produces, if any
};
SafetyLine parseSafetyLine(std::string_view line, std::string_view previousType,
                           const LocationExpander& expander);

}  // namespace vedozer
