#pragma once
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace vedozer {

class HiveFile;
struct HiveValue;

// The registry of an offline Windows installation, read from and written to its hive files.
//
// Root keys:
//   HKLM            lists SOFTWARE, SYSTEM, SAM and SECURITY (those whose hive is configured);
//                   any other name below it does not exist.
//   HKLM\SYSTEM\CurrentControlSet
//                   the control set named by SYSTEM\Select "Current" (ControlSet00N); listed
//                   among the sub keys of HKLM\SYSTEM.
//   HKCU            the user's NTUSER.DAT; HKCU\Software\Classes is the user's UsrClass.dat
//                   when that hive is configured (as on a running system).
//   HKU             ".DEFAULT" (DEFAULT hive), <userSid> (NTUSER.DAT), <userSid>_Classes
//                   (UsrClass.dat).
//   HKCR            SOFTWARE\Classes overlaid by UsrClass.dat: a key present in the user's
//                   classes is read from there (its values only), sub key lists are merged
//                   (user names first). Writes go to the user's classes when the key exists
//                   there, else to the machine's; a new key goes where more of its path exists
//                   already, the machine's classes on a tie.
//   HKCC            SYSTEM\CurrentControlSet\Hardware Profiles\Current; when the hive holds no
//                   "Current" key, the profile named by Control\IDConfigDB "CurrentConfig"
//                   (Hardware Profiles\000N).
//   HKEY_DYN_DATA   does not exist.
//
// Key paths: parts separated by "\" and compared without regard to case (ASCII, Latin-1 and
// the other letters of the code page). "" is the root key itself. One trailing "\" is ignored;
// a leading "\", a doubled "\" or a zero character make the path invalid (no such key; writes
// fail with Error).
//
// Names and string data are in the code page (Windows-1252) here and UTF-16 in the hive:
// REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ data are converted both ways, as the ANSI registry
// functions do (a character without a code-page form reads as "?"); every other type is
// passed as raw bytes.
//
// The image has no access control: the access mask of openKey() is accepted as given.
//
// Status: Ok, NotFound (no such key or value), AccessDenied (writing where no hive is mounted,
// deleting a hive root or a mapped root), Error (hive missing, damaged or not writable; invalid
// path). lastError() tells what went wrong in the last call.
//
// Every write is committed to its hive file at once and atomically (see HiveFile). A value
// rewrite that would need the big-data layout (data above 16344 bytes in a hive of format
// 1.4 or later, which hivex cannot write) is refused with Error rather than stored in a layout
// Windows would misread.
class ImageRegistry : public Registry {
public:
    // Host paths of the hive files; an empty path means that hive is absent.
    struct Hives {
        std::string software;     // HKLM\SOFTWARE
        std::string system;       // HKLM\SYSTEM
        std::string sam;          // HKLM\SAM
        std::string security;     // HKLM\SECURITY
        std::string ntuser;       // HKCU, HKU\<userSid>
        std::string usrclass;     // HKU\<userSid>_Classes, the user's part of HKCR
        std::string defaultHive;  // HKU\.DEFAULT
    };
    struct Config {
        Hives hives;
        std::string userSid = "S-1-5-21-0-0-0-1001";
    };
    // Called with a hive's host path just before the first change to that hive file is
    // committed, so that the file can be copied aside first (a restore point). Called once per
    // hive file from the moment the hook is set; setting a hook (again) starts over. When the
    // hook throws, the change is dropped, the call returns Error with the exception's text in
    // lastError(), and the hook is asked again before the next change to that hive.
    using WriteHook = std::function<void(const std::string& hostHivePath)>;

    explicit ImageRegistry(Config config);
    ~ImageRegistry() override;
    ImageRegistry(const ImageRegistry&) = delete;
    ImageRegistry& operator=(const ImageRegistry&) = delete;

    RegStatus openKey(RootKey root, const std::string& path, uint32_t accessMask) override;
    std::optional<RegistryValue> queryValue(RootKey root, const std::string& path,
                                            const std::string& name) override;
    std::vector<std::string> subKeys(RootKey root, const std::string& path) override;
    std::vector<NamedValue> values(RootKey root, const std::string& path) override;

    // As above, telling a key that could not be read (Error, named in lastProblem()) from an
    // absent one (ImageRegistryStatus.cpp).
    RegStatus readValue(RootKey root, const std::string& path, const std::string& name,
                        RegistryValue& out) override;
    RegStatus listSubKeys(RootKey root, const std::string& path, std::vector<std::string>& out) override;
    RegStatus listValues(RootKey root, const std::string& path, std::vector<NamedValue>& out) override;
    std::string lastProblem() const override { return m_lastError; }

    RegStatus createKey(RootKey root, const std::string& path) override;
    RegStatus setValue(RootKey root, const std::string& path, const std::string& name,
                       const RegistryValue& value) override;
    RegStatus deleteValue(RootKey root, const std::string& path, const std::string& name) override;
    RegStatus deleteKeyTree(RootKey root, const std::string& path) override;

    const std::string& lastError() const { return m_lastError; }
    void setBeforeFirstWrite(WriteHook hook) {
        m_beforeFirstWrite = std::move(hook);
        m_hooked.clear();
    }
    // Host paths of the hive files configured (ImageRegistryStatus.cpp).
    std::vector<std::string> hivePaths() const;
    // Host paths of the hives Windows did not close cleanly: read as they are, never written.
    std::vector<std::string> dirtyHives();
    // Closes every cached hive handle; the next call reopens what it needs.
    void closeHives();
    // Changes whenever later reads might answer differently from earlier ones: a write (or an
    // attempted one), closeHives(), or a hive that could not be opened (it may open later).
    // While it stays the same, an answer derived from reads may be kept.
    uint64_t generation() const { return m_generation; }

private:
    // Hive slots.
    enum Slot { kSoftware, kSystem, kSam, kSecurity, kNtUser, kUsrClass, kDefault, kSlotCount };
    // A key in one hive: its parts below the hive root (as given and folded); the first
    // `fixed` parts belong to the mapping and are never created.
    struct Place {
        Slot slot = kSoftware;
        std::vector<std::string> names;
        std::vector<std::string> folded;
        size_t fixed = 0;
    };
    // What a root key and path stand for.
    struct Target {
        enum Kind { Missing, Virtual, Hive } kind = Missing;
        bool mounted = true;     // false: a name where no hive can be mounted (HKLM\Other)
        bool mappedRoot = false; // a root key, a hive root, a mount point or an alias
        std::vector<std::string> virtualChildren;  // Virtual: its sub key names
        std::vector<Place> places;                 // Hive: candidates in order of precedence
        std::vector<std::string> extraChildren;    // aliases listed among the sub keys
        bool invalidPath = false;
    };

    struct Found {
        HiveFile* hive = nullptr;
        size_t node = 0;
    };
    RegStatus fail(RegStatus status, const std::string& message);
    HiveFile* hive(Slot slot) const;
    // Mapping (ImageRegistryMap.cpp).
    RegStatus resolve(RootKey root, const std::string& path, Target& target);
    RegStatus currentControlSet(std::optional<std::string>& name);
    RegStatus currentHardwareProfile(std::optional<std::vector<std::string>>& parts);
    static Place makePlace(Slot slot, std::vector<std::string> names, size_t fixed);
    RegStatus placeInSystem(Target& target, std::vector<std::string> parts);
    void placeInUser(Target& target, const std::vector<std::string>& parts);
    // Reading.
    RegStatus openHive(Slot slot, HiveFile*& out);
    RegStatus locate(const Place& place, std::optional<Found>& found);
    RegStatus locateFirst(const Target& target, std::optional<Found>& found);
    // locateFirst that names the key whose sub keys could not be listed (ImageRegistryStatus.cpp).
    RegStatus locateReporting(RootKey root, const std::string& path, const Target& target,
                              std::optional<Found>& found);
    // Writing (ImageRegistryWrite.cpp).
    RegStatus choosePlaceForWrite(const Target& target, const Place*& chosen);
    RegStatus locateForWrite(const Target& target, std::optional<Found>& found);
    RegStatus ensureKey(const Place& place, HiveFile*& file, size_t& node, bool& changed);
    RegStatus commit(HiveFile& file);
    RegStatus rewriteValues(HiveFile& file, size_t node, const std::vector<HiveValue>& values);
    void forgetResolvedPaths();

    Config m_config;
    std::array<HiveFile*, kSlotCount> m_slots{};
    std::vector<std::unique_ptr<HiveFile>> m_files;  // one per distinct host path
    std::string m_lastError;
    WriteHook m_beforeFirstWrite;
    std::set<std::string> m_hooked;
    std::optional<std::optional<std::string>> m_controlSet;                   // cached resolution
    std::optional<std::optional<std::vector<std::string>>> m_hardwareProfile;  // cached resolution
    uint64_t m_generation = 0;
};

}  // namespace vedozer
