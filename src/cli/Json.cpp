#include "cli/Json.h"

#include <cstdio>
#include <ctime>

#include "text/CodePage.h"
#include "update/ServerDate.h"

namespace vedozer::cli {

std::string jsonStringUtf8(std::string_view utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string jsonString(std::string_view cp1252) { return jsonStringUtf8(text::cp1252ToUtf8(cp1252)); }

std::string isoLocalTime(const LocalTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    std::time_t when = std::mktime(&tm);
    long offset = 0;
    if (when != static_cast<std::time_t>(-1)) {
        std::tm utc = *std::gmtime(&when);  // one thread: the shared result is read at once
        utc.tm_isdst = tm.tm_isdst;  // the same wall-clock rule, so only the zone differs
        offset = static_cast<long>(std::difftime(when, std::mktime(&utc)));
    }
    char sign = offset < 0 ? '-' : '+';
    long a = offset < 0 ? -offset : offset;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, sign, a / 3600, (a % 3600) / 60);
    return buf;
}

std::optional<std::string> isoFromGeneralDate(std::string_view text) {
    auto d = ParseGeneralDate(text);
    if (!d) return std::nullopt;
    return isoLocalTime(LocalTime{d->year, d->month, d->day, d->hour, d->minute, d->second});
}

void JsonWriter::next(std::string_view key) {
    if (!m_first.back()) m_out << ",";
    m_first.back() = false;
    if (!key.empty()) m_out << jsonStringUtf8(key) << ":";
}

JsonWriter& JsonWriter::beginObject(std::string_view key) {
    next(key);
    m_out << "{";
    m_first.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    m_out << "}";
    m_first.pop_back();
    if (m_first.size() == 1) m_out << "\n";
    return *this;
}

JsonWriter& JsonWriter::beginArray(std::string_view key) {
    next(key);
    m_out << "[";
    m_first.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    m_out << "]";
    m_first.pop_back();
    return *this;
}

JsonWriter& JsonWriter::text(std::string_view key, std::string_view cp1252) {
    next(key);
    m_out << jsonString(cp1252);
    return *this;
}

JsonWriter& JsonWriter::utf8(std::string_view key, std::string_view value) {
    next(key);
    m_out << jsonStringUtf8(value);
    return *this;
}

JsonWriter& JsonWriter::optionalUtf8(std::string_view key, const std::optional<std::string>& value) {
    return value ? utf8(key, *value) : null(key);
}

JsonWriter& JsonWriter::number(std::string_view key, int64_t value) {
    next(key);
    m_out << value;
    return *this;
}

JsonWriter& JsonWriter::optionalNumber(std::string_view key, std::optional<int64_t> value) {
    return value ? number(key, *value) : null(key);
}

JsonWriter& JsonWriter::boolean(std::string_view key, bool value) {
    next(key);
    m_out << (value ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::null(std::string_view key) {
    next(key);
    m_out << "null";
    return *this;
}

}  // namespace vedozer::cli
