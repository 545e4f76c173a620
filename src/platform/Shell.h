#pragma once
#include <string>

namespace vedozer {

// Hands a folder or file to the desktop's own handler.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool open(const std::string& path) = 0;
};

}  // namespace vedozer
