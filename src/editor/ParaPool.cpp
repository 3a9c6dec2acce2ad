#include "editor/ParaPool.h"

#include <cassert>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define WEXLY_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WEXLY_POOL_ASAN 1
#endif
#endif

#ifdef WEXLY_POOL_ASAN
#include <sanitizer/asan_interface.h>
#define POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POOL_POISON(p, n) ((void)(p), (void)(n))
#define POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace wexly {

namespace {
constexpr size_t kFirstSlab = 4096;
constexpr size_t kMaxSlab = size_t { 1 } << 20;
#ifdef WEXLY_POOL_ASAN
// Poisoned gap after every small block, so that overruns into the neighbour are caught.
constexpr size_t kRedzone = 16;
constexpr size_t kQuarantine = 256;
#else
constexpr size_t kRedzone = 0;
#endif
} // namespace

TParaPool::~TParaPool()
{
    Release();
}

size_t TParaPool::SlotBytes(size_t bytes)
{
    return (ClassOf(bytes) + 1) * kGranule + kRedzone;
}

TParaPool::TChunk* TParaPool::Chain(TChunk*& head, size_t bytes) noexcept
{
    auto* chunk = static_cast<TChunk*>(std::malloc(sizeof(TChunk) + bytes));
    if (!chunk)
        return nullptr;
    chunk->Prev = nullptr;
    chunk->Next = head;
    chunk->Bytes = bytes;
    if (head)
        head->Prev = chunk;
    head = chunk;
    m_heldBytes += bytes;
    return chunk;
}

void TParaPool::Unchain(TChunk*& head, TChunk* chunk) noexcept
{
    if (chunk->Prev)
        chunk->Prev->Next = chunk->Next;
    else
        head = chunk->Next;
    if (chunk->Next)
        chunk->Next->Prev = chunk->Prev;
}

void* TParaPool::Carve(size_t slot) noexcept
{
    if (static_cast<size_t>(m_bumpEnd - m_bump) < slot) {
        // The rest of the old slab is dropped: at most one small block's worth.
        size_t size = m_nextSlab ? m_nextSlab : kFirstSlab;
        TChunk* chunk = Chain(m_slabs, size);
        if (!chunk)
            return nullptr;
        m_nextSlab = size < kMaxSlab ? size * 2 : kMaxSlab;
        m_bump = reinterpret_cast<char*>(chunk + 1);
        m_bumpEnd = m_bump + size;
        POOL_POISON(m_bump, size);
    }
    void* block = m_bump;
    m_bump += slot;
    return block;
}

void* TParaPool::Allocate(size_t bytes) noexcept
{
    assert(bytes > 0);
    if (bytes > kMaxSmall) {
        TChunk* chunk = Chain(m_large, bytes);
        return chunk ? chunk + 1 : nullptr;
    }
    size_t cls = ClassOf(bytes);
    void* block = m_free[cls];
    if (block) {
        POOL_UNPOISON(block, sizeof(TFreeSlot));
        m_free[cls] = m_free[cls]->Next;
    } else {
        block = Carve(SlotBytes(bytes));
        if (!block)
            return nullptr;
    }
    POOL_UNPOISON(block, bytes);
    return block;
}

void TParaPool::Free(void* block, size_t bytes) noexcept
{
    if (!block)
        return;
    if (bytes > kMaxSmall) {
        TChunk* chunk = static_cast<TChunk*>(block) - 1;
        assert(chunk->Bytes == bytes);
        Unchain(m_large, chunk);
        m_heldBytes -= chunk->Bytes;
        std::free(chunk);
        return;
    }
    size_t cls = ClassOf(bytes);
#ifdef WEXLY_POOL_ASAN
    POOL_POISON(block, (cls + 1) * kGranule);
    if (m_quarantine.size() < kQuarantine) {
        m_quarantine.emplace_back(block, cls);
        return;
    }
    std::pair<void*, size_t> oldest = m_quarantine[m_quarantineNext];
    m_quarantine[m_quarantineNext] = { block, cls };
    m_quarantineNext = (m_quarantineNext + 1) % kQuarantine;
    block = oldest.first;
    cls = oldest.second;
#endif
    PushFree(block, cls);
}

void TParaPool::PushFree(void* block, size_t cls) noexcept
{
    auto* slot = static_cast<TFreeSlot*>(block);
    POOL_UNPOISON(slot, sizeof(TFreeSlot));
    slot->Next = m_free[cls];
    m_free[cls] = slot;
    POOL_POISON(slot, (cls + 1) * kGranule);
}

void TParaPool::Release() noexcept
{
    for (TChunk* c = m_large; c;) {
        TChunk* next = c->Next;
        std::free(c);
        c = next;
    }
    for (TChunk* c = m_slabs; c;) {
        TChunk* next = c->Next;
        POOL_UNPOISON(c + 1, c->Bytes);
        std::free(c);
        c = next;
    }
    m_large = m_slabs = nullptr;
    m_free = {};
    m_quarantine.clear();
    m_quarantineNext = 0;
    m_bump = m_bumpEnd = nullptr;
    m_nextSlab = 0;
    m_heldBytes = 0;
}

} // namespace wexly
