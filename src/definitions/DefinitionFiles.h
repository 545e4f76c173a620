#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "definitions/LineReader.h"
#include "platform/FileSystem.h"
#include "platform/ShellFolders.h"

namespace vedozer {

inline constexpr const char* kRegistryDefinitionFile = "RegistryDefinition.dat";
inline constexpr const char* kFileDefinitionFile = "FileDefinition.dat";
inline constexpr const char* kDirectoryDefinitionFile = "DirectoryDefinition.dat";
inline constexpr const char* kExeDefinitionFile = "ExeDefinition.dat";
inline constexpr const char* kBlockedCookiesFile = "BlockedCookies.dat";
inline constexpr const char* kSafetyFile = "Safety.dat";
inline constexpr const char* kExclusionFile = "ENoSignature.dat";
inline constexpr const char* kDateFile = "date.dat";
inline constexpr const char* kStagedPrefix = "DL";
inline constexpr const char* kDefaultDefinitionDate = "3/16/2006 12:00:00 AM";
inline constexpr const char* kDataFolderName = "[appdata]RozaVedozerEZO";

// The data folder path and the line counts of the definition files.
struct DefinitionSet {
    std::string dataFolder;
    int32_t cookieCount = 0;      // BlockedCookies.dat
    int32_t executableCount = 0;  // ExeDefinition.dat
    int32_t registryCount = 0;    // RegistryDefinition.dat
    int32_t fileCount = 0;        // FileDefinition.dat + DirectoryDefinition.dat
    int32_t total = 0;            // all five
};

// "[appdata]RozaVedozerEZO" expanded: the user's application-data folder + "RozaVedozerEZO".
std::string defaultDataFolder(ShellFolders& shell);
// dataFolder + "\" + name.
std::string dataFilePath(std::string_view dataFolder, std::string_view name);

// The part of the path after its last "\" (the whole path without one).
std::string FileNamePart(std::string_view path);
// A directory lookup finds an ordinary file (not hidden, not system, not a folder) whose name
// equals the path's FileNamePart without regard to case.
bool FileExists(FileSystem& fs, const std::string& path);

// Opens a file for line reading when FileExists finds it; nothing otherwise.
std::optional<LineReader> openLines(FileSystem& fs, const std::string& path);

// Puts the staged "DL" copies of BlockedCookies, RegistryDefinition, FileDefinition and
// ExeDefinition in place. Each copy replaces the live file in one rename, so a failed step
// leaves the live file as it was.
void InstallStagedDefinitions(FileSystem& fs, const std::string& dataFolder);

// Counts the lines (blank ones included) of the five definition files into the set and returns
// the total. A missing file adds 0; counts stop at the 32-bit maximum.
int32_t CountDefinitions(FileSystem& fs, DefinitionSet& set);

// True when all five definition files exist. At the first missing one the set is deleted (see
// DeleteDefinitionFiles) and false is returned; the caller then shows MSG_MISSINGFILES.
bool CheckDefinitionFiles(FileSystem& fs, const std::string& dataFolder);
// Deletes the five definition files and date.dat, ignoring errors.
void DeleteDefinitionFiles(FileSystem& fs, const std::string& dataFolder);

// The first line of date.dat, or kDefaultDefinitionDate when there is none.
std::string ReadDefinitionDate(FileSystem& fs, const std::string& dataFolder);
// Replaces date.dat by the text and CR LF (written aside and renamed into place). Errors are ignored.
void WriteDefinitionDate(FileSystem& fs, const std::string& dataFolder, const std::string& date);

// Installs the definition files built into the program (creating the data folder when missing).
// Each file is written aside and renamed into place. False when any file could not be written.
bool installShippedDefinitions(FileSystem& fs, const std::string& dataFolder);

}  // namespace vedozer
