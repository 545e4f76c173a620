#pragma once
#include <cstdint>
#include <string>

namespace vedozer {

// Builds new, empty registry hive files ("regf" format) that hivex and Windows accept:
// a 4096-byte base block, then one 4096-byte "hbin" holding the root key ("nk"), its
// security record ("sk", a one-entry list pointing to itself) and one free cell for the rest.
struct EmptyHiveOptions {
    uint32_t minorVersion = 3;  // 3 (NT 4 to XP) or 5 (XP and later)
    uint64_t fileTime = 0;      // last-written time as a Windows FILETIME; 0 takes the current time
};

// Root name in the code page: 1 to 255 printable characters of Latin-1 (no "\", none of 0x80..0x9F).
bool isValidHiveRootName(const std::string& rootName);

// The bytes of an empty hive. Throws std::invalid_argument for an invalid root name or version.
std::string makeEmptyHive(const std::string& rootName, const EmptyHiveOptions& options = {});

// Writes an empty hive to a host file (replacing an existing one). False when the root name is
// invalid or the file cannot be written; the error text goes to *error when given.
bool writeEmptyHive(const std::string& hostPath, const std::string& rootName,
                    const EmptyHiveOptions& options = {}, std::string* error = nullptr);

// Checksum of a base block: XOR of its first 127 little-endian dwords; a result of 0xFFFFFFFF
// is stored as 0xFFFFFFFE and 0 as 1.
uint32_t regfHeaderChecksum(const std::string& baseBlock);

// The current time as a Windows FILETIME (100 ns units since 1601-01-01 UTC).
uint64_t currentFileTime();

}  // namespace vedozer
