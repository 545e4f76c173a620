#pragma once
#include <string>

namespace vedozer {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // True when this process now holds the lock for the name (held until destruction).
    virtual bool acquire(const std::string& name) = 0;
};

}  // namespace vedozer
