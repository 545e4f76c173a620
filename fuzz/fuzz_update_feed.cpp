// Update feeds: the record walker, the stored form of every record for each file it feeds, and
// the signature check on keys, signatures and messages taken from the input.
#include "FuzzSupport.h"
#include "update/Ed25519Verify.h"
#include "update/FeedSignature.h"
#include "update/UpdateFeed.h"

using namespace vedozer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view feed = fuzz::text(data, size);
    size_t records = 0;
    try {
        forEachFeedRecord(feed, [&](const FeedRecord& r) {
            ++records;
            if (r.payload.size() > kMaxFeedRecordLength) fuzz::fail("a record longer than the cap was taken");
            for (const auto& kind : definitionKinds()) {
                if (!kind.accepts(r.typeCode)) continue;
                try {
                    std::string stored = storedRecord(kind, r);
                    if (stored.find("\r\n") != std::string::npos) fuzz::fail("a stored record holds CR LF");
                } catch (const FeedRecordError&) {
                }
            }
        });
    } catch (const FeedFormatError&) {
    }
    if (size >= 96) {
        Ed25519PublicKey key;
        Ed25519Signature signature;
        std::memcpy(key.data(), data, 32);
        std::memcpy(signature.data(), data + 32, 64);
        (void)verifyEd25519(key, signature, {feed.substr(96)});
    }
    (void)parsePublicKey(feed);
    return 0;
}
