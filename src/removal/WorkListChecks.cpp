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
    // One row stands for every trace of its spyware name. A name first seen in the registry can
    // also have files (and the other way round); those traces follow the row's check mark too,
    // or removing a checked name would leave part of it on the system.
    if (record.icon == kIconRegistry || record.icon == kIconFile || record.icon == kIconFolder) {
        for (auto& f : results.fileRows())
            if (f.spywareName == record.name) f.checked = mark;
        for (auto& r : results.registryRows())
            if (r.spywareName == record.name) r.checked = mark;
    }
}

void setRemovalRowChecked(ScanResults& results, size_t row, bool checked) {
    if (row >= results.removalList().size()) return;
    results.setChecked(row, checked);
    SyncWorkListChecks(results, row);
}

void selectAll(ScanResults& results) {
    for (size_t i = 0; i < results.removalList().size(); ++i) {
        if (results.removalList()[i].checked) continue;
        results.setChecked(i, true);
        SyncWorkListChecks(results, i);
    }
}

void deselectAll(ScanResults& results) {
    results.checkAll(false);
    for (auto& f : results.fileRows()) f.checked = false;
    for (auto& r : results.registryRows()) r.checked = false;
    for (auto& c : results.cookieRows()) c.checked = false;
}

}  // namespace vedozer
