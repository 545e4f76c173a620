#include "settings/SettingValues.h"

#include <charconv>

#include "text/Text.h"

namespace vedozer {

bool toBool(std::string_view value, bool fallback) {
    if (text::iequals(value, "True")) return true;
    if (text::iequals(value, "False")) return false;
    long long n = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec == std::errc() && end == value.data() + value.size() && !value.empty()) return n != 0;
    return fallback;
}

std::string checkBoxValue(bool checked) { return checked ? "1" : "0"; }

std::string trueFalse(bool value) { return value ? "True" : "False"; }

std::string columnWidthKey(int column) { return "FoundCol2" + std::to_string(column); }

}  // namespace vedozer
