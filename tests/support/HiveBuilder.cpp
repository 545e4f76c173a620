#include "support/HiveBuilder.h"

#include <stdexcept>

#include "platform/image/HiveFile.h"
#include "platform/image/HiveText.h"
#include "platform/image/RegfGenerator.h"

namespace vedozer::test {

std::string dwordBytes(uint32_t number) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    return out;
}

std::string qwordBytes(uint64_t number) {
    return dwordBytes(static_cast<uint32_t>(number)) + dwordBytes(static_cast<uint32_t>(number >> 32));
}

HiveEntry hiveKey(const std::string& key) { return HiveEntry{key, std::nullopt, kRegNone, ""}; }

HiveEntry hiveValue(const std::string& key, const std::string& name, uint32_t type, const std::string& raw) {
    return HiveEntry{key, name, type, raw};
}

HiveEntry hiveSz(const std::string& key, const std::string& name, const std::string& text) {
    return hiveValue(key, name, kRegSz, text + std::string(1, '\0'));
}

HiveEntry hiveExpandSz(const std::string& key, const std::string& name, const std::string& text) {
    return hiveValue(key, name, kRegExpandSz, text + std::string(1, '\0'));
}

HiveEntry hiveMultiSz(const std::string& key, const std::string& name, const std::vector<std::string>& items) {
    std::string data;
    for (const auto& item : items) data += item + std::string(1, '\0');
    data += std::string(1, '\0');
    return hiveValue(key, name, kRegMultiSz, data);
}

HiveEntry hiveDword(const std::string& key, const std::string& name, uint32_t number) {
    return hiveValue(key, name, kRegDword, dwordBytes(number));
}

HiveEntry hiveQword(const std::string& key, const std::string& name, uint64_t number) {
    return hiveValue(key, name, kRegQword, qwordBytes(number));
}

HiveEntry hiveBinary(const std::string& key, const std::string& name, const std::string& bytes) {
    return hiveValue(key, name, kRegBinary, bytes);
}

namespace {

std::vector<std::string> splitKey(const std::string& key) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < key.size()) {
        size_t end = key.find('\\', start);
        if (end == std::string::npos) end = key.size();
        if (end > start) parts.push_back(key.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

[[noreturn]] void fail(const HiveFile& file, const std::string& what) {
    throw std::runtime_error("buildHive: " + what + ": " + file.error());
}

}  // namespace

void buildHive(const std::string& hostPath, const std::vector<HiveEntry>& entries, const std::string& rootName,
               uint32_t minorVersion) {
    std::string error;
    EmptyHiveOptions options;
    options.minorVersion = minorVersion;
    if (!writeEmptyHive(hostPath, rootName, options, &error)) throw std::runtime_error("buildHive: " + error);
    HiveFile file(hostPath);
    if (!file.makeWritable()) fail(file, "open");
    for (const HiveEntry& entry : entries) {
        HiveFile::Node node = file.root();
        for (const std::string& part : splitKey(entry.key)) {
            bool failed = false;
            auto next = file.child(node, hivetext::foldCp1252(part), failed);
            if (failed) fail(file, "lookup of " + part);
            if (!next) next = file.addChild(node, hivetext::cp1252ToUtf8(part));
            if (!next) fail(file, "key " + part);
            node = *next;
        }
        if (!entry.valueName) continue;
        auto values = file.values(node);
        if (!values) fail(file, "values of " + entry.key);
        HiveValue value{hivetext::cp1252ToUtf8(*entry.valueName), entry.type,
                        hivetext::dataToHive(entry.type, entry.data)};
        bool replaced = false;
        for (HiveValue& v : *values) {
            if (hivetext::foldUtf8(v.utf8Name) == hivetext::foldCp1252(*entry.valueName)) {
                v = value;
                replaced = true;
            }
        }
        if (!replaced) values->push_back(value);
        if (!file.setValues(node, *values)) fail(file, "value " + *entry.valueName);
    }
    if (!file.commit()) fail(file, "commit");
}

}  // namespace vedozer::test
