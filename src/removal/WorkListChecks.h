#pragma once
#include <cstddef>

#include "scan/ScanResults.h"

namespace vedozer {

// Copies the check mark of removal-list row `row` to the work-list rows that belong to it, by
// the row's kind (its icon). Every work-list row is examined; comparisons are exact.
//   cookie:   cookie rows whose path equals the row's location
//   registry: registry rows whose key path, or else spyware name, equals the row's text
//   file:     file rows whose spyware name equals the row's text
//   folder:   file rows whose path equals the row's location
void SyncWorkListChecks(ScanResults& results, size_t row);

// The removal list's check box changed: sets the mark and syncs the work lists.
void setRemovalRowChecked(ScanResults& results, size_t row, bool checked);

// Checks every unchecked row, syncing each one it checks.
void selectAll(ScanResults& results);
// Clears every check mark, work lists included.
void deselectAll(ScanResults& results);

}  // namespace vedozer
