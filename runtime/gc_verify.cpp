// gc_verify.cpp: the heap verifier and the stress-mode collector step.
#include "runtime/gc_verify.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "runtime/gc.h"
#include "runtime/gc_internal.h"

namespace {

// ---------------------------------------------------------------------------
// Types and constants
// ---------------------------------------------------------------------------

enum class Where { Unmarked, Queued, Marked, Free, Destroyed };

const char *where_name(Where w) {
    switch (w) {
        case Where::Unmarked:
            return "unmarked";
        case Where::Queued:
            return "queued";
        case Where::Marked:
            return "marked";
        case Where::Free:
            return "free";
        case Where::Destroyed:
            return "destroyed";
    }
    return "?";
}

// A list longer than this is taken to be corrupt (a cycle that misses the
// head).
constexpr long kMaxListLength = 100000000;
// Faults reported in full before the rest are only counted.
constexpr int kMaxReportedFaults = 20;

struct Verifier {
    std::unordered_map<const gc_object *, Where> where;
    std::ostringstream report;
    int faults = 0;

    void Fault(const std::string &text) {
        if (++faults <= kMaxReportedFaults) report << text << "\n";
    }

    // Walks one list, checking links and colours; returns the bytes and the
    // object count on it.
    void WalkList(gc_object &head, Where w, long long *bytes, long *count) {
        *bytes = 0;
        *count = 0;
        gc_object *prev = &head;
        for (gc_object *p = head.succ; p != &head; p = p->succ) {
            if (!p || p->pred != prev) {
                std::ostringstream s;
                s << where_name(w) << " list: broken link at " << p;
                Fault(s.str());
                return;
            }
            if (++*count > kMaxListLength) {
                Fault(std::string(where_name(w)) + " list: does not end");
                return;
            }
            int colour = p->flags & 3;
            int size = p->flags & ~7;
            bool colour_ok =
                w == Where::Free ||
                (w == Where::Unmarked ? colour == gc_markbit : colour == (gc_markbit ^ 1));
            if (!colour_ok || size < static_cast<int>(sizeof(gc_object))) {
                std::ostringstream s;
                s << where_name(w) << " list: object " << p << " has colour " << colour
                  << " and size " << size << " (unmarked colour is " << gc_markbit << ")";
                Fault(s.str());
            }
            if (!where.emplace(p, w).second) {
                std::ostringstream s;
                s << "object " << p << " is on two lists";
                Fault(s.str());
            }
            *bytes += size;
            prev = p;
        }
        if (head.pred != prev) Fault(std::string(where_name(w)) + " list: head's pred is wrong");
    }

    void CheckCounter(const char *name, long long actual, long long counted) {
        if (actual == counted) return;
        std::ostringstream s;
        s << name << " is " << actual << " but the lists hold " << counted;
        Fault(s.str());
    }

    // Blocks in gc_cache hold no object (some never held one), so their
    // links are read without the sanitizer's dynamic type check.
    __attribute__((no_sanitize("vptr"))) void NoteCachedBlocks() {
        for (int k = 0; k < kGcCacheClasses; ++k) {
            long n = 0;
            for (gc_object *p = gc_cache[k]; p && n <= kMaxListLength; p = p->succ, ++n) {
                where.emplace(p, Where::Destroyed);
            }
        }
    }

    // Checks the references of one live object; a reference outside the
    // lists may point at raw storage, so its colour is read unchecked.
    __attribute__((no_sanitize("vptr"))) void CheckReferences(gc_object *p, Where w,
                                                              std::vector<gc_object *> &refs) {
        for (gc_object *r : refs) {
            auto it = where.find(r);
            std::ostringstream s;
            if (it == where.end()) {
                if ((r->flags & 3) == kGcStaticColour) continue;  // a static empty array
                s << where_name(w) << " object " << p << " refers to " << r
                  << ", which is no collected object";
            } else if (it->second == Where::Free || it->second == Where::Destroyed) {
                s << where_name(w) << " object " << p << " refers to " << where_name(it->second)
                  << " object " << r;
            } else if (w == Where::Marked && it->second == Where::Unmarked) {
                s << "marked object " << p << " refers to unmarked object " << r
                  << " (a store without the write barrier)";
            } else {
                continue;
            }
            Fault(s.str());
        }
    }
};

std::vector<gc_object *> *probe_out;

void record_reference(gc_object *p) {
    probe_out->push_back(p);
}

bool stress_on;

void fail_on_faults(const char *when) {
    std::string report = gc_verify_heap();
    if (report.empty()) return;
    std::fprintf(stderr, "gc stress mode: heap invariant broken %s:\n%s", when, report.c_str());
    std::fflush(stderr);
    std::abort();
}

// The stress-mode collector step.
void stress_collect() {
    fail_on_faults("before the collection");
    // The first sweep ends the cycle the application ran in (everything it
    // reached is black and survives); the second one starts from the roots
    // alone and releases all that is unreachable now.
    gc_force_sweep = true;
    gc_collect_step();
    gc_force_sweep = true;
    gc_collect_step();
    gc_drain_queue();
    fail_on_faults("after the collection");
}

}  // namespace

// ---------------------------------------------------------------------------
// Functions
// ---------------------------------------------------------------------------

std::string gc_verify_heap() {
    Verifier v;
    v.NoteCachedBlocks();

    long long unmarked_bytes, queued_bytes, marked_bytes, free_bytes;
    long unmarked_n, queued_n, marked_n, free_n;
    v.WalkList(gc_unmarked_list, Where::Unmarked, &unmarked_bytes, &unmarked_n);
    v.WalkList(gc_queued_list, Where::Queued, &queued_bytes, &queued_n);
    v.WalkList(gc_marked_list, Where::Marked, &marked_bytes, &marked_n);
    v.WalkList(gc_free_list, Where::Free, &free_bytes, &free_n);

    v.CheckCounter("gc_alloced_bytes", gc_alloced_bytes,
                   unmarked_bytes + queued_bytes + marked_bytes);
    v.CheckCounter("gc_marked_bytes", gc_marked_bytes, marked_bytes);
    v.CheckCounter("gc_marked_objs", gc_marked_objs, marked_n);
    v.CheckCounter("gc_free_bytes", gc_free_bytes, free_bytes);

    if (v.faults == 0) {
        std::vector<gc_object *> refs;
        probe_out = &refs;
        gc_reference_probe = record_reference;
        for (auto &entry : v.where) {
            Where w = entry.second;
            if (w == Where::Free || w == Where::Destroyed) continue;
            refs.clear();
            gc_object *p = const_cast<gc_object *>(entry.first);
            p->mark();
            v.CheckReferences(p, w, refs);
        }
        gc_reference_probe = nullptr;
        probe_out = nullptr;
    }
    if (v.faults > kMaxReportedFaults) {
        v.report << "(" << v.faults - kMaxReportedFaults << " more faults)\n";
    }
    return v.report.str();
}

void gc_set_stress_mode(bool on) {
    stress_on = on;
    gc_collect_override = on ? stress_collect : nullptr;
}

bool gc_stress_mode() {
    return stress_on;
}
