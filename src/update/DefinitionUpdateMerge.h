#pragma once
#include <string>
#include <string_view>

#include "core/Host.h"
#include "platform/FileSystem.h"
#include "update/UpdateTransaction.h"

namespace vedozer {

struct MergeResult {
    // Changes made: one per ADD record written (per file it went to) and one per file whose
    // removal pass ran. 0 when nothing was installed.
    int count = 0;
    // False when the feed could not be applied; then no definition file changed.
    bool ok = true;
    std::string error;
};

// Writes the new versions of the definition files that the feed changes into the transaction's
// scratch files (the current files are only read). Files that are missing are staged empty.
// An error (a record that cannot be applied, a read or write failure) starts the file over
// once; a second error abandons the whole merge.
MergeResult stageDefinitionUpdate(UpdateTransaction& tx, FileSystem& fs, const std::string& dataFolder,
                                  std::string_view feed, Host& host);

// The whole merge: finishes an interrupted earlier update, stages the feed and commits it.
MergeResult mergeDefinitionUpdate(FileSystem& fs, const std::string& dataFolder, std::string_view feed, Host& host);

// The count of mergeDefinitionUpdate.
int MergeDefinitionUpdate(FileSystem& fs, const std::string& dataFolder, std::string_view feed, Host& host);

}  // namespace vedozer
