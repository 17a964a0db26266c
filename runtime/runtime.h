// runtime.h: the runtime core in one include: collected objects and the
// collector (gc.h), Object (object.h), String (bbstring.h), Array<T>
// (array.h), console output and runtime errors (errors.h).
//
// Quick reference:
//   c_Foo *p = new c_Foo;          // collected; never delete it
//   gc_assign(m_field, p);         // every store into a field or root global
//   gc_assign(m_items, Array<int>(10));
//   Array<c_Foo *> a(4); a[0] = p; // element stores apply the barrier
//   void c_Bar::mark() { gc_mark_q(m_field); gc_mark_q(m_items); }
#ifndef TESSELON_RUNTIME_RUNTIME_H
#define TESSELON_RUNTIME_RUNTIME_H

#include "runtime/gc.h"
#include "runtime/bbstring.h"
#include "runtime/object.h"
#include "runtime/array.h"
#include "runtime/errors.h"

#endif
