// The settings INI files: reading, writing a value back, and writing what was read: a file
// written once must read back to the same values and be written again unchanged.
#include "FuzzSupport.h"
#include "platform/image/IniSettingsStore.h"

using namespace vedozer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::text(data, size);
    IniDocument doc = IniDocument::parse(input);
    const std::string once = doc.serialize();
    IniDocument reread = IniDocument::parse(once);
    if (reread.serialize() != once) fuzz::fail("a written file is not written again unchanged");
    // A value set under a section and key from the input reads back as set.
    auto parts = fuzz::lines(input);
    std::string section(parts.size() > 0 ? parts[0] : ""), key(parts.size() > 1 ? parts[1] : "k");
    std::string value(parts.size() > 2 ? parts[2] : "v");
    if (key.empty()) return 0;
    doc.set(section, key, value);
    IniDocument back = IniDocument::parse(doc.serialize());
    auto got = back.get(section, key);
    if (!got || *got != value) fuzz::fail("a value set does not read back");
    return 0;
}
