// Objects of one size, handed out from blocks that live as long as the process: objects made
// one after another sit next to each other in memory (a walk over thousands of cells touches
// fewer cache lines), and making or freeing one costs a pointer swap. Single-threaded, as
// the engine is.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace ostrel::platform {

template <size_t kSize, size_t kBlock = 1024>
class FixedPool {
public:
    void* Take() {
        if (!m_free) Refill();
        Slot* slot = m_free;
        m_free = slot->next;
        return slot;
    }
    // Whether object came from this pool (a slow search, for rare paths).
    bool Owns(const void* object) const {
        auto* byte = static_cast<const unsigned char*>(object);
        for (const unsigned char* block : m_blocks)
            if (byte >= block && byte < block + kStride * kBlock) return true;
        return false;
    }
    void Give(void* object) {
        auto* slot = static_cast<Slot*>(object);
        slot->next = m_free;
        m_free = slot;
    }

private:
    static constexpr size_t kAlign = alignof(std::max_align_t);
    static constexpr size_t kStride = (kSize + kAlign - 1) / kAlign * kAlign;
    struct Slot {
        Slot* next;
    };
    static_assert(kStride >= sizeof(Slot));

    void Refill() {
        auto* block = static_cast<unsigned char*>(::operator new(kStride* kBlock));
        m_blocks.push_back(block);
        // Threaded from the end, so that slots are handed out in address order.
        for (size_t i = kBlock; i-- > 0;)
            Give(block + i * kStride);
    }

    Slot* m_free = nullptr;
    std::vector<unsigned char*> m_blocks;
};

// The pool for objects of T's size; never destroyed, as pooled objects may outlive statics.
template <class T>
FixedPool<sizeof(T)>& PoolFor() {
    static auto* pool = new FixedPool<sizeof(T)>;
    return *pool;
}

}  // namespace ostrel::platform
