#include "update/UpdateFeed.h"

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

}  // namespace

std::vector<FeedRecord> parseUpdateFeed(std::string_view feed) {
    std::vector<FeedRecord> records;
    size_t start = 0;
    size_t number = 0;
    while (start <= feed.size()) {
        size_t at = text::ifind(feed, "[BR]", start);
        std::string_view piece = feed.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
        std::string trimmed = text::trim(piece);
        if (!trimmed.empty()) {
            FeedRecord r;
            r.number = ++number;
            std::string_view rec = trimmed;
            size_t def = rec.find("[DEF]");
            std::string_view header = rec.substr(0, def);
            if (def != std::string_view::npos) {
                r.hasPayload = true;
                std::string_view rest = rec.substr(def + 5);
                r.payload = std::string(rest.substr(0, rest.find("[DEF]")));
            }
            size_t bar = header.find('|');
            r.typeCode = DecodeDefinitionLine(header.substr(0, bar));
            if (bar != std::string_view::npos) {
                r.hasAction = true;
                std::string_view afterBar = header.substr(bar + 1);
                r.action = std::string(afterBar.substr(0, afterBar.find('|')));
            }
            records.push_back(std::move(r));
        }
        if (at == std::string_view::npos) break;
        start = at + 4;
    }
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
