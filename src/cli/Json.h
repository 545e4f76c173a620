#pragma once
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace vedozer::cli {

// A JSON string literal of engine text (Windows-1252 in, UTF-8 out).
std::string jsonString(std::string_view cp1252);
// A JSON string literal of UTF-8 text.
std::string jsonStringUtf8(std::string_view utf8);

// ISO 8601 with the local UTC offset at that time: "2026-03-04T10:05:00+01:00".
std::string isoLocalTime(const LocalTime& t);
// The same for a general date text of the settings ("3/16/2006 10:05:00 AM"); nullopt when it is
// no date ("Never").
std::optional<std::string> isoFromGeneralDate(std::string_view text);

// Writes one JSON document: objects and arrays opened and closed in order, commas placed.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}
    JsonWriter& beginObject(std::string_view key = {});
    JsonWriter& endObject();
    JsonWriter& beginArray(std::string_view key = {});
    JsonWriter& endArray();
    JsonWriter& text(std::string_view key, std::string_view cp1252);      // engine text
    JsonWriter& utf8(std::string_view key, std::string_view value);       // already UTF-8
    JsonWriter& optionalUtf8(std::string_view key, const std::optional<std::string>& value);  // null when unset
    JsonWriter& number(std::string_view key, int64_t value);
    JsonWriter& optionalNumber(std::string_view key, std::optional<int64_t> value);
    JsonWriter& boolean(std::string_view key, bool value);
    JsonWriter& null(std::string_view key);

private:
    void next(std::string_view key);
    std::ostream& m_out;
    std::vector<bool> m_first{true};
};

}  // namespace vedozer::cli
