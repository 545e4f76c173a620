#pragma once
#include <array>
#include <functional>
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

// A record of a kind that cannot be applied (no action, no payload, missing registry fields).
struct FeedRecordError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A feed that must not be applied at all: a record that would break a definition file.
struct FeedFormatError : FeedRecordError {
    using FeedRecordError::FeedRecordError;
};

// The longest record taken: a definition line longer than this is cut when it is read.
constexpr size_t kMaxFeedRecordLength = 64 * 1024;

// Walks a feed record by record: splits at "[BR]" (any case), trims each record of blanks and
// skips empty ones; header and payload are separated at "[DEF]" (exact case), text after a
// second "[DEF]" ignored. One FeedRecord is reused, so memory does not grow with the feed.
// Throws FeedFormatError for a record longer than kMaxFeedRecordLength, one whose type code or
// payload holds CR LF (it would split the stored line), or whose decoded type code or payload
// holds a control character (no definition has one; the server never sends them).
void forEachFeedRecord(std::string_view feed, const std::function<void(const FeedRecord&)>& onRecord);

// All records of a feed (for small feeds and tests; the merge walks the feed instead).
std::vector<FeedRecord> parseUpdateFeed(std::string_view feed);

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
