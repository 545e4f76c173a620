// The quarantine index: every entry read from a file is written and read back the same, and a
// stored name never leaves the quarantine folder.
#include "FuzzSupport.h"
#include "removal/QuarantineIndex.h"

using namespace vedozer;
namespace qi = quarantine_index;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::text(data, size);
    for (const QuarantineEntry& e : qi::parse(input)) {
        if (!qi::isPlainName(e.storedName)) fuzz::fail("an entry whose stored name leaves the folder");
        auto back = qi::parse(qi::formatEntry(e));
        if (back.size() != 1 || back[0].id != e.id || back[0].kind != e.kind || back[0].time != e.time ||
            back[0].storedName != e.storedName || back[0].location != e.location ||
            back[0].valueName != e.valueName || back[0].spywareName != e.spywareName)
            fuzz::fail("an entry does not survive being written and read");
    }
    auto field = qi::unescapeField(qi::escapeField(input));
    if (!field || *field != input) fuzz::fail("a field does not survive escaping");
    return 0;
}
