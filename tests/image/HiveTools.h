#pragma once
// Runs the hivex command-line tools on hive files: an independent reader for what the
// registry code wrote.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace vedozer::test {

struct ToolResult {
    int status = -1;
    std::string out;
};

inline std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

inline ToolResult runCommand(const std::string& command) {
    ToolResult result;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline bool haveTool(const std::string& name) {
    return runCommand("command -v " + shellQuote(name)).status == 0;
}

// hivexget HIVE PATH [NAME]
inline ToolResult hivexget(const std::string& hive, const std::string& path, const std::string& name = "") {
    std::string command = "hivexget " + shellQuote(hive) + " " + shellQuote(path);
    if (!name.empty()) command += " " + shellQuote(name);
    return runCommand(command);
}

// Feeds commands to hivexsh on standard input.
inline ToolResult hivexsh(const std::string& hive, const std::string& script) {
    return runCommand("printf '%s' " + shellQuote(script) + " | hivexsh " + shellQuote(hive));
}

}  // namespace vedozer::test

#define REQUIRE_HIVEX_TOOL(name) \
    if (!::vedozer::test::haveTool(name)) GTEST_SKIP() << name << " is not installed"
