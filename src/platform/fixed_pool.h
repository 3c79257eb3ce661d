// SPDX-License-Identifier: Apache-2.0
// Objects of one size, handed out from blocks that live as long as the process: objects made
// one after another sit next to each other in memory (a walk over thousands of cells touches
// fewer cache lines), and making or freeing one costs a pointer swap. Single-threaded, as
// the engine is.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

namespace ostrel::platform {

class BlockPool {
public:
    // Objects are laid out size rounded up to align apart; align is what the objects need,
    // not the heap's sixteen, so that a 24-byte reference costs 24 bytes.
    BlockPool(size_t size, size_t align)
        : m_stride((std::max(size, sizeof(void*)) + align - 1) / align * align) {}
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

#if defined(OSTREL_PLAIN_ALLOCATION)
    // Sanitizer builds: every object its own allocation, so that use after free is caught.
    void* Take() {
        return ::operator new(m_stride);
    }
    void Give(void* object) {
        ::operator delete(object);
    }
    bool Owns(const void*) const {
        return false;
    }
#else
    void* Take() {
        if (!m_free) Refill();
        Slot* slot = m_free;
        m_free = slot->next;
        return slot;
    }
    void Give(void* object) {
        auto* slot = static_cast<Slot*>(object);
        slot->next = m_free;
        m_free = slot;
    }
    // Whether object came from this pool (a slow search, for rare paths).
    bool Owns(const void* object) const {
        auto* byte = static_cast<const unsigned char*>(object);
        for (const unsigned char* block : m_blocks)
            if (byte >= block && byte < block + m_stride * kBlock) return true;
        return false;
    }
#endif

private:
    size_t m_stride;

#if !defined(OSTREL_PLAIN_ALLOCATION)
    static constexpr size_t kBlock = 1024;
    struct Slot {
        Slot* next;
    };

    void Refill() {
        auto* block = static_cast<unsigned char*>(::operator new(m_stride* kBlock));
        m_blocks.push_back(block);
        // Threaded from the end, so that slots are handed out in address order.
        for (size_t i = kBlock; i-- > 0;)
            Give(block + i * m_stride);
    }

    Slot* m_free = nullptr;
    std::vector<unsigned char*> m_blocks;
#endif
};

// The pool for objects of T's size; never destroyed, as pooled objects may outlive statics.
template <class T>
BlockPool& PoolFor() {
    static_assert(alignof(T) <= alignof(std::max_align_t));
    static auto* pool = new BlockPool(sizeof(T), std::max(alignof(T), alignof(void*)));
    return *pool;
}

// The allocation functions of a pooled class T: objects of exactly T's size come from its
// pool, those of a larger derived class from the heap.
template <class T>
void* PooledNew(size_t size) {
    if (size != sizeof(T)) return ::operator new(size);
    return PoolFor<T>().Take();
}
template <class T>
void PooledDelete(void* object, size_t size) noexcept {
    if (!object) return;
    if (size != sizeof(T))
        ::operator delete(object);
    else
        PoolFor<T>().Give(object);
}
template <class T>
void* PooledNewNothrow(size_t size) noexcept {
    try {
        return PooledNew<T>(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
// Called only when a constructor fails under new (std::nothrow): the size is not known, so
// the pool says whether the memory is its own.
template <class T>
void PooledDeleteNothrow(void* object) noexcept {
    if (!object) return;
    if (PoolFor<T>().Owns(object))
        PoolFor<T>().Give(object);
    else
        ::operator delete(object);
}

// Objects of a family whose members differ in size and need at most pointer alignment
// (formula nodes): one pool for each multiple of 8 bytes up to 128, the global heap above.
class SizedPools {
public:
    static void* Take(size_t size) {
        BlockPool* pool = For(size);
        return pool ? pool->Take() : ::operator new(size);
    }
    static void Give(void* object, size_t size) {
        if (BlockPool* pool = For(size))
            pool->Give(object);
        else
            ::operator delete(object);
    }

private:
    static constexpr size_t kStep = alignof(void*);
    static constexpr size_t kClasses = 128 / kStep;
    static BlockPool* For(size_t size) {
        static BlockPool** pools = [] {
            auto** made = new BlockPool*[kClasses];
            for (size_t i = 0; i < kClasses; ++i)
                made[i] = new BlockPool((i + 1) * kStep, kStep);
            return made;
        }();
        size_t index = (size + kStep - 1) / kStep;
        return index >= 1 && index <= kClasses ? pools[index - 1] : nullptr;
    }
};

}  // namespace ostrel::platform
