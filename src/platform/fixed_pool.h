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
#if defined(OSTREL_PLAIN_ALLOCATION)
    // Sanitizer builds: every object its own allocation, so that use after free is caught.
    void* Take() {
        return ::operator new(kSize);
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
#endif

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

// Objects of a family whose members differ in size (formula nodes): one pool for each
// multiple of 16 bytes up to 128, the global heap above that.
class SizedPools {
public:
    static void* Take(size_t size) {
        switch ((size + 15) / 16) {
            case 1:
                return Pool<16>().Take();
            case 2:
                return Pool<32>().Take();
            case 3:
                return Pool<48>().Take();
            case 4:
                return Pool<64>().Take();
            case 5:
                return Pool<80>().Take();
            case 6:
                return Pool<96>().Take();
            case 7:
                return Pool<112>().Take();
            case 8:
                return Pool<128>().Take();
            default:
                return ::operator new(size);
        }
    }
    static void Give(void* object, size_t size) {
        switch ((size + 15) / 16) {
            case 1:
                return Pool<16>().Give(object);
            case 2:
                return Pool<32>().Give(object);
            case 3:
                return Pool<48>().Give(object);
            case 4:
                return Pool<64>().Give(object);
            case 5:
                return Pool<80>().Give(object);
            case 6:
                return Pool<96>().Give(object);
            case 7:
                return Pool<112>().Give(object);
            case 8:
                return Pool<128>().Give(object);
            default:
                ::operator delete(object);
        }
    }

private:
    template <size_t kSize>
    static FixedPool<kSize>& Pool() {
        static auto* pool = new FixedPool<kSize>;
        return *pool;
    }
};

}  // namespace ostrel::platform
