// The command line's language end to end: the real binary with the language file beside it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/DefServerProcess.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

struct Ran {
    int code = -1;
    std::string out, err;
};

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string shippedFile() { return test::readHostFile(fs::path(VEDOZER_SOURCE_DIR) / "data/Localization.txt"); }

// A data and a settings folder of their own; the program's folder is the build tree's unless a
// test copies the binary elsewhere.
struct LanguageCli : ::testing::Test {
    test::TempDir dir;
    std::string binary = std::string(VEDOZER_BINARY_DIR) + "/vedozer";

    // Runs with this environment's locale variables replaced by `locale` (e.g. "LANG=de_DE.UTF-8").
    Ran run(const std::string& locale, const std::string& args) {
        std::string cmd = "env -u LC_ALL -u LC_MESSAGES -u LANG " + locale + " " + quote(binary) + " --data-dir " +
                          quote((dir.path() / "data").string()) + " --config-dir " +
                          quote((dir.path() / "config").string()) + " " + args + " </dev/null >" +
                          quote(dir.str() + "/out") + " 2>" + quote(dir.str() + "/err");
        int status = std::system(cmd.c_str());
        Ran r;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = test::readHostFile(dir.path() / "out");
        r.err = test::readHostFile(dir.path() / "err");
        return r;
    }
    // The binary copied into a folder of its own, with `localization` beside it.
    fs::path ownProgramFolder(const std::string& localization) {
        fs::path folder = dir.path() / "program";
        fs::create_directories(folder);
        fs::copy_file(binary, folder / "vedozer", fs::copy_options::overwrite_existing);
        binary = (folder / "vedozer").string();
        dir.write("program/Localization.txt", localization);
        return folder;
    }
};

const char kGermanMissing[] = "Definitions date:     Dateien fehlen, bitte Live Update ausf\xC3\xBChren";
const char kEnglishMissing[] = "Definitions date:     Files Missing, Run Live Update";

TEST_F(LanguageCli, LangWinsOverTheSavedLanguageWhenTheFileHasItsLanguage) {
    EXPECT_NE(run("", "info").out.find(kEnglishMissing), std::string::npos);
    EXPECT_NE(run("LANG=de_DE.UTF-8", "info").out.find(kGermanMissing), std::string::npos);
    EXPECT_NE(run("LANG=C LC_MESSAGES=de_AT.UTF-8", "info").out.find(kGermanMissing), std::string::npos);
    EXPECT_NE(run("LANG=de_DE.UTF-8 LC_ALL=en_US.UTF-8", "info").out.find(kEnglishMissing), std::string::npos);

    Ran set = run("LANG=C", "language set deutsch");
    ASSERT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(set.out, "Language: Deutsch\n");
    EXPECT_EQ(run("", "settings get Settings Language").out, "Deutsch\n");
    // LANG names no language of the file (or none at all): the saved one.
    EXPECT_NE(run("LANG=C", "info").out.find(kGermanMissing), std::string::npos);
    // LANG names English: English, though German is saved.
    EXPECT_NE(run("LANG=en_GB.UTF-8", "info").out.find(kEnglishMissing), std::string::npos);
    // --language beats both.
    EXPECT_NE(run("LANG=de_DE.UTF-8", "--language English info").out.find(kEnglishMissing), std::string::npos);

    Ran list = run("LANG=en_US.UTF-8", "language list");
    EXPECT_EQ(list.out, "* English\n  Deutsch  (saved)\n");
    Ran unknown = run("", "language set Klingon");
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("there is no language \"Klingon\"; the languages are: English, Deutsch"),
              std::string::npos)
        << unknown.err;
}

TEST_F(LanguageCli, CheckListsWhatALanguageLacksAndMakeFileWritesTheEnglishOne) {
    Ran shipped = run("", "language check");
    EXPECT_EQ(shipped.code, 0) << shipped.out << shipped.err;
    EXPECT_EQ(shipped.out, "English (en): complete\nDeutsch (de): complete\n");

    std::string lacking = shippedFile();
    const size_t stop = lacking.find("\t\t<MSG_STOP>", lacking.find("<LANGUAGE_NAME>Deutsch"));
    lacking.erase(stop, lacking.find("\r\n", stop) + 2 - stop);
    const std::string file = dir.write("lacking.txt", lacking).string();
    Ran check = run("", "language check " + quote(file));
    EXPECT_EQ(check.code, 1);
    EXPECT_NE(check.out.find("Deutsch (de): usable, 1 texts missing\n  missing: MSG_STOP\n"), std::string::npos);
    EXPECT_EQ(run("", "language missing Deutsch " + quote(file)).out,
              "MSG_STOP\tAre you sure you want to stop the scan?\n");

    const std::string made = (dir.path() / "made.txt").string();
    ASSERT_EQ(run("", "language make-file " + quote(made)).code, 0);
    const std::string english = test::readHostFile(made);
    EXPECT_EQ(shippedFile().rfind(english.substr(0, english.rfind("</XML_DIZ_INFO>")), 0), 0u)
        << "the shipped file begins with the generated English group";
    EXPECT_NE(run("", "language make-file " + quote(made)).err.find("exists; --force replaces it"), std::string::npos);
}

TEST_F(LanguageCli, ABadFileBesideTheProgramIsToldAndADownloadMendsIt) {
    std::string bad = shippedFile();
    bad.replace(bad.find("<LANGUAGE_NAME>Deutsch"), 0, "\t\t<MSG_STOP>\xE4</MSG_STOP>\r\n");  // Latin-1, not UTF-8
    const fs::path program = ownProgramFolder(bad);
    Ran shown = run("LANG=de_DE.UTF-8", "info");
    EXPECT_EQ(shown.code, 0);
    EXPECT_NE(shown.out.find(kEnglishMissing), std::string::npos);
    EXPECT_NE(shown.err.find("vedozer: warning: The language file cannot be used, so Vedozer Anti-Spyware shows its "
                             "built-in English texts. " +
                             (program / "Localization.txt").string() + ": line "),
              std::string::npos)
        << shown.err;
    EXPECT_NE(shown.err.find("the file is not UTF-8 (byte 0xE4"), std::string::npos) << shown.err;

    test::TempDir repo;
    fs::create_directories(repo.path() / "changes");
    repo.write("Languages/21/Localization.txt", shippedFile());
    test::DefServerProcess server(std::string(VEDOZER_BINARY_DIR) + "/vedozer-defserver", repo.str());
    ASSERT_TRUE(server.running());
    Ran update = run("LANG=de_DE.UTF-8", "language update --server " + server.url());
    EXPECT_EQ(update.code, 0) << update.err;
    EXPECT_EQ(update.out, "The newest language file has been downloaded.\n");
    EXPECT_EQ(test::readHostFile(program / "Localization.txt"), shippedFile());
    EXPECT_NE(run("LANG=de_DE.UTF-8", "info").out.find(kGermanMissing), std::string::npos);
}

}  // namespace
}  // namespace vedozer
