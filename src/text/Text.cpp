#include "text/Text.h"

#include <algorithm>

#include <array>

#include "text/CodePage.h"

namespace vedozer::text {
namespace {

struct CaseTables {
    std::array<unsigned char, 256> upper{}, lower{};
    constexpr CaseTables() {
        for (int c = 0; c < 256; ++c) upper[c] = lower[c] = static_cast<unsigned char>(c);
        auto pair = [this](int big, int small) {
            upper[small] = static_cast<unsigned char>(big);
            lower[big] = static_cast<unsigned char>(small);
        };
        for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 0x20);
        for (int c = 0xC0; c <= 0xDE; ++c)
            if (c != 0xD7) pair(c, c + 0x20);  // 0xD7 and 0xF7 are the multiplication and division signs
        pair(0x8A, 0x9A);
        pair(0x8C, 0x9C);
        pair(0x8E, 0x9E);
        pair(0x9F, 0xFF);
    }
};
constexpr CaseTables kCase;

}  // namespace

char upperChar(char c) { return static_cast<char>(kCase.upper[static_cast<unsigned char>(c)]); }
char lowerChar(char c) { return static_cast<char>(kCase.lower[static_cast<unsigned char>(c)]); }

char32_t upperCodePoint(char32_t cp) {
    auto byte = byteOf(cp);
    return byte ? codePointOf(kCase.upper[*byte]) : cp;
}

std::string foldUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        auto cp = nextUtf8(utf8, i);
        // A byte that is not UTF-8 is taken as the code page, as utf8ToCp1252 takes it.
        if (!cp) cp = codePointOf(static_cast<unsigned char>(utf8[i++]));
        appendUtf8(out, upperCodePoint(*cp));
    }
    return out;
}

std::string toUpper(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = upperChar(c);
    return r;
}

std::string toLower(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = lowerChar(c);
    return r;
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upperChar(a[i]) != upperChar(b[i])) return false;
    return true;
}

bool istartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && iequals(s.substr(0, prefix.size()), prefix);
}

bool iendsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && iequals(s.substr(s.size() - suffix.size()), suffix);
}

size_t ifind(std::string_view haystack, std::string_view needle, size_t from) {
    if (needle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
    if (needle.size() > haystack.size()) return std::string_view::npos;
    for (size_t i = from; i + needle.size() <= haystack.size(); ++i) {
        size_t j = 0;
        while (j < needle.size() && upperChar(haystack[i + j]) == upperChar(needle[j])) ++j;
        if (j == needle.size()) return i;
    }
    return std::string_view::npos;
}

std::string trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string trimWhitespace(std::string_view s) {
    auto ws = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t b = 0, e = s.size();
    while (b < e && ws(s[b])) ++b;
    while (e > b && ws(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

std::vector<std::string> split(std::string_view s, std::string_view sep) {
    std::vector<std::string> out;
    if (sep.empty()) {
        out.emplace_back(s);
        return out;
    }
    size_t start = 0;
    while (true) {
        size_t p = s.find(sep, start);
        if (p == std::string_view::npos) {
            out.emplace_back(s.substr(start));
            return out;
        }
        out.emplace_back(s.substr(start, p - start));
        start = p + sep.size();
    }
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    size_t start = 0;
    while (true) {
        size_t p = s.find(from, start);
        if (p == std::string_view::npos) break;
        out.append(s.substr(start, p - start));
        out.append(to);
        start = p + from.size();
    }
    out.append(s.substr(start));
    return out;
}

std::string ireplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    size_t start = 0;
    while (true) {
        size_t p = ifind(s, from, start);
        if (p == std::string_view::npos) break;
        out.append(s.substr(start, p - start));
        out.append(to);
        start = p + from.size();
    }
    out.append(s.substr(start));
    return out;
}

std::string groupDigits(long long n) {
    bool neg = n < 0;
    std::string digits = std::to_string(neg ? -n : n);
    std::string out;
    int count = 0;
    for (size_t i = digits.size(); i-- > 0;) {
        out.insert(out.begin(), digits[i]);
        if (++count % 3 == 0 && i > 0) out.insert(out.begin(), ',');
    }
    return neg ? "-" + out : out;
}

namespace {

size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            // A swap of two neighbouring letters counts as one edit.
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) row[j] = std::min(row[j], diagonal);
            diagonal = up;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string closestMatch(std::string_view wordIn, const std::vector<std::string>& candidates) {
    const std::string word = toLower(wordIn);
    if (word.empty()) return "";
    std::string best;
    size_t bestDistance = std::max<size_t>(1, word.size() / 3) + 1;
    for (const auto& c : candidates) {
        std::string lower = toLower(c);
        size_t d = editDistance(word, lower);
        if (d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    if (!best.empty()) return best;
    for (const auto& c : candidates)
        if (word.size() >= 2 && toLower(c).rfind(word, 0) == 0) return c;
    return "";
}

bool isControlByte(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

std::string escapeControls(std::string_view s) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(s.size());
    for (char ch : s) {
        auto c = static_cast<unsigned char>(ch);
        if (!isControlByte(c)) {
            out += ch;
            continue;
        }
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
    return out;
}

}  // namespace vedozer::text
