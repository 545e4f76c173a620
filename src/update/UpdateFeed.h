#pragma once
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vedozer {

// One change of an update feed: header (type code, action) and payload.
struct FeedRecord {
    std::string typeCode;   // decoded field 0 of the header
    bool hasAction = false; // the header had a "|"
    std::string action;     // field 1 of the header, as sent ("ADD", "DEL")
    bool hasPayload = false;// the record had a "[DEF]"
    std::string payload;    // fields encoded, separators plain
    size_t number = 0;      // 1-based position among the feed's non-empty records
};

// Splits a feed at "[BR]" (any case), trims each record of blanks and drops empty ones; the
// header and payload are separated at "[DEF]" (exact case), text after a second "[DEF]" ignored.
std::vector<FeedRecord> parseUpdateFeed(std::string_view feed);

// A record of a kind that cannot be applied (no action, no payload, missing registry fields).
struct FeedRecordError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class StoredForm { SeparatorsEncoded, Registry, KeyOnly, SafeList };

// One of the six definition files a feed updates, in merge order.
struct DefinitionKind {
    const char* fileName;
    StoredForm form;
    bool fileKind;  // the file list (the only kind FILE, EXE and DLL records all feed)
    bool accepts(std::string_view typeCode) const;
};

const std::array<DefinitionKind, 6>& definitionKinds();

// The encoded line an ADD record stores in the kind's file. Throws FeedRecordError for a
// registry payload without the fields it needs.
std::string storedRecord(const DefinitionKind& kind, const FeedRecord& record);

// The payload's text before its first "=" (all of it when it has none).
std::string_view payloadKey(std::string_view payload);

}  // namespace vedozer
