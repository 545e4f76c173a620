#include <gtest/gtest.h>

#include "support/MemoryFileSystem.h"

// The in-memory file system double that the engine's unit tests rely on.
namespace vedozer {
namespace {

using test::MemoryFileSystem;

std::string readStream(InputStream& in) {
    std::string out;
    char buf[5];
    long long n;
    while ((n = in.read(buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
    return out;
}

TEST(MemoryFileSystemTest, PathsIgnoreCaseAndSeparatorStyle) {
    MemoryFileSystem fs;
    fs.addFile("C:\\Program Files\\Vendor\\App.EXE", "data");
    auto info = fs.lookup("c:/PROGRAM FILES//vendor\\app.exe");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, "App.EXE");
    EXPECT_EQ(info->size, 4u);
    EXPECT_TRUE(fs.folderExists("C:\\program files"));
    EXPECT_TRUE(fs.folderExists("C:\\"));
    EXPECT_FALSE(fs.lookup("C:\\"));
    EXPECT_FALSE(fs.folderExists("C:\\Program Files\\Vendor\\App.exe"));
    auto entries = fs.list("C:\\Program Files");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].isDirectory());
    EXPECT_EQ(entries[0].name, "Vendor");
}

TEST(MemoryFileSystemTest, AttributesAndStreams) {
    MemoryFileSystem fs;
    fs.addFile("C:\\h.txt", "hidden", kAttrHidden | kAttrSystem);
    EXPECT_TRUE(fs.lookup("C:\\h.txt")->isHidden());
    EXPECT_TRUE(fs.lookup("C:\\h.txt")->isSystem());
    fs.setReadChunk(2);
    auto in = fs.openRead("C:\\H.TXT");
    ASSERT_TRUE(in);
    char buf[10];
    EXPECT_EQ(in->read(buf, 10), 2);
    EXPECT_EQ(readStream(*in), "dden");
    fs.failReadsAfter("C:\\h.txt", 3);
    auto failing = fs.openRead("C:\\h.txt");
    EXPECT_EQ(failing->read(buf, 10), 2);
    EXPECT_EQ(failing->read(buf, 10), 1);
    EXPECT_EQ(failing->read(buf, 10), -1);
    EXPECT_FALSE(fs.readAll("C:\\h.txt"));
    EXPECT_FALSE(fs.openRead("C:\\missing"));
    EXPECT_FALSE(fs.openRead("C:\\"));
}

TEST(MemoryFileSystemTest, WritesNeedTheParentFolder) {
    MemoryFileSystem fs;
    fs.addFolder("C:\\Data");
    EXPECT_FALSE(fs.openWrite("C:\\Nowhere\\x.txt"));
    EXPECT_FALSE(fs.append("C:\\Nowhere\\x.txt", "x"));
    EXPECT_TRUE(fs.append("C:\\Data\\x.txt", "a"));
    EXPECT_TRUE(fs.append("c:\\data\\X.TXT", "b"));
    EXPECT_EQ(fs.content("C:\\Data\\x.txt"), "ab");
    EXPECT_FALSE(fs.createFolder("C:\\A\\B"));
    EXPECT_TRUE(fs.createFolder("C:\\A"));
    EXPECT_TRUE(fs.createFolder("C:\\A"));
}

TEST(MemoryFileSystemTest, AtomicWritesAppearOnlyOnClose) {
    MemoryFileSystem fs;
    fs.addFile("C:\\Data\\f.txt", "old");
    {
        auto out = fs.openWrite("C:\\Data\\f.txt", true);
        ASSERT_TRUE(out);
        out->write("new");
        EXPECT_EQ(fs.content("C:\\Data\\f.txt"), "old");
    }  // dropped without close: discarded
    EXPECT_EQ(fs.content("C:\\Data\\f.txt"), "old");
    auto out = fs.openWrite("C:\\Data\\f.txt", true);
    out->write("new");
    EXPECT_TRUE(out->close());
    EXPECT_EQ(fs.content("C:\\Data\\f.txt"), "new");
    auto plain = fs.openWrite("C:\\Data\\f.txt", false);
    EXPECT_EQ(fs.content("C:\\Data\\f.txt"), "");
    plain->write("x");
    EXPECT_EQ(fs.content("C:\\Data\\f.txt"), "x");
}

TEST(MemoryFileSystemTest, DeleteRenameCopyAndLocks) {
    MemoryFileSystem fs;
    fs.addFile("C:\\D\\a.txt", "A");
    fs.addFile("C:\\D\\b.txt", "B");
    fs.addFile("C:\\D\\ro.txt", "R", kAttrReadOnly);
    EXPECT_FALSE(fs.deleteFile("C:\\D\\ro.txt"));
    EXPECT_FALSE(fs.deleteFile("C:\\D"));
    EXPECT_TRUE(fs.renameFile("C:\\D\\a.txt", "C:\\D\\b.txt"));  // replaces
    EXPECT_EQ(fs.content("C:\\D\\b.txt"), "A");
    EXPECT_FALSE(fs.exists("C:\\D\\a.txt"));
    EXPECT_TRUE(fs.copyFile("C:\\D\\b.txt", "C:\\D\\c.txt", false));
    EXPECT_FALSE(fs.copyFile("C:\\D\\b.txt", "C:\\D\\c.txt", false));
    fs.lock("C:\\D\\c.txt");
    EXPECT_FALSE(fs.deleteFile("C:\\D\\c.txt"));
    EXPECT_FALSE(fs.openRead("C:\\D\\c.txt"));
    EXPECT_FALSE(fs.deleteFolder("C:\\D"));
    EXPECT_TRUE(fs.exists("C:\\D\\b.txt"));
    fs.unlock("C:\\D\\c.txt");
    fs.addFolder("C:\\E");
    EXPECT_TRUE(fs.copyFolder("C:\\D", "C:\\E\\D2"));
    EXPECT_EQ(fs.content("C:\\E\\D2\\c.txt"), "A");
    EXPECT_TRUE(fs.deleteFolder("C:\\D"));
    EXPECT_FALSE(fs.exists("C:\\D\\b.txt"));
    EXPECT_TRUE(fs.exists("C:\\E\\D2\\ro.txt"));
    fs.addDrive("D:", 5, false);
    ASSERT_EQ(fs.drives().size(), 1u);
    EXPECT_EQ(fs.drives()[0].root, "D:\\");
}

}  // namespace
}  // namespace vedozer
