#include "editor/OvcParaListIndex.h"

namespace wexly {

void FenwickBuild(std::vector<int32_t>& tree, const std::vector<int32_t>& values)
{
    size_t n = values.size();
    tree.assign(n + 1, 0);
    for (size_t i = 1; i <= n; ++i) {
        tree[i] += values[i - 1];
        size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            tree[parent] += tree[i];
    }
}

void FenwickAdd(std::vector<int32_t>& tree, int32_t index, int32_t delta)
{
    for (auto i = static_cast<size_t>(index) + 1; i < tree.size(); i += i & (~i + 1))
        tree[i] += delta;
}

int32_t FenwickPrefix(const std::vector<int32_t>& tree, int32_t index)
{
    int32_t sum = 0;
    for (auto i = static_cast<size_t>(index); i > 0; i -= i & (~i + 1))
        sum += tree[i];
    return sum;
}

int32_t FenwickFind(const std::vector<int32_t>& tree, int32_t k, int32_t& before)
{
    size_t n = tree.size() - 1;
    size_t step = 1;
    while (step * 2 <= n)
        step *= 2;
    size_t pos = 0;
    int32_t rem = k;
    for (; step > 0; step /= 2) {
        if (pos + step <= n && tree[pos + step] < rem) {
            pos += step;
            rem -= tree[pos];
        }
    }
    before = k - rem;
    return static_cast<int32_t>(pos);
}

} // namespace wexly
