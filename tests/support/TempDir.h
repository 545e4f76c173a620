#pragma once
#include <filesystem>
#include <string>

namespace vedozer::test {

// A fresh folder under the system's temporary folder, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    // Writes a host file below the folder, creating parents.
    std::filesystem::path write(const std::string& relative, const std::string& content) const;

private:
    std::filesystem::path m_path;
};

std::string readHostFile(const std::filesystem::path& p);

}  // namespace vedozer::test
