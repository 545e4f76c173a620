#include "platform/image/ImageInstallations.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/image/DriveRoots.h"
#include "platform/image/ImageFileSystem.h"
#include "platform/image/ImageLayout.h"
#include "platform/image/ImagePlatform.h"
#include "text/Text.h"

namespace vedozer {

namespace {

std::string userName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
    return "uid " + std::to_string(::geteuid());
}

}  // namespace

ImageInstallations::ImageInstallations(std::string mountInfoPath) : m_mountInfoPath(std::move(mountInfoPath)) {}

std::vector<MountedInstallation> ImageInstallations::mounted() {
    std::ifstream in(m_mountInfoPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<MountedInstallation> out;
    for (const MountEntry& m : systemDriveMounts(parseMountInfo(text.str())))
        out.push_back(MountedInstallation{m.mountPoint, m.source, m.fileSystem, m.readOnly});
    return out;
}

std::vector<std::string> ImageInstallations::profiles(const std::string& systemDrive) {
    if (systemDrive.empty() || !holdsWindowsFolder(systemDrive)) return {};
    ImageFileSystem files({{'C', systemDrive}});
    std::vector<std::string> names = listUserProfiles(files);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return text::toUpper(a) < text::toUpper(b);
    });
    return names;
}

InstallationCheck ImageInstallations::check(const InstallationChoice& choice) {
    InstallationCheck result;
    if (choice.systemDrive.empty()) {
        result.error = "no folder chosen for drive C:";
        return result;
    }
    ImageConfig config;
    config.systemDrive = choice.systemDrive;
    config.otherDrives = choice.otherDrives;
    config.user = choice.user;
    std::string error;
    auto image = ImagePlatform::create(config, error);
    if (!image) {
        result.error = error;
        result.advice = driveRootAdvice(choice.systemDrive);
        if (!result.advice.empty()) result.suggestedDrive = nearestDriveRoot(choice.systemDrive);
        return result;
    }
    // Removal rewrites hives next to themselves and deletes files from the drive's folders.
    std::string config32 = image->imageFiles().toHost(image->layout().configFolder()).value_or("");
    for (const std::string& folder : {config32, choice.systemDrive}) {
        if (folder.empty()) continue;
        result.writeProblem = writeProblem(folder);
        if (!result.writeProblem.empty()) break;
    }
    return result;
}

std::string writeProblem(const std::string& hostFolder) {
    if (::access(hostFolder.c_str(), W_OK) == 0) return "";
    int e = errno;
    if (e == EROFS) return hostFolder + " lies on a file system mounted read-only";
    if (e == EACCES || e == EPERM) return userName() + " may not write to " + hostFolder;
    return hostFolder + ": " + std::strerror(e);
}

}  // namespace vedozer
