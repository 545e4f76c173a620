#pragma once
#include <string>

#include "scan/ScanContext.h"

namespace vedozer {

// Checks each path of FileDefinition.dat (a file) and DirectoryDefinition.dat (a folder)
// on the scanned system. The scan run calls them in this order, last of all stages.
void ScanFileDefinitions(ScanContext& ctx);
void ScanDirectoryDefinitions(ScanContext& ctx);

// The company name of a file of the scanned system; notes the file as skipped when it
// exists but cannot be read (it then has no company and is not spared).
std::string scannedFileCompany(ScanContext& ctx, const std::string& path);

}  // namespace vedozer
