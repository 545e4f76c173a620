#include "update/DefinitionUpdateMerge.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "definitions/LineCodec.h"
#include "text/Text.h"
#include "update/StreamLines.h"
#include "update/UpdateFeed.h"

namespace vedozer {

namespace {

constexpr char kApplying[] = "Applying new updates...";

// FNV-1a: the keys are short, and this is the one lookup done for every line of a file.
struct KeyHash {
    size_t operator()(const std::string& s) const noexcept {
        uint64_t h = 1469598103934665603ull;
        for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
        return static_cast<size_t>(h);
    }
};

// The keys a removal pass takes out. Asked once for every line of a file (a million lines against a
// few thousand keys), so: one flat open-addressing table, and in front of it a bit per hash value,
// which answers "no" for almost every line without touching the table.
class KeySet {
public:
    void insert(std::string key) {
        const uint64_t h = hash(key);
        if (contains(key, h)) return;
        m_keys.push_back(std::move(key));
        m_hashes.push_back(h);
        if (m_slots.size() < 2 * m_keys.size()) {
            size_t slots = 64;
            while (slots < 4 * m_keys.size()) slots *= 2;
            m_slots.assign(slots, 0);
            for (size_t i = 0; i < m_keys.size(); ++i) place(i);
            m_bits.assign(std::max<size_t>(1 << 16, slots * 8) / 64, 0);
            for (uint64_t k : m_hashes) m_bits[(k >> 40) % (m_bits.size() * 64) / 64] |= bit(k);
        } else {
            place(m_keys.size() - 1);
            m_bits[(h >> 40) % (m_bits.size() * 64) / 64] |= bit(h);
        }
    }
    bool contains(std::string_view key) const { return !m_keys.empty() && contains(key, hash(key)); }
    bool empty() const { return m_keys.empty(); }

private:
    // FNV-1a: the keys are short.
    static uint64_t hash(std::string_view s) {
        uint64_t h = 1469598103934665603ull;
        for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
        return h;
    }
    uint64_t bit(uint64_t h) const { return uint64_t{1} << ((h >> 40) % (m_bits.size() * 64) % 64); }
    void place(size_t entry) {
        const size_t mask = m_slots.size() - 1;
        size_t p = m_hashes[entry] & mask;
        while (m_slots[p] != 0) p = (p + 1) & mask;
        m_slots[p] = static_cast<uint32_t>(entry + 1);
    }
    bool contains(std::string_view key, uint64_t h) const {
        if (m_slots.empty() || !(m_bits[(h >> 40) % (m_bits.size() * 64) / 64] & bit(h))) return false;
        const size_t mask = m_slots.size() - 1;
        for (size_t p = h & mask; m_slots[p] != 0; p = (p + 1) & mask) {
            const size_t e = m_slots[p] - 1;
            if (m_hashes[e] == h && m_keys[e] == key) return true;
        }
        return false;
    }

    std::vector<std::string> m_keys;
    std::vector<uint64_t> m_hashes;
    std::vector<uint32_t> m_slots;  // key + 1, 0 = free
    std::vector<uint64_t> m_bits;   // a bit per hash value, modulo their number
};

// What one kind's pass does to its file.
struct KindPlan {
    int additions = 0;                                      // ADD records of the kind
    KeySet deletionKeys;  // decoded, lower case
    bool hasRemovalPass() const { return !deletionKeys.empty(); }
};

// Distinct removals one file may receive from one feed: far more than any definition file holds,
// and a bound on the memory a feed can make the merge take.
constexpr size_t kMaxFeedDeletions = 1000000;

// Encoded byte -> decoded byte in lower case.
struct DecodeLowerTable {
    char map[256];
    DecodeLowerTable() {
        for (int c = 0; c < 256; ++c) {
            std::string decoded = DecodeDefinitionLine(std::string(1, static_cast<char>(c)));
            map[c] = text::lowerChar(decoded[0]);
        }
    }
};

// The lower-case decoded text before the first "=" of an encoded definition line.
void recordKey(std::string_view encodedLine, std::string& key) {
    static const char encodedEquals = EncodeDefinitionLine("=")[0];
    static const DecodeLowerTable table;
    size_t end = encodedLine.find(encodedEquals);
    if (end == std::string_view::npos) end = encodedLine.size();
    key.resize(end);
    for (size_t i = 0; i < end; ++i) key[i] = table.map[static_cast<unsigned char>(encodedLine[i])];
}

bool isBlankLine(std::string_view encodedLine) {
    static const char encodedBlank = EncodeDefinitionLine(" ")[0];
    return encodedLine.empty() || (encodedLine.size() == 1 && encodedLine[0] == encodedBlank);
}

// One pass over the feed. Nothing of it is kept but the removals still in force.
KindPlan planKind(const DefinitionKind& kind, std::string_view feed) {
    // Removal requests by their lower-case payload, with the deletion keys they name (almost
    // always one: payloads that differ only in case may still decode to different keys).
    struct Requested {
        std::string key;
        std::vector<std::string> more;
    };
    std::unordered_map<std::string, Requested, KeyHash> requested;
    KindPlan plan;
    forEachFeedRecord(feed, [&](const FeedRecord& r) {
        if (!kind.accepts(r.typeCode)) return;
        if (!r.hasAction) throw FeedRecordError("record " + std::to_string(r.number) + " has no action");
        if (!r.hasPayload) throw FeedRecordError("record " + std::to_string(r.number) + " has no [DEF]");
        if (r.action == "ADD") {
            storedRecord(kind, r);  // a record that cannot be stored fails the pass before anything is written
            ++plan.additions;
            // A record added again after a bare-key removal request cancels that request.
            if (r.payload.find('=') != std::string::npos) requested.erase(text::toLower(payloadKey(r.payload)));
        } else if (r.action == "DEL" && !r.payload.empty()) {
            std::string key = text::toLower(DecodeDefinitionLine(payloadKey(r.payload)));
            auto [it, added] = requested.try_emplace(text::toLower(r.payload));
            if (added) {
                if (requested.size() > kMaxFeedDeletions)
                    throw FeedFormatError("the feed removes more than " + std::to_string(kMaxFeedDeletions) +
                                          " definitions from one file");
                it->second.key = std::move(key);
            } else if (key != it->second.key &&
                       std::find(it->second.more.begin(), it->second.more.end(), key) == it->second.more.end()) {
                it->second.more.push_back(std::move(key));
            }
        }
    });
    for (auto it = requested.begin(); it != requested.end(); it = requested.erase(it)) {
        plan.deletionKeys.insert(std::move(it->second.key));
        for (auto& k : it->second.more) plan.deletionKeys.insert(std::move(k));
    }
    return plan;
}

struct MergeRun {
    FileSystem& fs;
    const std::string& folder;
    Host& host;
    int progressCounter = 0;

    std::string at(const std::string& name) const { return folder + "\\" + name; }

    bool fileExists(const std::string& p) {
        auto info = fs.lookup(p);
        return info && !info->isDirectory();
    }

    // Writes the kind's new file into its scratch copy. Returns the changes it counts.
    int stageKind(UpdateTransaction& tx, const DefinitionKind& kind, std::string_view feed) {
        KindPlan plan = planKind(kind, feed);
        const std::string target = at(kind.fileName);
        const bool exists = fileExists(target);
        if (exists && plan.additions == 0 && !plan.hasRemovalPass()) {
            host.onUpdateProgress(UpdateProgress{UpdatePhase::Applying, kApplying, 0});
            host.yield();
            return 0;  // the file stays as it is
        }
        auto out = tx.openScratch(kind.fileName);
        if (!out) throw StreamError("cannot create " + fs.displayPath(tx.scratchPath(kind.fileName)));
        BufferedWriter writer(*out);
        host.onUpdateProgress(UpdateProgress{UpdatePhase::Applying, kApplying, 0});
        host.yield();

        // The ADD records' stored lines, in feed order, walked from the feed again.
        auto eachAddedLine = [&](const auto& onLine) {
            forEachFeedRecord(feed, [&](const FeedRecord& r) {
                if (r.action == "ADD" && kind.accepts(r.typeCode)) onLine(storedRecord(kind, r));
            });
        };
        if (!plan.hasRemovalPass()) {
            if (exists) copyWhole(target, writer);
            eachAddedLine([&](const std::string& line) { writer.writeLine(line); });
        } else {
            int lineNumber = 0;
            std::string key;
            auto filter = [&](std::string_view line) {
                ++lineNumber;
                if (++progressCounter >= 100) {
                    progressCounter = 0;
                    host.onUpdateProgress(UpdateProgress{
                        UpdatePhase::Pruning,
                        "Removing outdated definitions: checking entry " + std::to_string(lineNumber),
                        static_cast<uint64_t>(lineNumber)});
                    host.yield();
                }
                if (isBlankLine(line)) return;
                recordKey(line, key);
                if (plan.deletionKeys.contains(key)) return;
                writer.writeLine(line);
            };
            if (exists) {
                auto in = fs.openRead(target);
                if (!in) throw StreamError("cannot read " + fs.displayPath(target));
                forEachLine(*in, filter);
            }
            eachAddedLine([&](const std::string& line) { filter(line); });
        }
        writer.close();
        tx.staged(kind.fileName);
        return plan.additions + (plan.hasRemovalPass() ? 1 : 0);
    }

    // Copies a file unchanged; a last line without CR LF gets one, so appended records start
    // on a line of their own.
    void copyWhole(const std::string& target, BufferedWriter& writer) {
        auto in = fs.openRead(target);
        if (!in) throw StreamError("cannot read " + fs.displayPath(target));
        std::vector<char> block(1 << 20);
        char last[2] = {'\r', '\n'};
        bool any = false;
        long long n;
        while ((n = in->read(block.data(), block.size())) > 0) {
            writer.write(std::string_view(block.data(), static_cast<size_t>(n)));
            if (n >= 2) {
                last[0] = block[n - 2];
                last[1] = block[n - 1];
            } else {
                last[0] = last[1];
                last[1] = block[0];
            }
            any = true;
        }
        if (n < 0) throw StreamError("read error in " + fs.displayPath(target));
        if (any && !(last[0] == '\r' && last[1] == '\n')) writer.write("\r\n");
    }
};

}  // namespace

MergeResult stageDefinitionUpdate(UpdateTransaction& tx, FileSystem& fs, const std::string& dataFolder,
                                  std::string_view feed, Host& host) {
    MergeResult result;
    auto refuse = [&](const std::string& why) {
        tx.rollback();
        result.ok = false;
        result.count = 0;
        result.error = why;
        return result;
    };
    try {
        forEachFeedRecord(feed, [](const FeedRecord&) {});
    } catch (const FeedFormatError& e) {
        return refuse(std::string("the update feed was refused: ") + e.what());
    }
    MergeRun run{fs, dataFolder, host};
    int errors = 0;
    for (const auto& kind : definitionKinds()) {
        for (;;) {
            try {
                result.count += run.stageKind(tx, kind, feed);
                break;
            } catch (const FeedFormatError& e) {
                tx.unstage(kind.fileName);
                return refuse(std::string("the update feed was refused: ") + e.what());
            } catch (const std::exception& e) {
                tx.unstage(kind.fileName);
                if (++errors >= 2)
                    return refuse(std::string("the update feed could not be applied to ") + kind.fileName + ": " +
                                  e.what());
            }
        }
    }
    return result;
}

MergeResult mergeDefinitionUpdate(FileSystem& fs, const std::string& dataFolder, std::string_view feed, Host& host) {
    RecoveryResult recovered = recoverDefinitionUpdate(fs, dataFolder);
    if (recovered.action == RecoveryAction::Failed) return {0, false, recovered.error};
    UpdateTransaction tx(fs, dataFolder);
    MergeResult result = stageDefinitionUpdate(tx, fs, dataFolder, feed, host);
    if (!result.ok) return result;
    std::string error;
    if (!tx.commit(error)) return {0, false, error};
    return result;
}

int MergeDefinitionUpdate(FileSystem& fs, const std::string& dataFolder, std::string_view feed, Host& host) {
    return mergeDefinitionUpdate(fs, dataFolder, feed, host).count;
}

}  // namespace vedozer
