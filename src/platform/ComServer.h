#pragma once
#include <string>

namespace vedozer {

class ComServer {
public:
    virtual ~ComServer() = default;
    virtual bool isAvailable() = 0;
    virtual bool registerServer(const std::string& libraryPath) = 0;
    virtual bool unregisterServer(const std::string& libraryPath) = 0;
};

}  // namespace vedozer
