#pragma once
#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

// DOS attributes (hidden, system, read-only) as mounted Windows file systems expose them in extended
// attributes: ntfs-3g's "system.ntfs_attrib_be" (and the little-endian "system.ntfs_attrib"), Samba's
// "user.DOSATTRIB" (text "0x..").
namespace vedozer::posix {

// The attribute words of three forms in one 32-bit number, or nothing when the entry has none.
std::optional<uint32_t> parseDosAttribute(int form, const unsigned char* data, long length);

// Reads the attributes of entries, asking each mount only for the names it knows: the first answers
// a file system gives ("not supported" against "no such attribute") are kept per device, so an ext4
// image costs one call per entry rather than three.
class DosAttributeReader {
public:
    // The entry `name` in the folder open as dirFd (a symbolic link itself is not followed), on
    // device dev. dirFd may be AT_FDCWD with a path as name.
    std::optional<uint32_t> read(int dirFd, const std::string& name, dev_t dev);
    // How many attribute names were asked so far, and how many a device is still asked for.
    long calls() const { return m_calls; }
    int namesAsked(dev_t dev);

private:
    std::mutex m_mutex;
    std::unordered_map<dev_t, unsigned> m_unsupported;  // device -> bit per form
    long m_calls = 0;
};

// The one reader of the process: the answers of a mount do not change while it is mounted.
DosAttributeReader& dosAttributes();

}  // namespace vedozer::posix
