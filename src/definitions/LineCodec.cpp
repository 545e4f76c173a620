#include "definitions/LineCodec.h"

namespace vedozer {

std::string EncodeDefinitionLine(std::string_view line) {
    std::string out(line);
    for (char& ch : out) {
        int c = static_cast<unsigned char>(ch);
        c = (c + kScrambleOffset <= 255) ? c + kScrambleOffset : c + kScrambleOffset - 255;
        ch = static_cast<char>(c);
    }
    return out;
}

std::string DecodeDefinitionLine(std::string_view line) {
    std::string out(line);
    for (char& ch : out) {
        int c = static_cast<unsigned char>(ch);
        c = (c >= kScrambleOffset) ? c - kScrambleOffset : c - kScrambleOffset + 255;
        ch = static_cast<char>(c);
    }
    return out;
}

}  // namespace vedozer
