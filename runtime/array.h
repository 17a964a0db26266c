// array.h: Array<T>, the fixed-length array whose storage is a collected
// object.
//
// Element types: int, float, bool, String and pointers to collected classes
// or interfaces. An Array value holds one pointer to its representation;
// copying it shares the elements. A new array is zero-filled (strings empty);
// every array of length 0 of one element type shares one static
// representation that the collector never touches.
//
// Stores: an Array stored into a field of a collected object or a root
// global goes through the barrier, gc_assign(field, array). Elements of an
// array of references are written through a proxy that applies the barrier:
// `a[i] = obj` is safe. Element access is not range-tested.
#ifndef TESSELON_RUNTIME_ARRAY_H
#define TESSELON_RUNTIME_ARRAY_H

#include <climits>
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

#include "runtime/bbstring.h"
#include "runtime/gc.h"

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

template <class T>
class Array {
public:
    // True for arrays of references (pointers to collected objects).
    static constexpr bool kHoldsRefs = std::is_pointer<T>::value;
    static_assert(std::is_same<T, int>::value || std::is_same<T, float>::value ||
                      std::is_same<T, bool>::value || std::is_same<T, String>::value || kHoldsRefs,
                  "Array holds int, float, bool, String or object pointers");

    // The representation: a collected object followed by the elements.
    class Rep : public gc_object {
    public:
        int length;

        explicit Rep(int n) : length(n) { std::uninitialized_value_construct_n(elements(), n); }
        Rep(int n, const T *source) : length(n) {
            std::uninitialized_copy_n(source, n, elements());
        }
        constexpr explicit Rep(gc_static_tag tag) : gc_object(tag), length(0) {}
        ~Rep() override { std::destroy_n(elements(), length); }

        void mark() override {
            if constexpr (kHoldsRefs) gc_mark_elements(length, elements());
        }

        T *elements() {
            return reinterpret_cast<T *>(reinterpret_cast<char *>(this) + HeaderBytes());
        }
        const T *elements() const {
            return reinterpret_cast<const T *>(reinterpret_cast<const char *>(this) +
                                               HeaderBytes());
        }

        static void *operator new(std::size_t size, int n) {
            (void)size;
            std::size_t bytes = HeaderBytes() + sizeof(T) * std::size_t(n);
            if (bytes > static_cast<std::size_t>(INT_MAX) - 8) throw std::bad_alloc();
            return gc_object_alloc(static_cast<int>(bytes));
        }
        // Only reached when a constructor throws.
        static void operator delete(void *p, int) { gc_object::operator delete(p); }
        static void operator delete(void *p) { gc_object::operator delete(p); }

    private:
        static constexpr std::size_t HeaderBytes();
    };

    // Element of an array of references: reads as the pointer, assignment
    // goes through the write barrier.
    class ElementRef {
    public:
        explicit ElementRef(T *slot) : slot_(slot) {}
        operator T() const { return *slot_; }
        T operator->() const { return *slot_; }
        ElementRef &operator=(T value) {
            gc_mark_q(value);
            *slot_ = value;
            return *this;
        }
        ElementRef &operator=(const ElementRef &o) { return *this = static_cast<T>(o); }
        friend bool operator==(const ElementRef &a, T b) { return *a.slot_ == b; }
        friend bool operator!=(const ElementRef &a, T b) { return *a.slot_ != b; }

    private:
        T *slot_;
    };

    using Reference = typename std::conditional<kHoldsRefs, ElementRef, T &>::type;
    using MutablePointer = typename std::conditional<kHoldsRefs, const T *, T *>::type;

    // The shared empty array.
    static Rep nullRep;

    Array() : rep_(&nullRep) {}
    // length zero-filled elements; length <= 0 gives the shared empty array.
    explicit Array(int length) : rep_(length > 0 ? new (length) Rep(length) : &nullRep) {}
    // A copy of length elements of source.
    Array(const T *source, int length)
        : rep_(length > 0 ? new (length) Rep(length, source) : &nullRep) {}

    int Length() const { return rep_->length; }
    Reference operator[](int i) {
        if constexpr (kHoldsRefs) {
            return ElementRef(&rep_->elements()[i]);
        } else {
            return rep_->elements()[i];
        }
    }
    const T &operator[](int i) const { return rep_->elements()[i]; }
    // Raw elements; for arrays of references read-only (stores need the barrier).
    MutablePointer Data() { return rep_->elements(); }
    const T *Data() const { return rep_->elements(); }
    const T *begin() const { return rep_->elements(); }
    const T *end() const { return rep_->elements() + rep_->length; }

    Rep *GetRep() const { return rep_; }
    bool operator==(const Array &o) const { return rep_ == o.rep_; }
    bool operator!=(const Array &o) const { return rep_ != o.rep_; }

private:
    Rep *rep_;
};

template <class T>
constexpr std::size_t Array<T>::Rep::HeaderBytes() {
    return (sizeof(Rep) + alignof(T) - 1) / alignof(T) * alignof(T);
}

template <class T>
typename Array<T>::Rep Array<T>::nullRep{gc_static_tag{}};

// ---------------------------------------------------------------------------
// Collector operations on arrays
// ---------------------------------------------------------------------------

template <class T>
inline void gc_mark_q(const Array<T> &a) {
    gc_mark_q(static_cast<gc_object *>(a.GetRep()));
}
template <class T>
inline void gc_mark_now(const Array<T> &a) {
    gc_mark_now(static_cast<gc_object *>(a.GetRep()));
}
// Write barrier for an array stored into a field or a root global.
template <class T>
inline void gc_assign(Array<T> &field, const Array<T> &value) {
    gc_mark_q(value);
    field = value;
}

#endif
