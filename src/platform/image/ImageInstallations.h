#pragma once
#include <string>

#include "platform/Installations.h"

namespace vedozer {

// The installations of this Linux computer: mounted Windows system drives from the kernel's
// mount list, and any folder laid out like one, opened as the command line opens --target.
class ImageInstallations : public Installations {
public:
    explicit ImageInstallations(std::string mountInfoPath = "/proc/self/mountinfo");

    std::vector<MountedInstallation> mounted() override;
    std::vector<std::string> profiles(const std::string& systemDrive) override;
    InstallationCheck check(const InstallationChoice& choice) override;

private:
    std::string m_mountInfoPath;
};

// Why this process could not change files in the folder: "" when it can write there, else the
// read-only mount or the missing permission in words.
std::string writeProblem(const std::string& hostFolder);

}  // namespace vedozer
