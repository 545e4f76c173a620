#include "platform/image/HivePages.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vedozer {

HivePages::HivePages(int fd, uint64_t size) : m_fd(fd), m_slotOf((size + kPageSize - 1) / kPageSize, -1) {}

HivePages::~HivePages() { ::close(m_fd); }

bool HivePages::read(uint64_t pos, size_t n, unsigned char* out) {
    while (n > 0) {
        const uint64_t index = pos / kPageSize;
        const size_t offset = static_cast<size_t>(pos % kPageSize);
        const Slot* slot = page(index);
        if (!slot || offset >= slot->length) return false;
        const size_t k = std::min(n, slot->length - offset);
        std::memcpy(out, slot->data.get() + offset, k);
        out += k, pos += k, n -= k;
    }
    return true;
}

const HivePages::Slot* HivePages::page(uint64_t index) {
    if (index >= m_slotOf.size()) return nullptr;
    if (m_slotOf[index] >= 0) {
        Slot& s = m_slots[static_cast<size_t>(m_slotOf[index])];
        s.referenced = true;
        return &s;
    }
    size_t at;
    if (m_slots.size() < kMaxPages) {
        at = m_slots.size();
        m_slots.push_back(Slot{0, false, 0, std::make_unique<unsigned char[]>(kPageSize)});
    } else {
        while (m_slots[m_hand].referenced) {
            m_slots[m_hand].referenced = false;
            m_hand = (m_hand + 1) % m_slots.size();
        }
        at = m_hand;
        m_hand = (m_hand + 1) % m_slots.size();
        m_slotOf[m_slots[at].page] = -1;
    }
    Slot& s = m_slots[at];
    size_t got = 0;
    while (got < kPageSize) {
        ssize_t r =
            ::pread(m_fd, s.data.get() + got, kPageSize - got, static_cast<off_t>(index * kPageSize + got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<size_t>(r);
    }
    ++m_reads;
    if (got == 0) return nullptr;
    s.page = index;
    s.length = got;
    s.referenced = true;
    m_slotOf[index] = static_cast<int32_t>(at);
    return &s;
}

}  // namespace vedozer
