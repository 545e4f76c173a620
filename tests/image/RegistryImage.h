#pragma once
// A set of small hives in a temporary folder, laid out like an offline image's registry.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/image/ImageRegistry.h"
#include "support/HiveBuilder.h"
#include "support/TempDir.h"

namespace vedozer::test {

constexpr char kTestSid[] = "S-1-5-21-11-22-33-1004";

struct RegistryImage : ::testing::Test {
    TempDir dir;
    ImageRegistry::Config config;
    std::unique_ptr<ImageRegistry> reg;

    std::string hive(const std::string& name) const { return dir.str() + "/" + name; }

    void SetUp() override {
        buildHive(hive("SOFTWARE"),
                  {hiveSz("Microsoft\\Windows\\CurrentVersion\\Run", "Bad", "c:\\bad\\bad.exe"),
                   hiveSz("Microsoft\\Windows\\CurrentVersion\\Run", "Good", "c:\\good.exe"),
                   hiveSz("Classes\\.txt", "", "txtfile"),
                   hiveSz("Classes\\CLSID\\{M}", "", "Machine"),
                   hiveSz("Classes\\Shared", "", "machine"),
                   hiveSz("Classes\\Shared", "OnlyMachine", "m"),
                   hiveKey("Classes\\Shared\\MachineSub"),
                   hiveKey("Gr\xF6\xDF" "e\\Caf\xE9")},
                  "CMI-CreateHive{SOFTWARE}");
        buildHive(hive("SYSTEM"),
                  {hiveDword("Select", "Current", 2),
                   hiveDword("Select", "Default", 2),
                   hiveKey("ControlSet001\\Services\\Old"),
                   hiveKey("ControlSet002\\Services\\Cur"),
                   hiveSz("ControlSet002\\Hardware Profiles\\Current\\Software\\Cfg", "Name", "current"),
                   hiveSz("ControlSet001\\Hardware Profiles\\Current\\Software\\Cfg", "Name", "stale")},
                  "CMI-CreateHive{SYSTEM}");
        buildHive(hive("SAM"), {hiveKey("SAM\\Domains")});
        buildHive(hive("SECURITY"), {hiveKey("Policy")});
        buildHive(hive("NTUSER.DAT"),
                  {hiveSz("Software\\Microsoft\\Internet Explorer\\Main", "Start Page", "http://home.example/"),
                   hiveKey("Console")});
        buildHive(hive("UsrClass.dat"),
                  {hiveSz("CLSID\\{U}", "", "User"),
                   hiveSz("Shared", "", "user"),
                   hiveKey("Shared\\UserSub"),
                   hiveKey("UserOnly\\Deep")});
        buildHive(hive("DEFAULT"), {hiveKey("Software\\DefaultOnly")});
        config.hives = {hive("SOFTWARE"), hive("SYSTEM"),       hive("SAM"),    hive("SECURITY"),
                        hive("NTUSER.DAT"), hive("UsrClass.dat"), hive("DEFAULT")};
        config.userSid = kTestSid;
        reopen();
    }

    // A fresh registry object on the same files: nothing cached.
    void reopen() { reg = std::make_unique<ImageRegistry>(config); }

    std::string sz(RootKey root, const std::string& path, const std::string& name) {
        auto v = reg->queryValue(root, path, name);
        if (!v) return "<none>";
        if (v->type != kRegSz) return "<type " + std::to_string(v->type) + ">";
        return v->data.substr(0, v->data.find('\0'));
    }
};

}  // namespace vedozer::test
