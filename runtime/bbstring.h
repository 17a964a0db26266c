// bbstring.h: String, the immutable reference-counted 16-bit string.
//
// A String holds one pointer to a representation (count, length, UTF-16
// code units). Copies share the representation; every empty string shares
// String::nullRep, which is never released and allocates nothing. Strings
// are not collected objects and need no write barrier.
#ifndef TESSELON_RUNTIME_BBSTRING_H
#define TESSELON_RUNTIME_BBSTRING_H

#include <cstdio>
#include <cstdlib>
#include <vector>

template <class T>
class Array;

// ---------------------------------------------------------------------------
// Types
// ---------------------------------------------------------------------------

// An owned NUL-terminated copy of a string (see String::ToCString). It frees
// its buffer when it goes out of scope; use it within the expression, or keep
// the CString itself, or take the malloc'd buffer with release().
template <class C>
class CString {
public:
    explicit CString(C *buffer) : buf_(buffer) {}
    CString(CString &&o) noexcept : buf_(o.buf_) { o.buf_ = nullptr; }
    CString &operator=(CString &&o) noexcept {
        if (this != &o) {
            std::free(buf_);
            buf_ = o.buf_;
            o.buf_ = nullptr;
        }
        return *this;
    }
    CString(const CString &) = delete;
    CString &operator=(const CString &) = delete;
    ~CString() { std::free(buf_); }

    const C *c_str() const { return buf_; }
    operator const C *() const { return buf_; }
    // Hands the buffer (allocated with malloc) to the caller, who frees it.
    C *release() {
        C *b = buf_;
        buf_ = nullptr;
        return b;
    }

private:
    C *buf_;
};

class String {
public:
    struct Rep {
        int refcount;
        int length;
        char16_t *chars() { return reinterpret_cast<char16_t *>(this + 1); }
        const char16_t *chars() const { return reinterpret_cast<const char16_t *>(this + 1); }
    };
    // The shared empty representation.
    static Rep &nullRep;

    String() : rep_(&nullRep) {}
    String(const String &o) : rep_(o.rep_) { Retain(rep_); }
    String(String &&o) noexcept : rep_(o.rep_) { o.rep_ = &nullRep; }
    ~String() { Release(rep_); }
    String &operator=(const String &o) {
        Retain(o.rep_);
        Release(rep_);
        rep_ = o.rep_;
        return *this;
    }
    String &operator=(String &&o) noexcept {
        if (this != &o) {
            Release(rep_);
            rep_ = o.rep_;
            o.rep_ = &nullRep;
        }
        return *this;
    }

    // count 16-bit characters; count <= 0 gives the empty string.
    String(const char16_t *chars, int count);
    // NUL-terminated 8-bit text, each byte widened as a signed value.
    String(const char *text);
    // count bytes, each widened as an unsigned value (Latin-1).
    String(const unsigned char *bytes, int count);
    // Decimal text as "%i" prints it.
    explicit String(int value);
    // "%.17lg" of the value widened to double, with ".0" appended when the
    // text has neither '.' nor 'e'.
    explicit String(float value);

    int Length() const { return rep_->length; }
    // Character i; 0 <= i < Length() is the caller's responsibility.
    char16_t operator[](int i) const { return rep_->chars()[i]; }
    const char16_t *Data() const { return rep_->chars(); }
    // True when both share one representation.
    bool SharesRep(const String &o) const { return rep_ == o.rep_; }

    friend String operator+(const String &a, const String &b);
    String &operator+=(const String &other);
    friend bool operator==(const String &a, const String &b);
    friend bool operator!=(const String &a, const String &b) { return !(a == b); }

    bool StartsWith(const String &prefix) const;
    // Index of the first occurrence of what at or after from, or -1.
    int Find(const String &what, int from = 0) const;
    // Characters from up to, not including, to; negative indexes count from
    // the end, out-of-range indexes are clamped.
    String Slice(int from, int to) const;
    String Slice(int from) const { return Slice(from, Length()); }
    // Pieces between non-overlapping occurrences of separator; an empty
    // separator splits into single characters.
    Array<String> Split(const String &separator) const;
    // Every non-overlapping occurrence of find replaced; an empty find
    // returns this string unchanged.
    String Replace(const String &find, const String &replacement) const;
    // A to Z turned into a to z.
    String ToLower() const;

    // NUL-terminated copy: char truncates each character to its low byte,
    // char16_t copies the code units.
    template <class C>
    CString<C> ToCString() const;

    // Decodes bytes: UTF-16 with a byte-order mark, else UTF-8 (an optional
    // UTF-8 byte-order mark skipped); invalid UTF-8 prints "Invalid UTF-8!"
    // and gives the bytes as Latin-1.
    static String Load(const unsigned char *bytes, int count);
    // Reads the rest of an open file and decodes it as above.
    static String Load(FILE *file);
    // Appends the UTF-8 encoding (no byte-order mark).
    void Save(std::vector<unsigned char> &out) const;
    // Writes the UTF-8 encoding; true when every byte was written.
    bool Save(FILE *file) const;

private:
    explicit String(Rep *rep) : rep_(rep) {}
    // A new representation of length characters (nullRep for length <= 0).
    static Rep *Alloc(int length);
    // A new representation of NUL-terminated ASCII text.
    static Rep *FromAscii(const char *text);
    // The empty representation is shared without counting and never freed.
    static void Retain(Rep *r) {
        if (r != &nullRep) ++r->refcount;
    }
    static void Release(Rep *r) {
        if (r != &nullRep && --r->refcount == 0) std::free(r);
    }

    Rep *rep_;
};

template <>
CString<char> String::ToCString<char>() const;
template <>
CString<char16_t> String::ToCString<char16_t>() const;

// ---------------------------------------------------------------------------
// Runs of string values (used by arrays of strings)
// ---------------------------------------------------------------------------

// Constructs n empty strings in place.
void t_create(int n, String *strings);
// Constructs n strings in place as shared copies of source.
void t_create(int n, String *strings, const String *source);
// Destroys n strings in place.
void t_destroy(int n, String *strings);

#endif
