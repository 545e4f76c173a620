#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "i18n/ProductIdentity.h"
#include "platform/Platform.h"

namespace vedozer {

struct Win32Config {
    std::string dataFolder;  // empty = [appdata]RozaVedozerEZO, as the session computes it
};

// Everything the engine needs to work on the running Windows system.
class Win32Platform {
public:
    static std::unique_ptr<Win32Platform> create(const Win32Config& config, std::string& error);
    ~Win32Platform();

    Platform& platform() { return m_platform; }
    const std::vector<std::string>& warnings() const { return m_warnings; }
    // The identity in this executable's version resource; the build's when it has none.
    const ProductIdentity& identity() const { return m_identity; }

private:
    Win32Platform() = default;
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    Platform m_platform;
    ProductIdentity m_identity;
    std::vector<std::string> m_warnings;
};

// ProductName, CompanyName and Comments (the website) of a module's version resource; empty
// when the file has no version resource. An empty path reads the running executable.
std::optional<ProductIdentity> identityFromVersionResource(const std::string& modulePath = "");

}  // namespace vedozer
