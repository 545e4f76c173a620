#pragma once
#include <string>

namespace vedozer {

// Shell special folders by their CSIDL number.
class ShellFolders {
public:
    virtual ~ShellFolders() = default;
    // The folder's path without a trailing backslash; empty when the shell has none.
    virtual std::string folderPath(int csidl) = 0;
    // The same folder through the item-identifier lookup; empty on failure.
    virtual std::string folderLocation(int csidl) = 0;
};

}  // namespace vedozer
