#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "Win32TestSupport.h"
#include "i18n/ProductIdentity.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32SettingsStore.h"
#include "platform/win32/Win32ShellFolders.h"
#include "text/Text.h"

namespace vedozer {
namespace {

using test::WinTempDir;

std::string dword(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

TEST(Win32Registry, ValuesOfEachTypeRoundTripAndKeysGoWithTheirSubtree) {
    Win32Registry reg;
    const std::string key = "Software\\VedozerTest\\Registry";
    reg.deleteKeyTree(RootKey::CurrentUser, "Software\\VedozerTest\\Registry");
    EXPECT_EQ(reg.openKey(RootKey::CurrentUser, key, kKeyReadWriteMask), RegStatus::NotFound);
    EXPECT_FALSE(reg.keyExists(RootKey::CurrentUser, key));

    const RegistryValue sz{kRegSz, std::string("C:\\bad.exe\0", 11)};
    const RegistryValue num{kRegDword, dword(0x12345678)};
    const RegistryValue blob{kRegBinary, std::string("\x00\x01\xFF\x80", 4)};
    ASSERT_EQ(reg.setValue(RootKey::CurrentUser, key, "Start", sz), RegStatus::Ok);
    ASSERT_EQ(reg.setValue(RootKey::CurrentUser, key, "Num", num), RegStatus::Ok);
    ASSERT_EQ(reg.setValue(RootKey::CurrentUser, key, "Blob", blob), RegStatus::Ok);
    ASSERT_EQ(reg.setValue(RootKey::CurrentUser, key + "\\Sub\\Deeper", "", sz), RegStatus::Ok);
    EXPECT_EQ(reg.openKey(RootKey::CurrentUser, key, kKeyReadWriteMask), RegStatus::Ok);

    EXPECT_EQ(reg.queryValue(RootKey::CurrentUser, key, "Start"), sz);
    EXPECT_EQ(reg.queryValue(RootKey::CurrentUser, key, "num"), num);  // names ignore case
    EXPECT_EQ(reg.queryValue(RootKey::CurrentUser, key, "Blob"), blob);
    EXPECT_EQ(reg.queryValue(RootKey::CurrentUser, key + "\\Sub\\Deeper", ""), sz);
    EXPECT_FALSE(reg.queryValue(RootKey::CurrentUser, key, "Absent"));
    // "Not there" is told apart from "could not be read", which would name the key.
    RegistryValue read;
    std::vector<std::string> names;
    std::vector<NamedValue> listed;
    EXPECT_EQ(reg.readValue(RootKey::CurrentUser, key, "Absent", read), RegStatus::NotFound);
    EXPECT_EQ(reg.readValue(RootKey::CurrentUser, key + "\\Gone", "Start", read), RegStatus::NotFound);
    EXPECT_EQ(reg.listSubKeys(RootKey::CurrentUser, key + "\\Gone", names), RegStatus::NotFound);
    EXPECT_EQ(reg.listValues(RootKey::CurrentUser, key + "\\Gone", listed), RegStatus::NotFound);
    EXPECT_EQ(reg.lastProblem(), "");
    EXPECT_EQ(reg.readValue(RootKey::CurrentUser, key, "Start", read), RegStatus::Ok);
    EXPECT_EQ(read, sz);
    EXPECT_EQ(reg.listSubKeys(RootKey::CurrentUser, key, names), RegStatus::Ok);
    EXPECT_EQ(names, std::vector<std::string>{"Sub"});
    EXPECT_EQ(reg.listValues(RootKey::CurrentUser, key, listed), RegStatus::Ok);
    EXPECT_EQ(listed.size(), 3u);

    auto values = reg.values(RootKey::CurrentUser, key);
    ASSERT_EQ(values.size(), 3u);  // in the registry's own order (Wine sorts, Windows keeps insertion order)
    std::sort(values.begin(), values.end(), [](const auto& x, const auto& y) { return x.name < y.name; });
    EXPECT_EQ(values[0].name, "Blob");
    EXPECT_EQ(values[0].value, blob);
    EXPECT_EQ(values[1].value, num);
    EXPECT_EQ(values[2].name, "Start");
    EXPECT_EQ(values[2].value, sz);
    EXPECT_EQ(reg.subKeys(RootKey::CurrentUser, key), std::vector<std::string>{"Sub"});

    EXPECT_EQ(reg.deleteValue(RootKey::CurrentUser, key, "Num"), RegStatus::Ok);
    EXPECT_EQ(reg.deleteValue(RootKey::CurrentUser, key, "Num"), RegStatus::NotFound);
    EXPECT_FALSE(reg.queryValue(RootKey::CurrentUser, key, "Num"));
    EXPECT_EQ(reg.deleteKeyTree(RootKey::CurrentUser, key), RegStatus::Ok);
    EXPECT_FALSE(reg.keyExists(RootKey::CurrentUser, key + "\\Sub"));
    EXPECT_FALSE(reg.keyExists(RootKey::CurrentUser, key));
    EXPECT_TRUE(reg.keyExists(RootKey::CurrentUser, "Software"));
    EXPECT_NE(reg.deleteKeyTree(RootKey::CurrentUser, ""), RegStatus::Ok);  // never a whole root
}

TEST(Win32Registry, MachineKeysAndLongValues) {
    Win32Registry reg;
    const std::string key = "SOFTWARE\\VedozerTest\\Machine";
    std::string longText(5000, 'x');
    longText.push_back('\0');
    ASSERT_EQ(reg.setValue(RootKey::LocalMachine, key, "Long", {kRegSz, longText}), RegStatus::Ok);
    EXPECT_EQ(reg.queryValue(RootKey::LocalMachine, key, "Long")->data, longText);
    ASSERT_EQ(reg.values(RootKey::LocalMachine, key).size(), 1u);
    EXPECT_EQ(reg.values(RootKey::LocalMachine, key)[0].value.data, longText);
    EXPECT_EQ(reg.deleteKeyTree(RootKey::LocalMachine, "SOFTWARE\\VedozerTest"), RegStatus::Ok);
}

TEST(Win32FileSystem, LookupSeesHiddenAndSystemFilesAndListsAFolder) {
    WinTempDir dir;
    Win32FileSystem fs;
    std::string hidden = dir.write("hidden.dll", "abc");
    std::string plain = dir.write("Plain.txt", "12345");
    dir.write("Sub\\inner.txt", "x");
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

    auto info = fs.lookup(dir.path() + "\\HIDDEN.DLL");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, "hidden.dll");  // the stored name
    EXPECT_TRUE(info->isHidden());
    EXPECT_TRUE(info->isSystem());
    EXPECT_EQ(info->size, 3u);
    EXPECT_FALSE(fs.lookup(plain)->isHidden());
    EXPECT_FALSE(fs.lookup(dir.path() + "\\absent.dll"));
    EXPECT_FALSE(fs.lookup(dir.path() + "\\*.dll"));  // no wildcards
    EXPECT_TRUE(fs.folderExists(dir.path() + "\\Sub\\"));
    EXPECT_FALSE(fs.folderExists(plain));

    auto entries = fs.list(dir.path());
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name + (e.isDirectory() ? "/" : ""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Plain.txt", "Sub/", "hidden.dll"}));
    EXPECT_TRUE(fs.list(dir.path() + "\\absent").empty());
}

TEST(Win32FileSystem, WritesAppendsCopiesRenamesAndDeletes) {
    WinTempDir dir;
    Win32FileSystem fs;
    const std::string a = dir.path() + "\\a.txt", b = dir.path() + "\\b.txt";
    {
        auto out = fs.openWrite(a, /*atomic=*/true);
        ASSERT_TRUE(out);
        out->write("first\r\n");
        EXPECT_FALSE(fs.lookup(a));  // nothing under the name before close
        EXPECT_TRUE(out->close());
    }
    {
        auto out = fs.openWrite(a, true);
        out->write("never");
        // dropped without close: the old content stays
    }
    EXPECT_EQ(fs.readAll(a), "first\r\n");
    EXPECT_TRUE(fs.append(a, "second\r\n"));
    EXPECT_EQ(fs.readAll(a), "first\r\nsecond\r\n");
    EXPECT_FALSE(fs.readAll(a, 4));  // larger than allowed
    EXPECT_EQ(fs.list(dir.path()).size(), 1u);  // no scratch files left

    EXPECT_TRUE(fs.copyFile(a, b, false));
    EXPECT_FALSE(fs.copyFile(a, b, false));
    fs.append(b, "x");
    EXPECT_TRUE(fs.renameFile(b, a));  // replaces
    EXPECT_EQ(fs.readAll(a), "first\r\nsecond\r\nx");
    EXPECT_FALSE(fs.lookup(b));

    SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(fs.deleteFile(a));
    EXPECT_FALSE(fs.deleteFile(a));

    EXPECT_TRUE(fs.createFolder(dir.path() + "\\F"));
    EXPECT_TRUE(fs.createFolder(dir.path() + "\\F"));
    dir.write("F\\G\\deep.txt", "deep");
    EXPECT_TRUE(fs.copyFolder(dir.path() + "\\F", dir.path() + "\\Copy"));
    EXPECT_EQ(fs.readAll(dir.path() + "\\Copy\\G\\deep.txt"), "deep");
    EXPECT_TRUE(fs.deleteFolder(dir.path() + "\\F"));
    EXPECT_FALSE(fs.folderExists(dir.path() + "\\F"));
    EXPECT_FALSE(fs.deleteFolder("C:\\"));
    EXPECT_TRUE(fs.folderExists("C:\\"));

    bool hasC = false;
    for (const auto& d : fs.drives()) hasC = hasC || d.root == "C:\\";
    EXPECT_TRUE(hasC);
}

TEST(Win32ShellFolders, BothLookupsAgreeAndTheFoldersExist) {
    Win32ShellFolders shell;
    Win32FileSystem fs;
    for (int csidl : {CSIDL_APPDATA, CSIDL_PROGRAM_FILES, CSIDL_SYSTEM, CSIDL_WINDOWS, CSIDL_PERSONAL}) {
        std::string path = shell.folderPath(csidl);
        ASSERT_FALSE(path.empty()) << csidl;
        EXPECT_NE(path.back(), '\\');
        EXPECT_EQ(text::toLower(shell.folderLocation(csidl)), text::toLower(path)) << csidl;
        EXPECT_TRUE(fs.folderExists(path)) << path;
    }
    EXPECT_EQ(shell.folderPath(0x7777), "");
    EXPECT_EQ(shell.folderLocation(0x7777), "");

    Win32SystemInfo info;
    EXPECT_EQ(info.version().family, PlatformFamily::WindowsNT);
    EXPECT_GE(info.version().major, 5);
    EXPECT_EQ(text::toLower(info.systemFolder()), text::toLower(shell.folderPath(CSIDL_SYSTEM)));
}

TEST(Win32Processes, APlantedProgramIsListedWithItsPathAndStopped) {
    WinTempDir dir;
    std::string exe = dir.path() + "\\Bad Ware\\badware.exe";
    test::makeFolders(dir.path() + "\\Bad Ware");
    ASSERT_TRUE(CopyFileA(test::besideTestProgram("vedozer_test_sleeper.exe").c_str(), exe.c_str(), FALSE));
    test::StartedProgram program(exe);
    Win32Processes processes;
    (void)processes.enableDebugPrivilege();  // refused without the right; listing must work either way

    auto ids = processes.processIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), program.pid()), ids.end());
    EXPECT_EQ(text::toLower(processes.mainModulePath(program.pid())), text::toLower(exe));
    EXPECT_EQ(text::toLower(processes.mainModuleBaseName(program.pid())), "badware.exe");
    auto modules = processes.modulePaths(program.pid());
    ASSERT_FALSE(modules.empty());
    EXPECT_EQ(text::toLower(modules[0]), text::toLower(exe));
    bool listed = false;
    for (const auto& e : processes.snapshot()) listed = listed || (e.pid == program.pid() && text::toLower(e.exeFile) == "badware.exe");
    EXPECT_TRUE(listed);

    EXPECT_TRUE(processes.terminate(program.pid(), 0));
    EXPECT_TRUE(program.waitEnded(5000));
    EXPECT_FALSE(processes.terminate(0x7FFFFFF0, 0));  // no such process
}

TEST(Win32SettingsStore, UserAndMachineSettingsLiveWhereTheClassicRuntimeKeptThem) {
    Win32SettingsStore store;
    Win32Registry reg;
    reg.deleteKeyTree(RootKey::CurrentUser, "Software\\VB and VBA Program Settings\\Vedozer Store Test");
    EXPECT_FALSE(store.getUser("Vedozer Store Test", "Options", "Key"));
    ASSERT_TRUE(store.saveUser("Vedozer Store Test", "Options", "Key", "Value 1"));
    EXPECT_EQ(store.getUser("Vedozer Store Test", "Options", "Key"), "Value 1");
    EXPECT_EQ(reg.queryValue(RootKey::CurrentUser, "Software\\VB and VBA Program Settings\\Vedozer Store Test\\Options",
                             "Key"),
              (RegistryValue{kRegSz, std::string("Value 1\0", 8)}));
    EXPECT_FALSE(store.saveUser("", "Options", "Key", "x"));

    const std::string machine = "SOFTWARE\\Vedozer Store Co\\Vedozer Store Test\\Main";
    reg.deleteKeyTree(RootKey::LocalMachine, "SOFTWARE\\Vedozer Store Co");
    EXPECT_EQ(store.getMachine("Vedozer Store Co", "Vedozer Store Test", "Main", "K").status, StoreStatus::NotFound);
    ASSERT_EQ(store.saveMachine("Vedozer Store Co", "Vedozer Store Test", "Main", "K", "v"), StoreStatus::Ok);
    StoreRead read = store.getMachine("Vedozer Store Co", "Vedozer Store Test", "Main", "K");
    EXPECT_EQ(read.status, StoreStatus::Ok);
    EXPECT_EQ(read.value, std::string("v\0", 2));  // as stored; the settings module trims
    reg.setValue(RootKey::LocalMachine, machine, "Num", {kRegDword, dword(1)});
    EXPECT_EQ(store.getMachine("Vedozer Store Co", "Vedozer Store Test", "Main", "Num").status,
              StoreStatus::NotAString);
    EXPECT_EQ(store.getMachine("Vedozer Store Co", "Vedozer Store Test", "Main", "Absent").status,
              StoreStatus::NotFound);
    reg.deleteKeyTree(RootKey::LocalMachine, "SOFTWARE\\Vedozer Store Co");
    reg.deleteKeyTree(RootKey::CurrentUser, "Software\\VB and VBA Program Settings\\Vedozer Store Test");
}

TEST(Win32Services, OneInstanceLockPerNameUntilReleased) {
    {
        Win32InstanceLock first, second;
        EXPECT_TRUE(first.acquire("Vedozer Lock Test"));
        EXPECT_TRUE(first.acquire("Vedozer Lock Test"));
        EXPECT_FALSE(second.acquire("Vedozer Lock Test"));
        EXPECT_TRUE(second.acquire("Vedozer Lock Test\\Other"));
        EXPECT_FALSE(second.acquire(""));
    }
    Win32InstanceLock again;
    EXPECT_TRUE(again.acquire("Vedozer Lock Test"));
}

TEST(Win32Services, SelfRegistrationEntryPointsAreCalled) {
    Win32ComServer com;
    Win32Registry reg;
    const std::string dll = test::besideTestProgram("vedozer_test_selfregister.dll");
    reg.deleteKeyTree(RootKey::CurrentUser, "Software\\VedozerTest\\SelfRegister");
    EXPECT_TRUE(com.registerServer(dll));
    EXPECT_EQ(reg.queryValue(RootKey::CurrentUser, "Software\\VedozerTest\\SelfRegister", "State")->data,
              std::string("registered\0", 11));
    EXPECT_TRUE(com.unregisterServer(dll));
    EXPECT_EQ(reg.queryValue(RootKey::CurrentUser, "Software\\VedozerTest\\SelfRegister", "State")->data,
              std::string("unregistered\0", 13));
    EXPECT_FALSE(com.registerServer(test::besideTestProgram("vedozer_test_sleeper.exe")));  // no entry point
    EXPECT_FALSE(com.registerServer("C:\\no\\such.dll"));
    reg.deleteKeyTree(RootKey::CurrentUser, "Software\\VedozerTest");
}

TEST(Win32Services, RestorePointsOnlyWhereTheSystemOffersThem) {
    Win32SystemRestore restore;
    HMODULE lib = LoadLibraryA("srclient.dll");
    bool offered = lib && GetProcAddress(lib, "SRSetRestorePointA");
    if (lib) FreeLibrary(lib);
    EXPECT_EQ(restore.isAvailable(), offered);
    if (!restore.isAvailable()) {
        int64_t sequence = -1;
        EXPECT_FALSE(restore.begin("x", 12, sequence));
        EXPECT_EQ(sequence, -1);
        EXPECT_FALSE(restore.end(0, false));
    }
    Win32Clock clock;
    uint64_t before = clock.millis();
    clock.sleepMillis(100);
    EXPECT_GE(clock.millis() - before, 80u);  // the tick count moves in steps of up to 16 ms
    EXPECT_GE(clock.now().year, 2024);
}

TEST(Win32Identity, TheProgramsNamesComeFromItsVersionResource) {
    auto identity = identityFromVersionResource(test::besideTestProgram("vedozer.exe"));
    ASSERT_TRUE(identity);
    ProductIdentity built = ProductIdentity::fromBuild();
    EXPECT_EQ(identity->programName, built.programName);
    EXPECT_EQ(identity->companyName, built.companyName);
    EXPECT_EQ(identity->website, built.website);
    EXPECT_FALSE(identityFromVersionResource());  // this test program carries none
    EXPECT_FALSE(identityFromVersionResource("C:\\no\\such.exe"));
}

}  // namespace
}  // namespace vedozer
