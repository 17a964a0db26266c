// runtime_gc_bench.cpp: the collector's costs: allocating and reclaiming
// small collected objects against plain new/delete, one collector step
// with a large live heap (median and 99th percentile), and the sweep and
// release of 4 MiB of garbage.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "runtime/runtime.h"

namespace {

// Objects allocated between two collector steps (one host event's worth).
constexpr int kAllocsPerStep = 1000;

template <int Bytes>
struct Collected : public Object {
    static_assert(Bytes >= 32, "the collected-object header takes 32 bytes");
    char payload[Bytes - sizeof(Object)];
};

template <int Bytes>
struct Plain {
    virtual ~Plain() {}
    char payload[Bytes - sizeof(void *)];
};

// Roots for the benchmarks.
gc_object *g_root;
void mark_bench_root() {
    gc_mark_q(g_root);
}

void reset_heap() {
    g_root = nullptr;
    gc_set_root_marker(mark_bench_root);
    for (int i = 0; i < 2; ++i) {
        gc_force_sweep = true;
        gc_collect();
    }
}

// ---------------------------------------------------------------------------
// Allocation and reclamation
// ---------------------------------------------------------------------------

// Garbage-only allocation with a collector step after every kAllocsPerStep
// objects: sweeps come every 4 MiB, destruction is paid by later
// allocations.
template <int Bytes>
void BM_GcAllocReclaim(benchmark::State &state) {
    reset_heap();
    for (auto _ : state) {
        for (int i = 0; i < kAllocsPerStep; ++i) benchmark::DoNotOptimize(new Collected<Bytes>);
        gc_collect();
    }
    state.SetItemsProcessed(state.iterations() * kAllocsPerStep);
    reset_heap();
}

template <int Bytes>
void BM_NewDelete(benchmark::State &state) {
    std::vector<Plain<Bytes> *> batch(kAllocsPerStep);
    for (auto _ : state) {
        for (auto &p : batch) {
            p = new Plain<Bytes>;
            benchmark::DoNotOptimize(p);
        }
        for (auto p : batch) delete p;
    }
    state.SetItemsProcessed(state.iterations() * kAllocsPerStep);
}

BENCHMARK_TEMPLATE(BM_GcAllocReclaim, 32);
BENCHMARK_TEMPLATE(BM_NewDelete, 32);
BENCHMARK_TEMPLATE(BM_GcAllocReclaim, 40);
BENCHMARK_TEMPLATE(BM_NewDelete, 40);
BENCHMARK_TEMPLATE(BM_GcAllocReclaim, 48);
BENCHMARK_TEMPLATE(BM_NewDelete, 48);
BENCHMARK_TEMPLATE(BM_GcAllocReclaim, 56);
BENCHMARK_TEMPLATE(BM_NewDelete, 56);

// ---------------------------------------------------------------------------
// Collector steps over a live heap
// ---------------------------------------------------------------------------

// A node of a binary tree of live objects.
struct Node : public Object {
    Node *left = nullptr;
    Node *right = nullptr;
    void mark() override {
        gc_mark_q(left);
        gc_mark_q(right);
    }
};

Node *build_tree(int count) {
    std::vector<Node *> nodes(static_cast<std::size_t>(count));
    for (auto &n : nodes) n = new Node;
    for (int i = 0; i < count; ++i) {
        if (2 * i + 1 < count) gc_assign(nodes[i]->left, nodes[2 * i + 1]);
        if (2 * i + 2 < count) gc_assign(nodes[i]->right, nodes[2 * i + 2]);
    }
    return nodes[0];
}

// Thread CPU time in microseconds: steadier than the wall clock on a
// machine shared with other work.
double cpu_micros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

double percentile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    std::size_t i = static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(i, v.size() - 1)];
}

// Every step (thread CPU time) of whole marking cycles over a live tree; each cycle ends in a
// sweep (4 MiB of garbage is allocated, untimed, before it starts).
void BM_GcCollectStep(benchmark::State &state) {
    reset_heap();
    int live = static_cast<int>(state.range(0));
    gc_assign(g_root, build_tree(live));
    gc_force_sweep = true;
    gc_collect();
    std::vector<double> micros;
    for (auto _ : state) {
        double t0 = cpu_micros();
        gc_collect();
        double us = cpu_micros() - t0;
        micros.push_back(us);
        state.SetIterationTime(us / 1e6);
        if (gc_queued_list.succ == &gc_queued_list) {
            // Cycle complete (swept or waiting): make the next one sweep.
            state.PauseTiming();
            {
                Array<int> garbage(kGcSweepThresholdBytes / 4 + 1);
                benchmark::DoNotOptimize(garbage.Data());
            }
            state.ResumeTiming();
        }
    }
    state.counters["median_us"] = percentile(micros, 0.5);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["steps_per_cycle"] = (live + kGcMarkBudgetObjects - 1) / kGcMarkBudgetObjects;
    reset_heap();
}
BENCHMARK(BM_GcCollectStep)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(2000);

// ---------------------------------------------------------------------------
// Sweeping 4 MiB of garbage
// ---------------------------------------------------------------------------

// The step that sweeps 4 MiB of 32-byte garbage objects with 10 000 live
// ones, and the release of that garbage (gc_flush_free, as a forced sweep
// does), timed separately.
void BM_GcSweep4MiB(benchmark::State &state) {
    reset_heap();
    gc_assign(g_root, build_tree(10000));
    gc_force_sweep = true;
    gc_collect();
    constexpr int kGarbageObjects = kGcSweepThresholdBytes / 32 + 1;
    std::vector<double> sweep_us, release_us;
    for (auto _ : state) {
        state.PauseTiming();
        while (gc_queued_list.succ != &gc_queued_list) gc_collect();  // finish marking
        for (int i = 0; i < kGarbageObjects; ++i) benchmark::DoNotOptimize(new Collected<32>);
        state.ResumeTiming();
        double t0 = cpu_micros();
        gc_collect();  // marking is done and 4 MiB have grown: this step sweeps
        double t1 = cpu_micros();
        gc_flush_free(gc_free_bytes);
        double t2 = cpu_micros();
        sweep_us.push_back(t1 - t0);
        release_us.push_back(t2 - t1);
        state.SetIterationTime((t2 - t0) / 1e6);
    }
    state.counters["sweep_median_us"] = percentile(sweep_us, 0.5);
    state.counters["release_median_us"] = percentile(release_us, 0.5);
    reset_heap();
}
BENCHMARK(BM_GcSweep4MiB)->UseManualTime()->Iterations(30)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
