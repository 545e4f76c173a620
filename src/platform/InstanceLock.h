#pragma once
#include <string>

namespace vedozer {

class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // True when this process now holds the lock for the name (held until destruction).
    virtual bool acquire(const std::string& name) = 0;
    // Why the last acquire failed, for people; empty when there is nothing more to say than
    // that another instance holds the lock.
    virtual std::string problem() const { return {}; }
};

}  // namespace vedozer
