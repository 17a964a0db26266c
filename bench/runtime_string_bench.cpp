// runtime_string_bench.cpp: String concatenation, Slice, Split and Load of
// a 64 KiB UTF-8 text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

constexpr std::size_t kTextBytes = 64 * 1024;

// 64 KiB of UTF-8 lines mixing ASCII, two- and three-byte characters.
const std::vector<unsigned char> &utf8_text() {
    static const std::vector<unsigned char> bytes = [] {
        std::string s;
        for (int i = 0; s.size() < kTextBytes; ++i) {
            s += "line " + std::to_string(i) + ": caf\xC3\xA9 costs 3 \xE2\x82\xAC|ok\n";
        }
        s.resize(kTextBytes);
        while ((static_cast<unsigned char>(s.back()) & 0xC0) == 0x80 ||
               static_cast<unsigned char>(s.back()) >= 0xC0) {
            s.back() = '.';  // no sequence cut at the end
        }
        return std::vector<unsigned char>(s.begin(), s.end());
    }();
    return bytes;
}

const String &text() {
    static const String s = String::Load(utf8_text().data(), static_cast<int>(utf8_text().size()));
    return s;
}

void BM_StringLoad64KiB(benchmark::State &state) {
    const auto &bytes = utf8_text();
    for (auto _ : state) {
        String s = String::Load(bytes.data(), static_cast<int>(bytes.size()));
        benchmark::DoNotOptimize(s.Data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
}
BENCHMARK(BM_StringLoad64KiB);

void BM_StringConcat64KiB(benchmark::State &state) {
    const String &a = text();
    String b = a.Slice(1);
    for (auto _ : state) {
        String s = a + b;
        benchmark::DoNotOptimize(s.Data());
    }
}
BENCHMARK(BM_StringConcat64KiB);

// Building a line from short pieces, as the game composes its state string.
void BM_StringAppendPieces(benchmark::State &state) {
    for (auto _ : state) {
        String s;
        for (int i = 0; i < 98; ++i) s = s + String(i * 7919) + "|";
        benchmark::DoNotOptimize(s.Data());
    }
}
BENCHMARK(BM_StringAppendPieces);

void BM_StringSlice64KiB(benchmark::State &state) {
    const String &t = text();
    int n = t.Length();
    for (auto _ : state) {
        String s = t.Slice(n / 4, 3 * n / 4);
        benchmark::DoNotOptimize(s.Data());
    }
}
BENCHMARK(BM_StringSlice64KiB);

void BM_StringSplit64KiB(benchmark::State &state) {
    const String &t = text();
    gc_set_root_marker(nullptr);
    long long pieces = 0;
    for (auto _ : state) {
        Array<String> lines = t.Split("\n");
        pieces = lines.Length();
        benchmark::DoNotOptimize(lines.Data());
        gc_collect();  // the arrays become garbage, reclaimed as in the game
    }
    state.counters["pieces"] = static_cast<double>(pieces);
}
BENCHMARK(BM_StringSplit64KiB);

}  // namespace
