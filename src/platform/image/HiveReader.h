#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vedozer {

// Reads a registry hive file ("regf") without loading it: the cells a look-up needs are read from the
// file in pages, of which a bounded number is kept, so memory does not grow with the hive. Nodes and
// values are named by their file offsets, as hivex names them. Every offset, length and count read
// from the file is checked against the file before use: a damaged hive gives an error, never a read
// outside it. Sub key lists of every form are read (lf, lh, li and ri indexes of them), however many
// sub keys a key has.
class HiveReader {
public:
    struct Value {
        std::string utf8Name;
        uint32_t type = 0;
        uint32_t cell = 0;  // the value's record, for data()
    };

    HiveReader();
    ~HiveReader();
    HiveReader(const HiveReader&) = delete;
    HiveReader& operator=(const HiveReader&) = delete;

    // Opens and checks the base block. False with error() when it is not a hive.
    bool open(const std::string& hostPath);
    // The file of that name in an open folder; a link there is not followed.
    bool openAt(int dirFd, const std::string& name);
    void close();
    bool isOpen() const;
    const std::string& error() const { return m_error; }

    uint32_t root() const { return m_root; }
    uint32_t minorVersion() const { return m_minor; }

    // Sub keys of a node in list order; nullopt when the hive cannot be read there.
    std::optional<std::vector<uint32_t>> children(uint32_t node);
    // A key's name in UTF-8; nullopt when it cannot be decoded (hivex skips those too) or, with
    // damaged set, when the node is no key record.
    std::optional<std::string> name(uint32_t node, bool& damaged);
    // Values of a node with names and types, data left in the file.
    std::optional<std::vector<Value>> values(uint32_t node);
    std::optional<std::string> data(const Value& value);

    // Pages read from the file so far (for tests of the page-wise reading).
    long pagesRead() const;

private:
    struct Cell;
    bool fail(const std::string& what);
    bool start(int fd);
    bool readAt(uint64_t pos, size_t n, void* out);
    std::optional<Cell> cell(uint32_t offset, size_t minPayload);
    bool readCell(const Cell& c, std::vector<unsigned char>& out);
    bool collectList(uint32_t list, int depth, std::vector<uint32_t>& out);

    std::unique_ptr<class HivePages> m_pages;
    std::string m_error;
    uint32_t m_root = 0;
    uint32_t m_minor = 0;
    uint64_t m_end = 0;  // file offset where the hive bins end
    std::vector<unsigned char> m_buffer;
};

}  // namespace vedozer
