#pragma once
#include <stdexcept>
#include <string>

namespace vedozer {

// A machine-wide settings call that was given bad arguments or could not open its section.
class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace vedozer
