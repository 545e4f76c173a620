#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vedozer {

// A hive file read in fixed pages, a bounded number of them kept (replaced in clock order), so the
// memory a reader holds does not grow with the hive.
class HivePages {
public:
    static constexpr size_t kPageSize = 16 * 1024;
    static constexpr size_t kMaxPages = 512;  // 8 MiB

    // Takes the descriptor over.
    HivePages(int fd, uint64_t size);
    ~HivePages();
    HivePages(const HivePages&) = delete;
    HivePages& operator=(const HivePages&) = delete;

    // Copies n bytes from pos; false when the file ends before them or cannot be read.
    bool read(uint64_t pos, size_t n, unsigned char* out);
    // Pages read from the file so far.
    long reads() const { return m_reads; }

private:
    struct Slot {
        uint64_t page = 0;
        bool referenced = false;
        size_t length = 0;
        std::unique_ptr<unsigned char[]> data;
    };
    const Slot* page(uint64_t index);

    int m_fd;
    std::vector<int32_t> m_slotOf;  // page -> slot, -1 when not kept
    std::vector<Slot> m_slots;
    size_t m_hand = 0;
    long m_reads = 0;
};

}  // namespace vedozer
