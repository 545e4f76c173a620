#include "removal/WorkListChecks.h"

namespace vedozer {

void SyncWorkListChecks(ScanResults& results, size_t row) {
    if (row >= results.removalList().size()) return;
    const ThreatRecord record = results.removalList()[row];
    const bool mark = record.checked;
    switch (record.icon) {
        case kIconCookie:
            for (auto& c : results.cookieRows())
                if (c.path == record.location) c.checked = mark;
            break;
        case kIconRegistry:
            for (auto& r : results.registryRows())
                if (r.keyPath == record.name || r.spywareName == record.name) r.checked = mark;
            break;
        case kIconFile:
            for (auto& f : results.fileRows())
                if (f.spywareName == record.name) f.checked = mark;
            break;
        case kIconFolder:
            for (auto& f : results.fileRows())
                if (f.path == record.location) f.checked = mark;
            break;
        default: break;
    }
}

void setRemovalRowChecked(ScanResults& results, size_t row, bool checked) {
    if (row >= results.removalList().size()) return;
    results.setChecked(row, checked);
    SyncWorkListChecks(results, row);
}

void cmdSelectAll_Click(ScanResults& results) {
    for (size_t i = 0; i < results.removalList().size(); ++i) {
        if (results.removalList()[i].checked) continue;
        results.setChecked(i, true);
        SyncWorkListChecks(results, i);
    }
}

}  // namespace vedozer
