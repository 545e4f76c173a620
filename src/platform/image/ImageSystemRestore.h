#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/SystemRestore.h"

namespace vedozer {

class ImageRegistry;

// A restore point for an offline image: while it is open, every hive file is copied into the
// restore-point folder just before the first change to it, so the registry can be put back by
// copying the files back. The folder lies in the quarantine folder and is named by date and
// sequence ("RestorePoint-2026-12-08-001"); it holds the hive copies and RestorePoint.txt,
// which names the point and tells which hive file each copy came from.
class ImageSystemRestore : public SystemRestore {
public:
    struct HiveCopy {
        std::string storedName;  // file name in the restore-point folder
        std::string hivePath;    // host path of the hive it was copied from
    };
    struct Info {
        std::string name;  // folder name
        std::string description;
        std::string began, ended;  // "yyyy-mm-dd hh:mm:ss"; ended empty while open or after a crash
        std::vector<HiveCopy> hives;
    };

    // quarantineFolder: host path of the quarantine folder (created on demand).
    ImageSystemRestore(ImageRegistry& registry, std::string quarantineFolder, Clock& clock);
    ~ImageSystemRestore() override;

    bool isAvailable() override { return true; }
    RestorePointKind kind() const override { return RestorePointKind::HiveCopies; }
    // The sequence is yyyymmddnnn of the folder's name; the type is only recorded.
    bool begin(const std::string& description, uint32_t type, int64_t& sequence) override;
    bool end(int64_t sequence, bool cancel) override;
    std::vector<RestorePointInfo> list() override;
    // Copies the point's hive files back over the hives they came from (each replaced in one
    // step). Only the hives of this image's registry are written; the registry rereads them. The
    // hives as they were are first copied into a new restore point (lastKeptAside()), so the
    // restore itself can be undone; when they cannot be kept, nothing is restored.
    bool restore(const std::string& name, std::string& error) override;
    std::string lastKeptAside() const override { return m_keptAside; }

    bool isOpen() const { return m_sequence != 0; }
    const std::string& openFolder() const { return m_folder; }

    // The restore points in a quarantine folder, oldest first.
    static std::vector<Info> listIn(const std::string& quarantineFolder);
    static bool isRestorePointName(const std::string& name);

private:
    void backUpHive(const std::string& hivePath);
    bool appendRecord(const std::string& line);

    ImageRegistry& m_registry;
    std::string m_quarantine;
    Clock& m_clock;
    int64_t m_sequence = 0;
    std::string m_folder;  // host path of the open restore point
    std::vector<std::string> m_storedNames;
    std::string m_keptAside;
};

}  // namespace vedozer
