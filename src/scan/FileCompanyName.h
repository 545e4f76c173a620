#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace vedozer {

// Longest company name kept; anything a real version resource holds is far shorter.
constexpr size_t kMaxCompanyNameLength = 1 << 20;

// How far into a file that is not a PE executable the search goes (a 16-bit program keeps its
// version resource within that; anything else has none).
constexpr size_t kMaxPlainSearchBytes = 1 << 20;

// The company name of a file's version resource: the bytes are searched for the StringFileInfo
// block and its CompanyName entry (UTF-16 first, plain text as a fallback). Of a PE executable
// only the headers, the resource directory and the version resource itself are read (the stream
// must be able to seek); of any other file the first kMaxPlainSearchBytes. Memory and reading stay
// small whatever the file's size. Empty when there is none or the stream fails.
std::string GetFileCompanyName(InputStream& in);

// The same search over bytes in memory (a version resource, say).
std::string companyNameInBytes(std::string_view bytes);

// The same for a file of the given file system; empty when it cannot be opened.
std::string GetFileCompanyName(FileSystem& files, const std::string& path);

// True when a company name names the operating system's maker
// ("Microsoft Corporation", blanks around it and case ignored).
bool isMicrosoftCompany(const std::string& company);

}  // namespace vedozer
