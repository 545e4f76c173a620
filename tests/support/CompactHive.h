// Writes a whole registry hive in one go, laid out as Windows lays out a freshly loaded hive: every
// cell once, sub key lists sorted by upper-case name, no free space left behind. (Adding keys one
// by one through hivex rewrites the parent's sub key list each time and never reuses the old
// cells, so a key with 10,000 sub keys would leave hundreds of MB of dead lists in the file.)
#pragma once
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"
#include "platform/image/HiveText.h"
#include "platform/image/RegfGenerator.h"
#include "text/Text.h"

namespace vedozer::test {

class CompactHive {
public:
    // With bigData, data longer than 16,344 bytes is stored as Windows stores it in hives of format
    // 1.4 and later: a "db" record listing segments of 16,344 bytes.
    explicit CompactHive(bool bigData = false) : m_bigData(bigData) { m_nodes.push_back(Node{"ROOT", {}, {}}); }

    // The key at path (parts separated by "\"), made with its parents when missing.
    size_t key(const std::string& path) {
        if (path.empty()) return 0;
        auto it = m_byPath.find(path);
        if (it != m_byPath.end()) return it->second;
        size_t slash = path.rfind('\\');
        size_t parent = slash == std::string::npos ? 0 : key(path.substr(0, slash));
        std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        std::string folded = text::toUpper(name);
        auto child = m_nodes[parent].children.find(folded);
        size_t index;
        if (child != m_nodes[parent].children.end()) {
            index = child->second;
        } else {
            index = m_nodes.size();
            m_nodes.push_back(Node{name, {}, {}});
            m_nodes[parent].children.emplace(folded, index);
        }
        return m_byPath[path] = index;
    }
    // Data as the Registry interface carries it (code-page strings with their zero).
    void value(const std::string& path, const std::string& name, uint32_t type, const std::string& data) {
        m_nodes[key(path)].values.push_back(Value{name, type, hivetext::dataToHive(type, data)});
    }

    void write(const std::string& hostPath) {
        // The base block and the security record of an empty hive serve as they are.
        EmptyHiveOptions options;
        options.minorVersion = m_bigData ? 5 : 3;
        const std::string empty = makeEmptyHive("ROOT", options);
        const uint32_t emptySk = 0x20 + align8(4 + 0x4C + 4);
        const uint32_t skCellSize = static_cast<uint32_t>(-static_cast<int32_t>(get32(empty, 0x1000 + emptySk)));

        m_bins.assign(0x20, '\0');
        std::memcpy(&m_bins[0], "hbin", 4);
        const uint32_t rootAt = 0x20;  // the root is written first
        m_sk = rootAt + align8(4 + 0x4C + static_cast<uint32_t>(m_nodes[0].name.size()));
        m_bins.reserve(1 << 20);
        // Reserve the root cell, then the security record right after it.
        uint32_t root = alloc(0x4C + static_cast<uint32_t>(m_nodes[0].name.size()));
        uint32_t sk = alloc(skCellSize - 4);
        if (root != rootAt || sk != m_sk) throw std::logic_error("hive layout");
        std::memcpy(&m_bins[sk], &empty[0x1000 + emptySk], skCellSize);
        put32(sk + 4 + 0x04, sk);
        put32(sk + 4 + 0x08, sk);
        put32(sk + 4 + 0x0C, static_cast<uint32_t>(m_nodes.size()));
        writeNode(0, 0xFFFFFFFF, root);

        uint32_t used = static_cast<uint32_t>(m_bins.size());
        uint32_t total = (used + 0xFFF) & ~0xFFFu;
        if (total > used) {
            m_bins.append(total - used, '\0');
            put32(used, total - used);  // one free cell to the end of the bin
        }
        put32(8, total);  // the one bin's size

        std::string base = empty.substr(0, 0x1000);
        put32To(base, 0x24, rootAt);
        put32To(base, 0x28, total);
        put32To(base, 0x1FC, regfHeaderChecksum(base));
        std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
        out.write(base.data(), static_cast<std::streamsize>(base.size()));
        out.write(m_bins.data(), static_cast<std::streamsize>(m_bins.size()));
        if (!out) throw std::runtime_error("cannot write " + hostPath);
    }

private:
    struct Value {
        std::string name;
        uint32_t type;
        std::string data;  // as stored
    };
    struct Node {
        std::string name;
        std::map<std::string, size_t> children;  // upper-case name -> node: the order of the list
        std::vector<Value> values;
    };

    static constexpr size_t kListLength = 1000;  // sub keys per "lf" list
    static uint32_t align8(uint32_t n) { return (n + 7) & ~7u; }
    static uint32_t get32(const std::string& b, size_t at) {
        uint32_t v;
        std::memcpy(&v, &b[at], 4);
        return v;
    }
    static void put32To(std::string& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }
    void put32(size_t at, uint32_t v) { put32To(m_bins, at, v); }
    void put16(size_t at, uint16_t v) { std::memcpy(&m_bins[at], &v, 2); }

    // A used cell with room for n bytes after its size field; returns its offset.
    uint32_t alloc(uint32_t n) {
        uint32_t at = static_cast<uint32_t>(m_bins.size());
        uint32_t size = align8(4 + n);
        m_bins.append(size, '\0');
        put32(at, static_cast<uint32_t>(-static_cast<int32_t>(size)));
        return at;
    }

    uint32_t writeNode(size_t index, uint32_t parent, uint32_t at = 0) {
        // Copies: the vectors grow while children are written.
        const std::string name = m_nodes[index].name;
        const std::vector<Value> values = m_nodes[index].values;
        std::vector<size_t> children;
        for (const auto& [folded, child] : m_nodes[index].children) children.push_back(child);

        if (!at) at = alloc(0x4C + static_cast<uint32_t>(name.size()));
        const uint32_t p = at + 4;
        std::memcpy(&m_bins[p], "nk", 2);
        put16(p + 2, index == 0 ? 0x2C : 0x20);  // compressed name; the root is the hive's entry
        put32(p + 0x10, parent);
        put32(p + 0x1C, 0xFFFFFFFF);
        put32(p + 0x20, 0xFFFFFFFF);
        put32(p + 0x28, 0xFFFFFFFF);
        put32(p + 0x2C, m_sk);
        put32(p + 0x30, 0xFFFFFFFF);
        put16(p + 0x48, static_cast<uint16_t>(name.size()));
        std::memcpy(&m_bins[p + 0x4C], name.data(), name.size());

        if (!values.empty()) {
            std::vector<uint32_t> cells;
            uint32_t maxName = 0, maxData = 0;
            for (const Value& v : values) {
                uint32_t vk = alloc(0x14 + static_cast<uint32_t>(v.name.size()));
                uint32_t q = vk + 4;
                std::memcpy(&m_bins[q], "vk", 2);
                put16(q + 2, static_cast<uint16_t>(v.name.size()));
                uint32_t size = static_cast<uint32_t>(v.data.size());
                if (size <= 4) {
                    put32(q + 4, size | 0x80000000u);
                    std::memcpy(&m_bins[q + 8], v.data.data(), size);
                } else if (m_bigData && size > kSegment) {
                    put32(q + 4, size);
                    put32(q + 8, bigData(v.data));
                } else {
                    uint32_t data = alloc(size);
                    std::memcpy(&m_bins[data + 4], v.data.data(), size);
                    put32(q + 4, size);
                    put32(q + 8, data);
                }
                put32(q + 0x0C, v.type);
                put16(q + 0x10, v.name.empty() ? 0 : 1);
                std::memcpy(&m_bins[q + 0x14], v.name.data(), v.name.size());
                cells.push_back(vk);
                maxName = std::max(maxName, static_cast<uint32_t>(v.name.size()) * 2);
                maxData = std::max(maxData, size);
            }
            uint32_t list = alloc(4 * static_cast<uint32_t>(cells.size()));
            for (size_t i = 0; i < cells.size(); ++i) put32(list + 4 + 4 * i, cells[i]);
            put32(p + 0x24, static_cast<uint32_t>(cells.size()));
            put32(p + 0x28, list);
            put32(p + 0x3C, maxName);
            put32(p + 0x40, maxData);
        }
        if (!children.empty()) {
            std::vector<uint32_t> cells;
            uint32_t maxName = 0;
            for (size_t child : children) {
                cells.push_back(writeNode(child, at));
                maxName = std::max(maxName, static_cast<uint32_t>(m_nodes[child].name.size()) * 2);
            }
            // Long lists are cut into "lf" lists under one "ri" index, as Windows does.
            std::vector<uint32_t> lists;
            for (size_t from = 0; from < cells.size(); from += kListLength) {
                const size_t n = std::min(kListLength, cells.size() - from);
                uint32_t lf = alloc(4 + 8 * static_cast<uint32_t>(n));
                std::memcpy(&m_bins[lf + 4], "lf", 2);
                put16(lf + 6, static_cast<uint16_t>(n));
                for (size_t i = 0; i < n; ++i) {
                    put32(lf + 8 + 8 * i, cells[from + i]);
                    const std::string& name = m_nodes[children[from + i]].name;
                    std::memcpy(&m_bins[lf + 12 + 8 * i], name.data(), std::min<size_t>(4, name.size()));
                }
                lists.push_back(lf);
            }
            uint32_t list = lists.front();
            if (lists.size() > 1) {
                list = alloc(4 + 4 * static_cast<uint32_t>(lists.size()));
                std::memcpy(&m_bins[list + 4], "ri", 2);
                put16(list + 6, static_cast<uint16_t>(lists.size()));
                for (size_t i = 0; i < lists.size(); ++i) put32(list + 8 + 4 * i, lists[i]);
            }
            put32(p + 0x14, static_cast<uint32_t>(cells.size()));
            put32(p + 0x1C, list);
            put32(p + 0x34, maxName);
        }
        return at;
    }

    // A "db" record: its segments (each a cell with 4 bytes to spare after the data), their list.
    static constexpr uint32_t kSegment = 16344;
    uint32_t bigData(const std::string& data) {
        std::vector<uint32_t> segments;
        for (size_t at = 0; at < data.size(); at += kSegment) {
            const size_t n = std::min<size_t>(kSegment, data.size() - at);
            uint32_t cell = alloc(kSegment + 4);
            std::memcpy(&m_bins[cell + 4], data.data() + at, n);
            segments.push_back(cell);
        }
        uint32_t list = alloc(4 * static_cast<uint32_t>(segments.size()));
        for (size_t i = 0; i < segments.size(); ++i) put32(list + 4 + 4 * i, segments[i]);
        uint32_t db = alloc(8);
        std::memcpy(&m_bins[db + 4], "db", 2);
        put16(db + 6, static_cast<uint16_t>(segments.size()));
        put32(db + 8, list);
        return db;
    }

    bool m_bigData = false;
    std::vector<Node> m_nodes;
    std::unordered_map<std::string, size_t> m_byPath;
    std::string m_bins;
    uint32_t m_sk = 0;
};

}  // namespace vedozer::test
