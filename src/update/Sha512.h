#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vedozer {

// SHA-512 (FIPS 180-4), fed in pieces of any size.
class Sha512 {
public:
    Sha512();
    void update(std::string_view data);
    std::array<uint8_t, 64> finish();

private:
    void block(const uint8_t* p);

    std::array<uint64_t, 8> m_state;
    std::array<uint8_t, 128> m_buffer{};
    size_t m_buffered = 0;
    uint64_t m_length = 0;  // bytes fed so far
};

}  // namespace vedozer
