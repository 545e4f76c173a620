#pragma once
#include <cstdint>
#include <string>

namespace vedozer {

class SystemRestore {
public:
    virtual ~SystemRestore() = default;
    virtual bool isAvailable() = 0;
    // Opens a restore point; the sequence number identifies it for end().
    virtual bool begin(const std::string& description, int64_t& sequence) = 0;
    virtual bool end(int64_t sequence, bool cancel) = 0;
};

}  // namespace vedozer
