// Definition lines: the line codec and every record parser, on lines as a file holds them.
#include "FuzzSupport.h"
#include "definitions/DefinitionRecords.h"
#include "definitions/LineCodec.h"
#include "definitions/LineReader.h"

using namespace vedozer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input = fuzz::text(data, size);
    LocationExpander expander{"C:\\", [](std::string_view s) {
                                  std::string out(s);
                                  size_t at = out.find("[windir]");
                                  if (at != std::string::npos) out.replace(at, 8, "C:\\WINDOWS");
                                  return out;
                              }};
    fuzz::BytesStream stream(input, 1 + size % 7);
    LineReader reader(stream, 4096);
    std::string encoded, type;
    while (reader.next(encoded)) {
        const std::string line = DecodeDefinitionLine(encoded);
        // The shift wraps by 255, so the bytes 0 and 255 both decode to 191; all others round-trip.
        if (encoded.find('\0') == std::string::npos && EncodeDefinitionLine(line) != encoded)
            fuzz::fail("the line codec does not round-trip");
        (void)parseRegistryDefinition(line, expander);
        (void)parseFileDefinition(line, expander);
        (void)parseDirectoryDefinition(line, expander);
        (void)parseExeDefinition(line, expander);
        type = parseSafetyLine(line, type, expander).type;
        (void)rootKeyFromNumber(line.substr(0, line.find('^')));
        (void)hiveNameFromNumber(line.substr(0, line.find('^')));
    }
    return 0;
}
