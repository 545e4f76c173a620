#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace vedozer::test {

// A fresh folder under the Windows temporary folder, removed with its contents afterwards.
class WinTempDir {
public:
    WinTempDir();
    ~WinTempDir();
    WinTempDir(const WinTempDir&) = delete;
    WinTempDir& operator=(const WinTempDir&) = delete;
    const std::string& path() const { return m_path; }
    // Writes a file below the folder ("a\\b.txt"), creating the folders on the way.
    std::string write(const std::string& relative, const std::string& content) const;

private:
    std::string m_path;
};

// Writes a file at an absolute path, creating its folders.
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
void makeFolders(const std::string& folder);
void removeTree(const std::string& folder);

struct RunResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;  // standard output
    std::string err;  // standard error
};
// Runs a command line to its end, collecting its output (at most two minutes).
RunResult runCommand(const std::string& commandLine);

// A started program, ended when this goes out of scope.
class StartedProgram {
public:
    explicit StartedProgram(const std::string& exePath);
    ~StartedProgram();
    DWORD pid() const { return m_info.dwProcessId; }
    bool running() const;
    // True when the program ended within the time.
    bool waitEnded(DWORD ms) const;

private:
    PROCESS_INFORMATION m_info{};
};

// The build's executables, next to this test program.
std::string besideTestProgram(const std::string& name);

}  // namespace vedozer::test
