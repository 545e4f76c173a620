#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vedozer {

// Reads up to n bytes at a byte offset of a file into out (fewer at its end); false on an error.
using ReadAt = std::function<bool(uint64_t offset, size_t n, std::string& out)>;

enum class PeVersionLookup {
    NotPe,      // no "MZ" header leading to a "PE\0\0" signature
    NoVersion,  // a PE image without a version resource, or one its headers cannot lead to
    Found,
    ReadError,
};

struct PeVersionResource {
    PeVersionLookup lookup = PeVersionLookup::NotPe;
    std::string bytes;  // the version resource as stored (at most kMaxVersionResourceBytes)
};

// A version resource is one block whose length field has 16 bits.
constexpr size_t kMaxVersionResourceBytes = 64 * 1024;

// Finds the version resource of a PE executable (32 or 64 bit) the way the loader does: DOS
// header, PE headers, section table, then the resource directory (type 16, name 1 or else the
// first, the first language) down to its data. Only those structures are read, each bounded,
// so the file's size does not matter.
PeVersionResource readPeVersionResource(const ReadAt& readAt);

}  // namespace vedozer
