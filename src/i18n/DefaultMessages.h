#pragma once
#include <array>
#include <cstddef>

namespace vedozer {

struct DefaultMessage {
    const char* key;
    const char* text;
};

inline constexpr std::size_t kDefaultMessageCount = 70;

// The English texts the catalogue starts with, in registration order.
const std::array<DefaultMessage, kDefaultMessageCount>& defaultMessages();

}  // namespace vedozer
