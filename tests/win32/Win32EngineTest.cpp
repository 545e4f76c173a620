// The engine on the live (Wine) system: vedozer.exe scans planted registry entries, files and a
// running program, removes them into the quarantine and puts them back.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cctype>
#include <string>

#include "Win32TestSupport.h"
#include "definitions/DefinitionFiles.h"
#include "definitions/LineCodec.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32ShellFolders.h"

namespace vedozer {
namespace {

using test::RunResult;
using test::WinTempDir;

// A data folder of its own with the five definition files, and vedozer.exe pointed at it.
struct EngineOnWindows {
    WinTempDir dir;
    std::string data = dir.path() + "\\data";
    Win32Registry registry;
    Win32ShellFolders shell;

    EngineOnWindows() {
        for (const char* f : {kFileDefinitionFile, kDirectoryDefinitionFile, kRegistryDefinitionFile,
                              kExeDefinitionFile, kBlockedCookiesFile})
            definitions(f, {});
    }
    void definitions(const std::string& name, const std::vector<std::string>& lines) {
        std::string content;
        for (const auto& l : lines) content += EncodeDefinitionLine(l) + "\r\n";
        test::writeFile(data + "\\" + name, content);
    }
    RunResult vedozer(const std::string& args) {
        return test::runCommand("\"" + test::besideTestProgram("vedozer.exe") + "\" --data-dir \"" + data + "\" " +
                                args);
    }
};

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Win32Engine, PlantedRegistryEntriesAndFilesAreFoundRemovedAndRestoredHiddenFilesAbsent) {
    EngineOnWindows e;
    const std::string appdata = e.shell.folderPath(CSIDL_APPDATA);
    const std::string planted = appdata + "\\VedozerPlanted";
    test::removeTree(planted);
    e.registry.deleteKeyTree(RootKey::CurrentUser, "Software\\VedozerPlanted");
    e.registry.deleteKeyTree(RootKey::LocalMachine, "SOFTWARE\\VedozerPlanted");

    ASSERT_EQ(e.registry.setValue(RootKey::CurrentUser, "Software\\VedozerPlanted\\Bad", "Start",
                                  {kRegSz, std::string("C:\\bad.exe\0", 11)}),
              RegStatus::Ok);
    e.registry.setValue(RootKey::CurrentUser, "Software\\VedozerPlanted\\Bad", "Keep", {kRegSz, std::string("k\0", 2)});
    e.registry.setValue(RootKey::LocalMachine, "SOFTWARE\\VedozerPlanted\\BadKey\\Sub", "V",
                        {kRegDword, std::string("\x07\0\0\0", 4)});
    test::writeFile(planted + "\\bad.dll", "MZ bad");
    test::writeFile(planted + "\\hidden.dll", "MZ hidden");
    SetFileAttributesA((planted + "\\hidden.dll").c_str(), FILE_ATTRIBUTE_HIDDEN);

    e.definitions(kRegistryDefinitionFile, {"1^Software\\VedozerPlanted\\Bad^Start=RegValueThing|Hijacker",
                                            "2^SOFTWARE\\VedozerPlanted\\BadKey^=RegKeyThing",
                                            "1^Software\\VedozerPlanted\\Absent^X=AbsentThing"});
    e.definitions(kFileDefinitionFile, {"bad.dll=FileThing|[appdata]VedozerPlanted|Adware",
                                        "hidden.dll=HiddenThing|[appdata]VedozerPlanted",
                                        "absent.dll=AbsentFile|[appdata]VedozerPlanted"});

    RunResult scan = e.vedozer("scan --no-cookies --no-memory --json - --quiet");
    EXPECT_EQ(scan.exitCode, 1u) << scan.err;  // found something
    EXPECT_TRUE(has(scan.out, "\"name\":\"RegValueThing\"")) << scan.out;
    EXPECT_TRUE(has(scan.out, "\"name\":\"RegKeyThing\"")) << scan.out;
    EXPECT_TRUE(has(scan.out, "\"name\":\"FileThing\"")) << scan.out;
    EXPECT_FALSE(has(scan.out, "HiddenThing"));  // a hidden file counts as absent
    EXPECT_FALSE(has(scan.out, "AbsentThing"));
    EXPECT_FALSE(has(scan.out, "AbsentFile"));
    EXPECT_TRUE(has(scan.out, "\"location\":\"HKEY_CURRENT_USER\\\\Software\\\\VedozerPlanted\\\\Bad [Start]\""))
        << scan.out;

    RunResult removal = e.vedozer("scan --no-cookies --no-memory --remove --yes --quiet --json -");
    EXPECT_EQ(removal.exitCode, 0u) << removal.out << removal.err;
    EXPECT_FALSE(e.registry.queryValue(RootKey::CurrentUser, "Software\\VedozerPlanted\\Bad", "Start"));
    EXPECT_TRUE(e.registry.queryValue(RootKey::CurrentUser, "Software\\VedozerPlanted\\Bad", "Keep"));
    EXPECT_FALSE(e.registry.keyExists(RootKey::LocalMachine, "SOFTWARE\\VedozerPlanted\\BadKey"));
    EXPECT_FALSE(test::fileExists(planted + "\\bad.dll"));
    EXPECT_TRUE(test::fileExists(planted + "\\hidden.dll"));  // never reported, never touched

    RunResult clean = e.vedozer("scan --no-cookies --no-memory --quiet");
    EXPECT_EQ(clean.exitCode, 0u) << clean.out << clean.err;

    RunResult restore = e.vedozer("quarantine restore --all");
    EXPECT_EQ(restore.exitCode, 0u) << restore.out << restore.err;
    EXPECT_EQ(e.registry.queryValue(RootKey::CurrentUser, "Software\\VedozerPlanted\\Bad", "Start"),
              (RegistryValue{kRegSz, std::string("C:\\bad.exe\0", 11)}));
    EXPECT_EQ(e.registry.queryValue(RootKey::LocalMachine, "SOFTWARE\\VedozerPlanted\\BadKey\\Sub", "V"),
              (RegistryValue{kRegDword, std::string("\x07\0\0\0", 4)}));
    EXPECT_TRUE(test::fileExists(planted + "\\bad.dll"));

    test::removeTree(planted);
    e.registry.deleteKeyTree(RootKey::CurrentUser, "Software\\VedozerPlanted");
    e.registry.deleteKeyTree(RootKey::LocalMachine, "SOFTWARE\\VedozerPlanted");
}

TEST(Win32Engine, AProgramStartedFromADefinitionsPathIsFoundAndStopped) {
    EngineOnWindows e;
    const std::string folder = e.shell.folderPath(CSIDL_PROGRAM_FILES) + "\\VedozerPlanted";
    const std::string exe = folder + "\\badproc.exe";
    const std::string elsewhere = e.dir.path() + "\\badproc.exe";
    test::makeFolders(folder);
    ASSERT_TRUE(CopyFileA(test::besideTestProgram("vedozer_test_sleeper.exe").c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(test::besideTestProgram("vedozer_test_sleeper.exe").c_str(), elsewhere.c_str(), FALSE));
    test::StartedProgram bad(exe);
    test::StartedProgram sameNameElsewhere(elsewhere);
    e.definitions(kExeDefinitionFile, {"badproc.exe=BadProc|[progfil]\\VedozerPlanted"});

    RunResult scan = e.vedozer("scan --no-cookies --no-registry --json - --quiet");
    // The running program is a threat of its own, its one trace stopped.
    std::string json = scan.out;
    for (char& c : json) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(has(json, "{\"kind\":\"process\",\"location\":\"badproc.exe\",\"outcome\":\"stopped\""))
        << scan.out << scan.err;
    EXPECT_TRUE(bad.waitEnded(5000));
    EXPECT_TRUE(sameNameElsewhere.running());  // only the program at the definition's path
    test::removeTree(folder);
}

}  // namespace
}  // namespace vedozer
