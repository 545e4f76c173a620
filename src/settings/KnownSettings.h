#pragma once
#include <vector>

namespace vedozer {

// A setting the program reads, with the value it takes when the store has none.
struct KnownSetting {
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* meaning;
};

// Every per-user setting of the options and the status, in the order a listing shows them
// (check boxes are stored as "0"/"1", either-or choices as "True"/"False").
const std::vector<KnownSetting>& knownSettings();

}  // namespace vedozer
