// object.h: Object, the base of every class of the application layer.
#ifndef TESSELON_RUNTIME_OBJECT_H
#define TESSELON_RUNTIME_OBJECT_H

#include "runtime/bbstring.h"
#include "runtime/gc.h"

class Object : public gc_object {
public:
    // True when other is this very object.
    virtual bool Equals(Object *other);
    // Address order: negative, 0 or positive.
    virtual int Compare(Object *other);
    // Debugger text of the object: the empty string.
    virtual String debug();
};

#endif
