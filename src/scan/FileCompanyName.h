#pragma once
#include <cstddef>
#include <string>

#include "platform/FileSystem.h"

namespace vedozer {

// Longest company name kept; anything a real version resource holds is far shorter.
constexpr size_t kMaxCompanyNameLength = 1 << 20;

// The company name of a file's version resource, found by searching the file's
// bytes for the StringFileInfo block and its CompanyName entry (UTF-16 first,
// plain text as a fallback). The file is read once, front to back, in chunks, so
// memory stays small whatever its size. Empty when there is none or the stream
// fails.
std::string GetFileCompanyName(InputStream& in);

// The same for a file of the given file system; empty when it cannot be opened.
std::string GetFileCompanyName(FileSystem& files, const std::string& path);

// True when a company name names the operating system's maker
// ("Microsoft Corporation", blanks around it and case ignored).
bool isMicrosoftCompany(const std::string& company);

}  // namespace vedozer
