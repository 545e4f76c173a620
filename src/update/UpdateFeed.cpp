#include "update/UpdateFeed.h"

#include <cstring>

#include "definitions/LineCodec.h"
#include "text/Text.h"

namespace vedozer {

namespace {

std::string encodeSeparators(std::string_view payload) {
    static const std::string bar = EncodeDefinitionLine("|");
    static const std::string equals = EncodeDefinitionLine("=");
    std::string out;
    out.reserve(payload.size());
    for (char c : payload) {
        if (c == '|') out += bar;
        else if (c == '=') out += equals;
        else out += c;
    }
    return out;
}

// Position of the next "[BR]" in any case, or npos.
size_t findRecordSeparator(std::string_view feed, size_t from) {
    while (from + 4 <= feed.size()) {
        const void* hit = std::memchr(feed.data() + from, '[', feed.size() - from - 3);
        if (!hit) return std::string_view::npos;
        size_t at = static_cast<const char*>(hit) - feed.data();
        if ((feed[at + 1] | 0x20) == 'b' && (feed[at + 2] | 0x20) == 'r' && feed[at + 3] == ']') return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

std::string_view trimBlanks(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return s.substr(b, e - b);
}

// True when a field, decoded, holds a byte below 32.
bool decodesToControl(std::string_view encoded) {
    for (char ch : encoded) {
        auto c = static_cast<unsigned char>(ch);
        // Encoded bytes 64..95 decode to 0..31.
        if (c >= kScrambleOffset && c < kScrambleOffset + 32) return true;
    }
    return false;
}

void checkRecord(std::string_view record, std::string_view typeCode, std::string_view payload, size_t number) {
    auto refuse = [&](const std::string& why) {
        throw FeedFormatError("record " + std::to_string(number) + " " + why);
    };
    if (record.size() > kMaxFeedRecordLength)
        refuse("is longer than " + std::to_string(kMaxFeedRecordLength) + " bytes");
    if (typeCode.find("\r\n") != std::string_view::npos || payload.find("\r\n") != std::string_view::npos)
        refuse("holds a line break");
    if (decodesToControl(typeCode) || decodesToControl(payload)) refuse("holds a control character");
}

}  // namespace

void forEachFeedRecord(std::string_view feed, const std::function<void(const FeedRecord&)>& onRecord) {
    FeedRecord r;
    size_t start = 0;
    size_t number = 0;
    while (start <= feed.size()) {
        size_t at = findRecordSeparator(feed, start);
        std::string_view rec =
            trimBlanks(feed.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (!rec.empty()) {
            r.number = ++number;
            size_t def = rec.find("[DEF]");
            std::string_view header = rec.substr(0, def);
            std::string_view payload;
            r.hasPayload = def != std::string_view::npos;
            if (r.hasPayload) {
                std::string_view rest = rec.substr(def + 5);
                payload = rest.substr(0, rest.find("[DEF]"));
            }
            size_t bar = header.find('|');
            std::string_view code = header.substr(0, bar);
            checkRecord(rec, code, payload, r.number);
            r.typeCode = DecodeDefinitionLine(code);
            r.hasAction = bar != std::string_view::npos;
            r.action.clear();
            if (r.hasAction) {
                std::string_view afterBar = header.substr(bar + 1);
                r.action.assign(afterBar.substr(0, afterBar.find('|')));
            }
            r.payload.assign(payload);
            onRecord(r);
        }
        if (at == std::string_view::npos) break;
        start = at + 4;
    }
}

std::vector<FeedRecord> parseUpdateFeed(std::string_view feed) {
    std::vector<FeedRecord> records;
    forEachFeedRecord(feed, [&](const FeedRecord& r) { records.push_back(r); });
    return records;
}

bool DefinitionKind::accepts(std::string_view code) const {
    switch (form) {
    case StoredForm::SafeList:
        return code.find('S') != std::string_view::npos || code.find('s') != std::string_view::npos;
    case StoredForm::Registry:
        return code == "REG";
    case StoredForm::KeyOnly:
        return code == "COOK";
    case StoredForm::SeparatorsEncoded:
        if (fileKind) return code == "FILE" || code == "EXE" || code == "DLL";
        if (std::string_view(fileName) == "ExeDefinition.dat") return code == "EXE";
        return code == "DIR";
    }
    return false;
}

const std::array<DefinitionKind, 6>& definitionKinds() {
    static const std::array<DefinitionKind, 6> kinds = {{
        {"FileDefinition.dat", StoredForm::SeparatorsEncoded, true},
        {"ExeDefinition.dat", StoredForm::SeparatorsEncoded, false},
        {"RegistryDefinition.dat", StoredForm::Registry, false},
        {"BlockedCookies.dat", StoredForm::KeyOnly, false},
        {"DirectoryDefinition.dat", StoredForm::SeparatorsEncoded, false},
        {"Safety.dat", StoredForm::SafeList, false},
    }};
    return kinds;
}

std::string_view payloadKey(std::string_view payload) { return payload.substr(0, payload.find('=')); }

std::string storedRecord(const DefinitionKind& kind, const FeedRecord& record) {
    const std::string& p = record.payload;
    switch (kind.form) {
    case StoredForm::SeparatorsEncoded:
        return encodeSeparators(p);
    case StoredForm::KeyOnly:
        return std::string(payloadKey(p));
    case StoredForm::SafeList:
        return EncodeDefinitionLine(record.typeCode + "|") + encodeSeparators(p);
    case StoredForm::Registry: {
        auto fields = text::split(p, "|");
        if (fields.size() < 3) throw FeedRecordError("registry record " + std::to_string(record.number) +
                                                     " has fewer than three fields");
        auto keyAndName = text::split(fields[0], "=");
        if (keyAndName.size() < 2)
            throw FeedRecordError("registry record " + std::to_string(record.number) + " has no \"=\" in its key field");
        return fields[1] + EncodeDefinitionLine("^=") + keyAndName[1] + EncodeDefinitionLine("|") + fields[2];
    }
    }
    return {};
}

}  // namespace vedozer
