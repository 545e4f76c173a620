// Server dates: the normaliser and the date reader; a date read back from its written form
// must be the same date.
#include "FuzzSupport.h"
#include "update/ServerDate.h"

using namespace vedozer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::text(data, size);
    for (const std::string& candidate : {std::string(input), NormaliseServerDate(input)}) {
        auto date = ParseGeneralDate(candidate);
        if (!date) continue;
        auto again = ParseGeneralDate(FormatGeneralDate(*date));
        if (!again || *again != *date) fuzz::fail("a date does not survive being written and read");
    }
    return 0;
}
