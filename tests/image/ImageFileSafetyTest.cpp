// The image file layer against what an image may hold in place of a file (a FIFO, a device node) and
// against folders swapped for links while the layer acts on them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/image/DosAttributes.h"
#include "platform/image/ImageFileSystem.h"
#include "platform/image/ImageRegistry.h"
#include "support/HiveBuilder.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

size_t filesIn(const fs::path& dir) {
    size_t n = 0;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec); it != fs::recursive_directory_iterator(); ++it)
        n++;
    return n;
}

// Open descriptors of this process.
size_t openDescriptors() { return filesIn("/proc/self/fd"); }

// A blocking read or a read without end fails the test instead of hanging the run.
struct HangGuard {
    HangGuard() { ::alarm(30); }
    ~HangGuard() { ::alarm(0); }
};

struct ImageSafety : ::testing::Test {
    test::TempDir dir;
    test::TempDir outside;
    std::string drive = dir.str() + "/C";
    std::unique_ptr<ImageFileSystem> files;
    void SetUp() override {
        dir.write("C/Windows/System32/kernel32.dll", "MZ");
        files = std::make_unique<ImageFileSystem>(std::map<char, std::string>{{'C', drive}});
    }
};

TEST_F(ImageSafety, AFifoNamedLikeAFileIsNeitherWaitedOnNorWrittenTo) {
    const std::string fifo = drive + "/Windows/System32/spy.dll";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    HangGuard guard;
    auto info = files->lookup("C:\\Windows\\System32\\SPY.DLL");
    ASSERT_TRUE(info);  // it is there, as Windows would list it
    EXPECT_FALSE(info->isDirectory());
    EXPECT_FALSE(files->openRead("C:\\Windows\\System32\\spy.dll"));
    EXPECT_FALSE(files->readAll("C:\\Windows\\System32\\spy.dll", SIZE_MAX));
    EXPECT_FALSE(files->copyFile("C:\\Windows\\System32\\spy.dll", "C:\\Windows\\copy.dll", true));
    EXPECT_FALSE(files->append("C:\\Windows\\System32\\spy.dll", "x"));
    EXPECT_FALSE(files->openWrite("C:\\Windows\\System32\\spy.dll", false));
    EXPECT_FALSE(
        files->copyFile("C:\\Windows\\System32\\kernel32.dll", "C:\\Windows\\System32\\spy.dll", true));
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(fs::exists(drive + "/Windows/copy.dll"));
}

TEST_F(ImageSafety, ADeviceNodeIsNeverReadFrom) {
    const std::string node = drive + "/Windows/System32/zero.dll";
    if (::mknod(node.c_str(), S_IFCHR | 0644, ::makedev(1, 5)) != 0)
        GTEST_SKIP() << "cannot make a device node here";
    HangGuard guard;
    EXPECT_FALSE(files->openRead("C:\\Windows\\System32\\zero.dll"));
    EXPECT_FALSE(files->readAll("C:\\Windows\\System32\\zero.dll", SIZE_MAX));
    EXPECT_FALSE(files->copyFile("C:\\Windows\\System32\\zero.dll", "C:\\Windows\\zero.bin", true));
}

// One folder of the image and a link out of it trade names as fast as the attacker can, while the
// layer removes, empties, copies into or writes into the folder. Whatever the interleaving, the host
// files the link points to stay as they are and nothing appears beside them.
TEST_F(ImageSafety, AFolderSwappedForALinkNeverLeadsOutOfTheImage) {
    constexpr int kHostFiles = 20;
    for (int i = 0; i < kHostFiles; ++i) outside.write("host" + std::to_string(i) + ".txt", "host file");
    const fs::path victim = fs::path(drive) / "Victim", link = fs::path(drive) / "Shadow";
    fs::create_symlink(outside.path(), link);

    long swaps = 0;
    auto attempt = [&](const char* what, auto act) {
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE(std::string(what) + " round " + std::to_string(round));
            // Back to the start: the folder under its name, the link beside it.
            if (fs::is_symlink(victim))
                ::renameat2(AT_FDCWD, victim.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
            fs::remove_all(victim);
            for (int i = 0; i < kHostFiles; ++i)
                dir.write("C/Victim/host" + std::to_string(i) + ".txt", "image file");
            files->refresh();
            std::atomic<bool> stop{false};
            std::atomic<long> done{0};
            std::thread attacker([&] {
                while (!stop.load(std::memory_order_relaxed)) {
                    if (::renameat2(AT_FDCWD, victim.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE) == 0)
                        ++done;
                }
            });
            // Let the attacker get going before the layer acts.
            while (done.load() < 2) std::this_thread::yield();
            act();
            stop = true;
            attacker.join();
            swaps += done.load();
            ASSERT_EQ(filesIn(outside.path()), static_cast<size_t>(kHostFiles));
            for (int i = 0; i < kHostFiles; ++i)
                ASSERT_EQ(test::readHostFile(outside.path() / ("host" + std::to_string(i) + ".txt")),
                          "host file");
        }
    };
    attempt("delete folder", [&] { files->deleteFolder("C:\\Victim"); });
    attempt("delete files", [&] {
        for (int i = 0; i < kHostFiles; ++i)
            files->deleteFile("C:\\Victim\\host" + std::to_string(i) + ".txt");
    });
    attempt("copy into", [&] {
        for (int i = 0; i < kHostFiles; ++i)
            files->copyFile("C:\\Windows\\System32\\kernel32.dll",
                            "C:\\Victim\\host" + std::to_string(i) + ".txt", true);
    });
    attempt("write into", [&] {
        for (int i = 0; i < kHostFiles; ++i) {
            if (auto out = files->openWrite("C:\\Victim\\host" + std::to_string(i) + ".txt", i % 2 == 0)) {
                out->write(std::string("overwritten"));
                out->close();
            }
            files->append("C:\\Victim\\extra" + std::to_string(i) + ".txt", "appended");
        }
    });
    EXPECT_GT(swaps, 0);
}

// The hive's folder swapped for a link to a host folder holding a file of the same name, after the
// registry was opened: a change to the hive goes to the image's hive, never to the host's file.
TEST_F(ImageSafety, AHiveFolderSwappedForALinkIsNotFollowedByWrites) {
    const fs::path config = fs::path(drive) / "Windows/System32/config";
    fs::create_directories(config);
    test::buildHive((config / "SOFTWARE").string(), {test::hiveSz("Vendor", "Old", "1")});
    fs::copy_file(config / "SOFTWARE", outside.path() / "SOFTWARE");
    const std::string hostBefore = test::readHostFile(outside.path() / "SOFTWARE");
    ImageRegistry::Config settings;
    settings.hives.software = (config / "SOFTWARE").string();
    ImageRegistry reg(settings);
    ASSERT_EQ(reg.openKey(RootKey::LocalMachine, "SOFTWARE\\Vendor", kKeyReadWriteMask), RegStatus::Ok);

    fs::rename(config, config.string() + ".moved");
    fs::create_symlink(outside.path(), config);
    reg.closeHives();
    EXPECT_EQ(reg.setValue(RootKey::LocalMachine, "SOFTWARE\\Vendor", "New",
                           RegistryValue{kRegSz, std::string("2\0", 2)}),
              RegStatus::Ok)
        << reg.lastError();
    EXPECT_EQ(reg.deleteValue(RootKey::LocalMachine, "SOFTWARE\\Vendor", "Old"), RegStatus::Ok)
        << reg.lastError();
    EXPECT_EQ(test::readHostFile(outside.path() / "SOFTWARE"), hostBefore);
    EXPECT_EQ(filesIn(outside.path()), 1u);
    // The change is in the image's hive, which moved with its folder.
    ImageRegistry::Config moved;
    moved.hives.software = config.string() + ".moved/SOFTWARE";
    ImageRegistry check(moved);
    EXPECT_TRUE(check.queryValue(RootKey::LocalMachine, "SOFTWARE\\Vendor", "New"));
    EXPECT_FALSE(check.queryValue(RootKey::LocalMachine, "SOFTWARE\\Vendor", "Old"));
}

TEST_F(ImageSafety, OpenFolderDescriptorsStayBounded) {
    for (int i = 0; i < 120; ++i) dir.write("C/Apps/App " + std::to_string(i) + "/bin/app.exe", "MZ");
    files = std::make_unique<ImageFileSystem>(std::map<char, std::string>{{'C', drive}}, 8);
    const size_t before = openDescriptors();
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 120; ++i) {
            const std::string app = "C:\\apps\\APP " + std::to_string(i) + "\\Bin\\app.exe";
            ASSERT_TRUE(files->lookup(app)) << app;
            ASSERT_EQ(files->readAll(app, SIZE_MAX), "MZ");
            EXPECT_FALSE(files->lookup("C:\\Apps\\App " + std::to_string(i) + "\\bin\\missing.exe"));
        }
    }
    files->lookup("C:\\Windows");  // closes what is over the limit between operations
    EXPECT_LE(openDescriptors(), before + 8 + 1);
}

TEST_F(ImageSafety, ChangesByOthersAreSeenAfterARefreshOwnChangesAtOnce) {
    ASSERT_FALSE(files->lookup("C:\\Windows\\new.ini"));
    dir.write("C/Windows/new.ini", "x");
    files->refresh();
    EXPECT_TRUE(files->lookup("C:\\WINDOWS\\NEW.INI"));
    ASSERT_TRUE(files->append("C:\\Windows\\own.ini", "y"));
    EXPECT_TRUE(files->lookup("c:\\windows\\OWN.ini"));
    ASSERT_TRUE(files->deleteFile("C:\\Windows\\OWN.INI"));
    EXPECT_FALSE(files->lookup("c:\\windows\\own.ini"));
    ASSERT_TRUE(files->createFolder("C:\\Windows\\Fresh"));
    ASSERT_TRUE(files->copyFile("C:\\Windows\\new.ini", "C:\\Windows\\Fresh\\copy.ini", false));
    EXPECT_EQ(files->readAll("C:\\windows\\fresh\\COPY.ini", SIZE_MAX), "x");
    ASSERT_TRUE(files->renameFile("C:\\Windows\\Fresh", "C:\\Windows\\Moved"));
    EXPECT_FALSE(files->folderExists("C:\\Windows\\Fresh"));
    EXPECT_EQ(files->readAll("C:\\Windows\\Moved\\copy.ini", SIZE_MAX), "x");
}

// A file that could not be deleted is still there for the next look-up (the layer does not assume).
TEST_F(ImageSafety, AFileThatCouldNotBeDeletedIsStillFound) {
    dir.write("C/Locked/keep.dll", "x");
    dir.write("C/Locked/Sub/inner.dll", "y");
    const std::string locked = drive + "/Locked";
    ASSERT_TRUE(files->lookup("C:\\Locked\\keep.dll"));
    if (std::system(("chattr +i '" + locked + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no chattr here";
    EXPECT_FALSE(files->deleteFile("C:\\Locked\\KEEP.dll"));
    EXPECT_FALSE(files->deleteFolder("C:\\Locked"));
    EXPECT_TRUE(files->lookup("C:\\Locked\\keep.dll"));
    EXPECT_TRUE(files->folderExists("C:\\Locked\\sub"));
    std::system(("chattr -i '" + locked + "'").c_str());
    EXPECT_TRUE(files->deleteFolder("C:\\Locked"));
    EXPECT_FALSE(files->lookup("C:\\Locked\\keep.dll"));
}

// Attribute names a mount does not know are asked once, on the first entry of that mount.
TEST_F(ImageSafety, AttributeNamesAreProbedOncePerMount) {
    for (int i = 0; i < 10; ++i) dir.write("C/Probe/f" + std::to_string(i), "x");
    posix::DosAttributeReader reader;
    const int folder = ::open((drive + "/Probe").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    struct stat st {};
    ASSERT_EQ(::fstat(folder, &st), 0);
    reader.read(folder, "f0", st.st_dev);
    const long first = reader.calls();
    EXPECT_LE(first, 3);
    for (int i = 1; i < 10; ++i) reader.read(folder, "f" + std::to_string(i), st.st_dev);
    EXPECT_EQ(reader.calls() - first, 9 * reader.namesAsked(st.st_dev));
    ::close(folder);
    std::printf("attribute names this mount knows: %d of 3\n", reader.namesAsked(st.st_dev));
}

}  // namespace
}  // namespace vedozer
