#include "i18n/AnsiCase.h"

namespace vedozer {

char upperAnsi(char ch) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 0x20);  // 0xF7 is the division sign
    switch (c) {
        case 0x9A:
            return static_cast<char>(0x8A);  // s caron
        case 0x9C:
            return static_cast<char>(0x8C);  // oe
        case 0x9E:
            return static_cast<char>(0x8E);  // z caron
        case 0xFF:
            return static_cast<char>(0x9F);  // y diaeresis
        default:
            return ch;
    }
}

std::string toUpperAnsi(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = upperAnsi(c);
    return out;
}

bool iequalsAnsi(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upperAnsi(a[i]) != upperAnsi(b[i])) return false;
    return true;
}

}  // namespace vedozer
