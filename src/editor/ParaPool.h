// Storage for the paragraphs of one text buffer. Nodes, text blocks and line maps are carved
// from large slabs in size classes with a free list each, so that dropping a whole document
// releases a few hundred slabs instead of millions of separate blocks, and loading allocates
// rarely. Blocks larger than the biggest class come from the heap but are tracked, so that
// Release frees them as well.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace wexly {

class TParaPool
{
public:
    TParaPool() = default;
    ~TParaPool();
    TParaPool(const TParaPool&) = delete;
    TParaPool& operator=(const TParaPool&) = delete;

    // A block of bytes (> 0) aligned for pointers; null when memory runs out.
    void* Allocate(size_t bytes) noexcept;
    // Returns a block from Allocate; bytes must be the size it was asked for.
    void Free(void* block, size_t bytes) noexcept;
    // Frees every block at once; every block handed out so far becomes invalid.
    void Release() noexcept;

    // Bytes held from the system (slabs and large blocks), for tests and measurements.
    size_t HeldBytes() const { return m_heldBytes; }

    // What a small block of bytes takes from its slab (its class's size, and in sanitizer
    // builds the guard after it); for estimates of what a text will need.
    static size_t SlotBytes(size_t bytes);

    static constexpr size_t kGranule = 8; // class step; also the alignment of small blocks
    static constexpr size_t kMaxSmall = 512; // larger blocks come from the heap

private:
    struct TFreeSlot
    {
        TFreeSlot* Next;
    };
    // Header of a slab and of a large block: all of them are chained for Release.
    struct alignas(8) TChunk
    {
        TChunk* Prev;
        TChunk* Next;
        size_t Bytes;
    };

    static size_t ClassOf(size_t bytes) { return (bytes + kGranule - 1) / kGranule - 1; }
    void* Carve(size_t slot) noexcept;
    void PushFree(void* block, size_t cls) noexcept;
    static void Unchain(TChunk*& head, TChunk* chunk) noexcept;
    // A chunk of bytes from the heap put at the front of the chain head; null when refused.
    TChunk* Chain(TChunk*& head, size_t bytes) noexcept;

    std::array<TFreeSlot*, kMaxSmall / kGranule> m_free {};
    TChunk* m_slabs = nullptr;
    TChunk* m_large = nullptr;
    char* m_bump = nullptr; // unused rest of the newest slab
    char* m_bumpEnd = nullptr;
    size_t m_nextSlab = 0; // size of the next slab; grows so that small documents stay small
    size_t m_heldBytes = 0;
    // Sanitizer builds only: freed small blocks wait here (poisoned) before they can be
    // handed out again, so that a stale paragraph pointer is still reported after a few
    // more allocations. Block and class.
    std::vector<std::pair<void*, size_t>> m_quarantine;
    size_t m_quarantineNext = 0;
};

} // namespace wexly
