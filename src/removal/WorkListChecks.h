#pragma once
#include <cstddef>

#include "scan/ScanResults.h"

namespace vedozer {

// Copies the check mark of removal-list row `row` to the work-list rows that belong to it, by
// the row's kind (its icon). Every work-list row is examined; comparisons are exact.
//   cookie:   lvwCookiesToDelete rows whose path equals the row's location
//   registry: lvwRegistryToBeDeleted rows whose key path, or else spyware name, equals the row's text
//   file:     lvwFilesToBeDeleted rows whose spyware name equals the row's text
//   folder:   lvwFilesToBeDeleted rows whose path equals the row's location
void SyncWorkListChecks(ScanResults& results, size_t row);

// The removal list's check box changed: sets the mark and syncs the work lists.
void setRemovalRowChecked(ScanResults& results, size_t row, bool checked);

// "Select All": checks every unchecked row, syncing each one it checks.
void cmdSelectAll_Click(ScanResults& results);

}  // namespace vedozer
