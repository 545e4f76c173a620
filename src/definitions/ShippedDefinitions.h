#pragma once
#include <cstddef>
#include <string_view>

namespace vedozer {

// Definition files compiled into the program (already encoded where the file is).
struct ShippedFile {
    const char* name;
    const unsigned char* bytes;
    size_t size;
    std::string_view content() const { return {reinterpret_cast<const char*>(bytes), size}; }
};

extern const ShippedFile kShippedDefinitions[];
extern const size_t kShippedDefinitionCount;

}  // namespace vedozer
