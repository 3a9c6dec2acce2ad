// The paragraph index behind TOvcParaList's lookups: paragraphs in blocks, and Fenwick trees
// over the blocks' paragraph and line counts. Internal to the text buffer.
#pragma once

#include "editor/OvcParaList.h"

#include <cstdint>
#include <vector>

namespace wexly {

// Blocks split when they grow past this many paragraphs.
inline constexpr size_t kMaxBlockParas = 512;

struct TOvcParaList::TBlock
{
    std::vector<TParaNode*> nodes; // in text order; never empty
    int32_t lines = 0; // sum of the nodes' line counts
};

struct TOvcParaList::TLocation
{
    TParaNode* node = nullptr; // null when out of range
    int32_t para = 0;
    int32_t block = -1;
    int32_t index = 0; // within the block
    int32_t firstLine = 0; // document line of the paragraph's first display line
};

// tree[1..n] over values[0..n-1].
void FenwickBuild(std::vector<int32_t>& tree, const std::vector<int32_t>& values);
void FenwickAdd(std::vector<int32_t>& tree, int32_t index, int32_t delta);
// Sum of values[0..index).
int32_t FenwickPrefix(const std::vector<int32_t>& tree, int32_t index);
// Smallest index whose inclusive prefix sum reaches k (k >= 1), and the sum before it.
int32_t FenwickFind(const std::vector<int32_t>& tree, int32_t k, int32_t& before);

} // namespace wexly
