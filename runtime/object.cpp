// object.cpp: the operations every application object inherits.
#include "runtime/object.h"

#include <cstdint>

bool Object::Equals(Object *other) {
    return other == this;
}

int Object::Compare(Object *other) {
    // The sign of the address difference; the difference itself does not
    // fit an int on a 64-bit machine.
    auto a = reinterpret_cast<std::uintptr_t>(this);
    auto b = reinterpret_cast<std::uintptr_t>(other);
    return a < b ? -1 : (a > b ? 1 : 0);
}

String Object::debug() {
    return String();
}
