#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/image/FoldedIndex.h"
#include "platform/image/HiveReader.h"

namespace vedozer {

// One value of a hive node as hivex hands it over: name in UTF-8, raw data.
struct HiveValue {
    std::string utf8Name;
    uint32_t type = 0;
    std::string data;
};

// One hive file on the host, read page-wise (HiveReader) and written through hivex.
//
// Reading: the file is opened lazily, read-only, on first use and kept open; only the pages a
// look-up needs are read, so memory does not grow with the hive, and keys with more sub keys than
// hivex lists are read too. The sub keys of each node visited are indexed by folded name, so
// repeated lookups cost a hash probe per path component. Writing: the first change reopens the
// hive for writing through hivex (which holds it whole); commit() writes
// the whole hive to a temporary file in the same folder, flushes it, renames it over the hive
// and flushes the folder, so the hive file is always either the old or the new one, never a
// mix. After a successful commit the write handle holds exactly what the file holds and serves
// the reads that follow; after a failed one it is dropped, so the next read sees the file.
class HiveFile {
public:
    using Node = size_t;

    explicit HiveFile(std::string hostPath);
    ~HiveFile();
    HiveFile(const HiveFile&) = delete;
    HiveFile& operator=(const HiveFile&) = delete;

    const std::string& path() const { return m_path; }
    // Text of the last failure.
    const std::string& error() const { return m_error; }

    // Opens the file when not open yet. False (with error()) when it is missing or not a hive.
    bool open();
    Node root() const;
    // Minor format version from the base block (3 or 5 for the usual hives).
    uint32_t minorVersion() const { return m_minorVersion; }

    // The child of parent with the given folded name (see hivetext::foldCp1252); nullopt when
    // there is none. Sets failed to true when the hive could not be read.
    std::optional<Node> child(Node parent, const std::string& foldedName, bool& failed);
    // Walks folded path components from the root.
    std::optional<Node> find(const std::vector<std::string>& foldedPath, bool& failed);
    // Child names in UTF-8, in hive order; nullopt when the hive could not be read.
    std::optional<std::vector<std::string>> childNames(Node node);
    std::optional<std::vector<HiveValue>> values(Node node);
    // The value with the given folded name (see hivetext::foldCp1252), only its data read;
    // nullopt when there is none. Sets failed to true when the hive could not be read.
    std::optional<HiveValue> value(Node node, const std::string& foldedName, bool& failed);

    // Changes: each needs a following commit() to reach the file.
    bool makeWritable();
    std::optional<Node> addChild(Node parent, const std::string& utf8Name);
    bool setValues(Node node, const std::vector<HiveValue>& values);
    bool deleteNode(Node node);
    bool commit();
    // Drops the open handle and every cached index; the next use reopens the file.
    void close();

private:
    struct Index {
        FoldedIndex byFoldedName;
    };
    bool fail(const std::string& what, int err);
    const Index* index(Node node);
    bool writeTemporary(std::string& tempName);
    std::string tempPath(const std::string& tempName) const;
    std::optional<std::vector<Node>> childNodes(Node node);
    std::optional<std::string> nodeName(Node node, bool& damaged);

    std::string m_path;
    std::string m_name;  // the file's name in its folder
    int m_dirFd = -1;    // the folder, opened once
    std::string m_error;
    struct Hive;
    std::unique_ptr<Hive> m_hive;      // hivex, while writable
    std::unique_ptr<HiveReader> m_reader;  // otherwise
    bool m_writable = false;
    uint32_t m_minorVersion = 0;
    std::unordered_map<Node, Index> m_index;
    // Folded value name -> value, per node asked, while reading page-wise.
    std::unordered_map<Node, std::unordered_map<std::string, HiveReader::Value>> m_values;
};

}  // namespace vedozer
