#pragma once
// Running the real vedozer program in tests: its output, exit code, and a demo image to run it on.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/TempDir.h"

namespace vedozer {

namespace fs = std::filesystem;

struct CliRun {
    int code = -1;
    std::string out, err;
};

inline std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline CliRun run(const std::string& args, const std::string& input = "") {
    test::TempDir io;
    std::string in = io.write("in", input).string();
    std::string cmd = quote(std::string(VEDOZER_BINARY_DIR) + "/vedozer") + " " + args + " <" + quote(in) + " >" +
                      quote(io.str() + "/out") + " 2>" + quote(io.str() + "/err");
    int status = std::system(cmd.c_str());
    CliRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = test::readHostFile(io.path() / "out");
    r.err = test::readHostFile(io.path() / "err");
    return r;
}

inline std::string hivexget(const fs::path& hive, const std::string& key, const std::string& value) {
    std::string cmd = "hivexget " + quote(hive.string()) + " " + quote(key) + " " + quote(value) + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return "";
    std::string out;
    char buf[256];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
    return out;
}

struct Demo : ::testing::Test {
    test::TempDir dir;
    fs::path root;
    std::string globals;
    void SetUp() override {
        root = dir.path() / "demo";
        CliRun built = run("demo --build-only " + quote(root.string()));
        ASSERT_EQ(built.code, 0) << built.err;
        globals = "--target " + quote((root / "image/C").string()) + " --data-dir " + quote((root / "data").string()) +
                  " --config-dir " + quote((root / "config").string());
    }
    fs::path c() const { return root / "image/C"; }
};


}  // namespace vedozer
