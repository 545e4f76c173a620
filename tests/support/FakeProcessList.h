#pragma once
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace vedozer::test {

// A process list given by the test; nothing can be ended.
class FakeProcessList : public Processes {
public:
    std::vector<ProcessEntry> entries;

    explicit FakeProcessList(std::vector<std::string> exeFiles = {}) {
        uint32_t pid = 4;
        for (auto& e : exeFiles) entries.push_back({pid += 4, std::move(e)});
    }
    std::vector<uint32_t> processIds() override {
        std::vector<uint32_t> ids;
        for (const auto& e : entries) ids.push_back(e.pid);
        return ids;
    }
    std::vector<std::string> modulePaths(uint32_t pid) override { return {mainModulePath(pid)}; }
    std::string mainModulePath(uint32_t pid) override {
        for (const auto& e : entries)
            if (e.pid == pid) return e.exeFile;
        return {};
    }
    std::string mainModuleBaseName(uint32_t pid) override {
        std::string path = mainModulePath(pid);
        return path.substr(path.find_last_of("\\/") + 1);
    }
    std::vector<ProcessEntry> snapshot() override { return entries; }
    bool terminate(uint32_t, uint32_t) override { return false; }
    bool enableDebugPrivilege() override { return false; }
};

}  // namespace vedozer::test
