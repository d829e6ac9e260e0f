// Containers beside the standard ones doing the same work.
//   ListIndexLoop vs StdListWalk:   read every element of 10,000 by index
//   ListSort vs StdSort:            sort 100,000 ints
//   HashInsertLookup vs StdUnorderedMap: 100,000 string keys stored, then found
#include <benchmark/benchmark.h>

#include <algorithm>
#include <list>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include <zep2/hash.h>
#include <zep2/list.h>

namespace {

constexpr int kListSize = 10000;
constexpr int kSortSize = 100000;
constexpr int kKeyCount = 100000;

std::vector<int> randomInts(int n) {
    std::mt19937 rng(42);
    std::vector<int> values(n);
    for (int& v : values) v = static_cast<int>(rng());
    return values;
}

std::vector<std::string> keyTexts(int n) {
    std::mt19937 rng(7);
    std::vector<std::string> keys;
    keys.reserve(n);
    for (int i = 0; i < n; ++i) keys.push_back("key" + std::to_string(i) + "_" + std::to_string(rng() % 1000));
    return keys;
}

void ListIndexLoop(benchmark::State& state) {
    Zep::List<int> list;
    for (int i = 0; i < kListSize; ++i) list.add(i);
    for (auto _ : state) {
        long sum = 0;
        for (int i = 0; i < list.getCount(); ++i) sum += list[i];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kListSize);
}
BENCHMARK(ListIndexLoop);

void StdListWalk(benchmark::State& state) {
    std::list<int> list;
    for (int i = 0; i < kListSize; ++i) list.push_back(i);
    for (auto _ : state) {
        long sum = 0;
        for (int v : list) sum += v;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kListSize);
}
BENCHMARK(StdListWalk);

void ListSort(benchmark::State& state) {
    const std::vector<int> values = randomInts(kSortSize);
    for (auto _ : state) {
        state.PauseTiming();
        Zep::List<int> list;
        for (int v : values) list.add(v);
        state.ResumeTiming();
        list.sort();
        benchmark::DoNotOptimize(list.getHead());
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kSortSize);
}
BENCHMARK(ListSort)->Unit(benchmark::kMillisecond);

void StdSort(benchmark::State& state) {
    const std::vector<int> values = randomInts(kSortSize);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<int> copy = values;
        state.ResumeTiming();
        std::sort(copy.begin(), copy.end());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * kSortSize);
}
BENCHMARK(StdSort)->Unit(benchmark::kMillisecond);

void StdListSort(benchmark::State& state) {
    const std::vector<int> values = randomInts(kSortSize);
    for (auto _ : state) {
        state.PauseTiming();
        std::list<int> list(values.begin(), values.end());
        state.ResumeTiming();
        list.sort();
        benchmark::DoNotOptimize(list.front());
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kSortSize);
}
BENCHMARK(StdListSort)->Unit(benchmark::kMillisecond);

// The table is built at the size a rehash would pick for the key count; the
// default 97 buckets would make this a test of chain length.
void HashInsertLookup(benchmark::State& state) {
    const std::vector<std::string> texts = keyTexts(kKeyCount);
    std::vector<Zep::String> keys;
    keys.reserve(texts.size());
    for (const std::string& t : texts) keys.emplace_back(t.c_str());
    using Table = Zep::Hash<Zep::String, int>;
    for (auto _ : state) {
        Table table(Table::getTableSize(kKeyCount));
        for (int i = 0; i < kKeyCount; ++i) table.set(keys[i], i);
        long sum = 0;
        for (int i = 0; i < kKeyCount; ++i) sum += table.get(keys[i]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kKeyCount * 2);
}
BENCHMARK(HashInsertLookup)->Unit(benchmark::kMillisecond);

void StdUnorderedMap(benchmark::State& state) {
    const std::vector<std::string> keys = keyTexts(kKeyCount);
    for (auto _ : state) {
        std::unordered_map<std::string, int> table;
        for (int i = 0; i < kKeyCount; ++i) table[keys[i]] = i;
        long sum = 0;
        for (int i = 0; i < kKeyCount; ++i) sum += table.at(keys[i]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kKeyCount * 2);
}
BENCHMARK(StdUnorderedMap)->Unit(benchmark::kMillisecond);

// Lookups alone, in a table filled beforehand (at 97 buckets, then rehashed,
// as the loaders do). Keys go in shuffled and are looked up in key order, so
// neither table finds its nodes laid out in lookup order while the probe keys
// themselves are read in sequence.
std::vector<int> shuffledIndexes(int n) {
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(99));
    return order;
}

void HashLookup(benchmark::State& state) {
    const std::vector<std::string> texts = keyTexts(kKeyCount);
    const std::vector<int> order = shuffledIndexes(kKeyCount);
    std::vector<Zep::String> keys;
    for (const std::string& t : texts) keys.emplace_back(t.c_str());
    Zep::Hash<Zep::String, int> table;
    for (int i : order) table.set(keys[i], i);
    table.rehash();
    for (auto _ : state) {
        long sum = 0;
        for (int i = 0; i < kKeyCount; ++i) sum += table.get(keys[i]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kKeyCount);
}
BENCHMARK(HashLookup)->Unit(benchmark::kMillisecond);

void StdUnorderedMapLookup(benchmark::State& state) {
    const std::vector<std::string> keys = keyTexts(kKeyCount);
    const std::vector<int> order = shuffledIndexes(kKeyCount);
    std::unordered_map<std::string, int> table;
    for (int i : order) table[keys[i]] = i;
    for (auto _ : state) {
        long sum = 0;
        for (int i = 0; i < kKeyCount; ++i) sum += table.at(keys[i]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kKeyCount);
}
BENCHMARK(StdUnorderedMapLookup)->Unit(benchmark::kMillisecond);

}  // namespace
