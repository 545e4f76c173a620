#include "definitions/DefinitionFiles.h"

#include <limits>

#include "definitions/PathTokens.h"
#include "definitions/ShippedDefinitions.h"
#include "text/Text.h"

namespace vedozer {

std::string defaultDataFolder(ShellFolders& shell) { return ExpandPathTokens(kDataFolderName, shell); }

std::string dataFilePath(std::string_view dataFolder, std::string_view name) {
    std::string p(dataFolder);
    p += '\\';
    p += name;
    return p;
}

std::string FileNamePart(std::string_view path) {
    size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool FileExists(FileSystem& fs, const std::string& path) {
    if (path.empty()) return false;
    auto info = fs.lookup(path);
    if (!info || info->isDirectory() || info->isHidden() || info->isSystem()) return false;
    return text::iequals(info->name, FileNamePart(path));
}

std::optional<LineReader> openLines(FileSystem& fs, const std::string& path) {
    if (!FileExists(fs, path)) return std::nullopt;
    auto in = fs.openRead(path);
    if (!in) return std::nullopt;
    return LineReader(std::move(in));
}

void InstallStagedDefinitions(FileSystem& fs, const std::string& dataFolder) {
    for (const char* name :
         {kBlockedCookiesFile, kRegistryDefinitionFile, kFileDefinitionFile, kExeDefinitionFile}) {
        std::string staged = dataFilePath(dataFolder, std::string(kStagedPrefix) + name);
        if (!FileExists(fs, staged)) continue;
        fs.renameFile(staged, dataFilePath(dataFolder, name));
    }
}

namespace {

int32_t countFileLines(FileSystem& fs, const std::string& path) {
    if (!FileExists(fs, path)) return 0;
    auto in = fs.openRead(path);
    if (!in) return 0;
    int64_t n = countLines(*in);
    if (n < 0) return 0;
    return n > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                   : static_cast<int32_t>(n);
}

int32_t saturatedSum(std::initializer_list<int32_t> parts) {
    int64_t sum = 0;
    for (int32_t p : parts) sum += p;
    return sum > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                     : static_cast<int32_t>(sum);
}

}  // namespace

int32_t CountDefinitions(FileSystem& fs, DefinitionSet& set) {
    set.cookieCount = set.executableCount = set.registryCount = set.fileCount = set.total = 0;
    const std::string& folder = set.dataFolder;
    set.cookieCount = countFileLines(fs, dataFilePath(folder, kBlockedCookiesFile));
    set.executableCount = countFileLines(fs, dataFilePath(folder, kExeDefinitionFile));
    set.registryCount = countFileLines(fs, dataFilePath(folder, kRegistryDefinitionFile));
    int32_t files = countFileLines(fs, dataFilePath(folder, kFileDefinitionFile));
    int32_t directories = countFileLines(fs, dataFilePath(folder, kDirectoryDefinitionFile));
    set.fileCount = saturatedSum({files, directories});
    set.total = saturatedSum({set.cookieCount, set.executableCount, set.registryCount, files, directories});
    return set.total;
}

bool CheckDefinitionFiles(FileSystem& fs, const std::string& dataFolder) {
    for (const char* name : {kFileDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                             kBlockedCookiesFile, kDirectoryDefinitionFile}) {
        if (!FileExists(fs, dataFilePath(dataFolder, name))) {
            DeleteDefinitionFiles(fs, dataFolder);
            return false;
        }
    }
    return true;
}

void DeleteDefinitionFiles(FileSystem& fs, const std::string& dataFolder) {
    for (const char* name : {kDirectoryDefinitionFile, kBlockedCookiesFile, kExeDefinitionFile,
                             kRegistryDefinitionFile, kFileDefinitionFile, kDateFile}) {
        fs.deleteFile(dataFilePath(dataFolder, name));
    }
}

std::string ReadDefinitionDate(FileSystem& fs, const std::string& dataFolder) {
    auto reader = openLines(fs, dataFilePath(dataFolder, kDateFile));
    if (!reader) return kDefaultDefinitionDate;
    std::string line;
    reader->next(line);
    return line;
}

namespace {

bool writeWhole(FileSystem& fs, const std::string& path, std::string_view content) {
    auto out = fs.openWrite(path, true);
    if (!out) return false;
    // A stream dropped without close() is discarded, so a failed write leaves the old file whole.
    if (!out->write(content.data(), content.size())) return false;
    return out->close();
}

}  // namespace

void WriteDefinitionDate(FileSystem& fs, const std::string& dataFolder, const std::string& date) {
    writeWhole(fs, dataFilePath(dataFolder, kDateFile), date + "\r\n");
}

bool installShippedDefinitions(FileSystem& fs, const std::string& dataFolder) {
    if (!fs.folderExists(dataFolder) && !fs.createFolder(dataFolder)) return false;
    bool ok = true;
    for (size_t i = 0; i < kShippedDefinitionCount; ++i) {
        const ShippedFile& f = kShippedDefinitions[i];
        if (!f.name || !*f.name) continue;
        ok = writeWhole(fs, dataFilePath(dataFolder, f.name), f.content()) && ok;
    }
    return ok;
}

}  // namespace vedozer
