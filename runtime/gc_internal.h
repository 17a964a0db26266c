// gc_internal.h: collector entry points for the heap verifier and its stress
// mode (runtime/gc_verify.h). Not for application code.
#ifndef TESSELON_RUNTIME_GC_INTERNAL_H
#define TESSELON_RUNTIME_GC_INTERNAL_H

#include "runtime/gc.h"

// When set, gc_mark_q and gc_mark_now report each non-null reference to it
// instead of marking (the verifier enumerates an object's references by
// running its mark()).
extern void (*gc_reference_probe)(gc_object *p);
// When set, gc_collect calls it instead of taking one collector step.
extern void (*gc_collect_override)();

// One collector step exactly as gc_collect takes it without an override.
void gc_collect_step();
// Marks until the queue is empty, with no budget and no sweep.
void gc_drain_queue();
// Growth since the last sweep, as the next step sees it.
int gc_bytes_since_sweep();

#endif
