// Company names: the PE headers and resource directory reader and the version resource search,
// on files taken whole from the input (read in steps of any size).
#include "FuzzSupport.h"
#include "scan/FileCompanyName.h"
#include "scan/PeVersionResource.h"

using namespace vedozer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view file = fuzz::text(data, size);
    fuzz::BytesStream whole(file, 1 + size % 4099);
    std::string company = GetFileCompanyName(whole);
    if (company.size() > kMaxCompanyNameLength) fuzz::fail("a company name longer than the cap");
    uint64_t reads = 0;
    PeVersionResource version = readPeVersionResource([&](uint64_t offset, size_t n, std::string& out) {
        if (++reads > 64) fuzz::fail("the PE reader does not stop");
        if (n > (1u << 20)) fuzz::fail("the PE reader asks for more than a MiB at once");
        out = offset < file.size() ? std::string(file.substr(offset, n)) : std::string();
        return true;
    });
    if (version.bytes.size() > kMaxVersionResourceBytes) fuzz::fail("a version resource longer than the cap");
    (void)companyNameInBytes(file);
    return 0;
}
