// bbstring.cpp: String construction, operations and the UTF-8 / UTF-16
// load and save.
#include "runtime/bbstring.h"

#include <climits>
#include <cstring>
#include <new>

#include "runtime/array.h"

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

// The empty representation, with room behind it so that code reading its
// (zero) characters never looks outside an object.
struct NullRepStorage {
    String::Rep rep;
    char16_t spare[4];
};
NullRepStorage null_rep_storage = {{1, 0}, {0, 0, 0, 0}};

// Block size in which Load(FILE*) reads a file.
constexpr std::size_t kLoadBlockBytes = 4096;

}  // namespace

String::Rep &String::nullRep = null_rep_storage.rep;

// ---------------------------------------------------------------------------
// Representation
// ---------------------------------------------------------------------------

String::Rep *String::Alloc(int length) {
    if (length <= 0) return &nullRep;
    std::size_t bytes = sizeof(Rep) + sizeof(char16_t) * static_cast<std::size_t>(length);
    Rep *r = static_cast<Rep *>(std::malloc(bytes));
    if (!r) throw std::bad_alloc();
    r->refcount = 1;
    r->length = length;
    return r;
}

String::Rep *String::FromAscii(const char *text) {
    int n = static_cast<int>(std::strlen(text));
    Rep *r = Alloc(n);
    for (int i = 0; i < n; ++i) r->chars()[i] = static_cast<unsigned char>(text[i]);
    return r;
}

namespace {

// Length of a + b, refused when it does not fit an int.
int joined_length(long long a, long long b) {
    long long n = a + b;
    if (n > INT_MAX) throw std::bad_alloc();
    return static_cast<int>(n);
}

}  // namespace

// ---------------------------------------------------------------------------
// Constructors
// ---------------------------------------------------------------------------

String::String(const char16_t *chars, int count) : rep_(Alloc(count)) {
    if (count > 0) std::memcpy(rep_->chars(), chars, sizeof(char16_t) * std::size_t(count));
}

String::String(const char *text) : rep_(&nullRep) {
    if (!text) return;
    std::size_t n = std::strlen(text);
    if (n > static_cast<std::size_t>(INT_MAX)) throw std::bad_alloc();
    rep_ = Alloc(static_cast<int>(n));
    char16_t *d = rep_->chars();
    for (std::size_t i = 0; i < n; ++i) {
        d[i] = static_cast<char16_t>(static_cast<short>(static_cast<signed char>(text[i])));
    }
}

String::String(const unsigned char *bytes, int count) : rep_(Alloc(count)) {
    char16_t *d = rep_->chars();
    for (int i = 0; i < count; ++i) d[i] = bytes[i];
}

String::String(int value) : rep_(&nullRep) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%i", value);
    rep_ = FromAscii(buf);
}

String::String(float value) : rep_(&nullRep) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17lg", static_cast<double>(value));
    if (!std::strchr(buf, '.') && !std::strchr(buf, 'e')) std::strcat(buf, ".0");
    rep_ = FromAscii(buf);
}

// ---------------------------------------------------------------------------
// Operations
// ---------------------------------------------------------------------------

String operator+(const String &a, const String &b) {
    if (a.Length() == 0) return b;
    if (b.Length() == 0) return a;
    String r(String::Alloc(joined_length(a.Length(), b.Length())));
    std::memcpy(r.rep_->chars(), a.Data(), sizeof(char16_t) * std::size_t(a.Length()));
    std::memcpy(r.rep_->chars() + a.Length(), b.Data(), sizeof(char16_t) * std::size_t(b.Length()));
    return r;
}

String &String::operator+=(const String &other) {
    return *this = *this + other;
}

bool operator==(const String &a, const String &b) {
    if (a.rep_ == b.rep_) return true;
    if (a.Length() != b.Length()) return false;
    return std::memcmp(a.Data(), b.Data(), sizeof(char16_t) * std::size_t(a.Length())) == 0;
}

bool String::StartsWith(const String &prefix) const {
    if (prefix.Length() > Length()) return false;
    return std::memcmp(Data(), prefix.Data(), sizeof(char16_t) * std::size_t(prefix.Length())) == 0;
}

int String::Find(const String &what, int from) const {
    int n = Length(), m = what.Length();
    if (from < 0) from = 0;
    if (m == 0) return from <= n ? from : -1;
    const char16_t *s = Data();
    const char16_t *w = what.Data();
    for (int i = from; i <= n - m; ++i) {
        if (s[i] == w[0] && std::memcmp(s + i, w, sizeof(char16_t) * std::size_t(m)) == 0) {
            return i;
        }
    }
    return -1;
}

String String::Slice(int from, int to) const {
    int n = Length();
    if (from < 0) {
        from += n;
        if (from < 0) from = 0;
    } else if (from > n) {
        from = n;
    }
    if (to < 0) {
        to += n;
    } else if (to > n) {
        to = n;
    }
    if (from >= to) return String();
    if (from == 0 && to == n) return *this;
    return String(Data() + from, to - from);
}

Array<String> String::Split(const String &separator) const {
    int n = Length(), m = separator.Length();
    if (m == 0) {
        Array<String> parts(n);
        for (int i = 0; i < n; ++i) parts[i] = String(Data() + i, 1);
        return parts;
    }
    int count = 0;
    for (int i = Find(separator); i != -1; i = Find(separator, i + m)) ++count;
    Array<String> parts(count + 1);
    if (count == 0) {
        parts[0] = *this;
        return parts;
    }
    int start = 0, k = 0;
    for (int i = Find(separator); i != -1; i = Find(separator, i + m)) {
        parts[k++] = Slice(start, i);
        start = i + m;
    }
    parts[k] = Slice(start, n);
    return parts;
}

String String::Replace(const String &find, const String &replacement) const {
    int m = find.Length();
    if (m == 0) return *this;
    int first = Find(find);
    if (first == -1) return *this;
    int count = 0;
    for (int i = first; i != -1; i = Find(find, i + m)) ++count;
    long long total = Length() + static_cast<long long>(count) *
                                     (replacement.Length() - static_cast<long long>(m));
    String r(Alloc(joined_length(total, 0)));
    char16_t *d = r.rep_->chars();
    int start = 0;
    for (int i = first; i != -1; i = Find(find, i + m)) {
        std::memcpy(d, Data() + start, sizeof(char16_t) * std::size_t(i - start));
        d += i - start;
        std::memcpy(d, replacement.Data(), sizeof(char16_t) * std::size_t(replacement.Length()));
        d += replacement.Length();
        start = i + m;
    }
    std::memcpy(d, Data() + start, sizeof(char16_t) * std::size_t(Length() - start));
    return r;
}

String String::ToLower() const {
    int n = Length();
    const char16_t *s = Data();
    int i = 0;
    while (i < n && !(s[i] >= u'A' && s[i] <= u'Z')) ++i;
    if (i == n) return *this;
    String r(s, n);
    char16_t *d = r.rep_->chars();
    for (; i < n; ++i) {
        if (d[i] >= u'A' && d[i] <= u'Z') d[i] = static_cast<char16_t>(d[i] + (u'a' - u'A'));
    }
    return r;
}

template <>
CString<char> String::ToCString<char>() const {
    int n = Length();
    char *buf = static_cast<char *>(std::malloc(std::size_t(n) + 1));
    if (!buf) throw std::bad_alloc();
    for (int i = 0; i < n; ++i) buf[i] = static_cast<char>(Data()[i] & 0xFF);
    buf[n] = 0;
    return CString<char>(buf);
}

template <>
CString<char16_t> String::ToCString<char16_t>() const {
    int n = Length();
    char16_t *buf = static_cast<char16_t *>(std::malloc(sizeof(char16_t) * (std::size_t(n) + 1)));
    if (!buf) throw std::bad_alloc();
    if (n) std::memcpy(buf, Data(), sizeof(char16_t) * std::size_t(n));
    buf[n] = 0;
    return CString<char16_t>(buf);
}

// ---------------------------------------------------------------------------
// Load and save
// ---------------------------------------------------------------------------

namespace {

// Decodes UTF-8 into out (room for count characters); false on any
// malformed or truncated sequence.
bool decode_utf8(const unsigned char *p, int count, char16_t *out, int *length) {
    int i = 0, n = 0;
    while (i < count) {
        unsigned c = p[i];
        if (c < 0x80) {
            out[n++] = static_cast<char16_t>(c);
            i += 1;
        } else if ((c & 0xE0) == 0xC0) {
            if (i + 1 >= count || (p[i + 1] & 0xC0) != 0x80) return false;
            out[n++] = static_cast<char16_t>(((c & 0x1F) << 6) | (p[i + 1] & 0x3F));
            i += 2;
        } else if ((c & 0xF0) == 0xE0) {
            if (i + 2 >= count || (p[i + 1] & 0xC0) != 0x80 || (p[i + 2] & 0xC0) != 0x80) {
                return false;
            }
            out[n++] = static_cast<char16_t>(((c & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) |
                                             (p[i + 2] & 0x3F));
            i += 3;
        } else {
            return false;
        }
    }
    *length = n;
    return true;
}

}  // namespace

String String::Load(const unsigned char *bytes, int count) {
    if (count <= 0 || !bytes) return String();
    if (count >= 2 &&
        ((bytes[0] == 0xFE && bytes[1] == 0xFF) || (bytes[0] == 0xFF && bytes[1] == 0xFE))) {
        bool big_endian = bytes[0] == 0xFE;
        int units = (count - 2) / 2;
        String r(Alloc(units));
        char16_t *d = r.rep_->chars();
        for (int i = 0; i < units; ++i) {
            unsigned a = bytes[2 + 2 * i], b = bytes[3 + 2 * i];
            d[i] = static_cast<char16_t>(big_endian ? (a << 8) | b : (b << 8) | a);
        }
        return r;
    }
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        count -= 3;
        if (count == 0) return String();
    }
    // UTF-8 never decodes to more characters than bytes, and the Latin-1
    // fallback has exactly one per byte.
    Rep *r = Alloc(count);
    int length = 0;
    if (!decode_utf8(bytes, count, r->chars(), &length)) {
        std::fputs("Invalid UTF-8!\n", stdout);
        std::fflush(stdout);
        for (int i = 0; i < count; ++i) r->chars()[i] = bytes[i];
        length = count;
    }
    if (length == 0) {
        std::free(r);
        return String();
    }
    if (length < count) {
        Rep *shrunk = static_cast<Rep *>(
            std::realloc(r, sizeof(Rep) + sizeof(char16_t) * static_cast<std::size_t>(length)));
        if (shrunk) r = shrunk;
        r->length = length;
    }
    return String(r);
}

String String::Load(FILE *file) {
    std::vector<unsigned char> bytes;
    for (;;) {
        std::size_t old = bytes.size();
        bytes.resize(old + kLoadBlockBytes);
        std::size_t got = std::fread(bytes.data() + old, 1, kLoadBlockBytes, file);
        bytes.resize(old + got);
        if (got < kLoadBlockBytes) break;
        if (bytes.size() > static_cast<std::size_t>(INT_MAX) - kLoadBlockBytes) break;
    }
    return Load(bytes.data(), static_cast<int>(bytes.size()));
}

void String::Save(std::vector<unsigned char> &out) const {
    int n = Length();
    const char16_t *s = Data();
    out.reserve(out.size() + std::size_t(n));
    for (int i = 0; i < n; ++i) {
        unsigned c = s[i];
        if (c < 0x80) {
            out.push_back(static_cast<unsigned char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<unsigned char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<unsigned char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
        }
    }
}

bool String::Save(FILE *file) const {
    std::vector<unsigned char> bytes;
    Save(bytes);
    if (bytes.empty()) return true;
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// ---------------------------------------------------------------------------
// Runs of strings
// ---------------------------------------------------------------------------

void t_create(int n, String *strings) {
    for (int i = 0; i < n; ++i) new (&strings[i]) String();
}

void t_create(int n, String *strings, const String *source) {
    for (int i = 0; i < n; ++i) new (&strings[i]) String(source[i]);
}

void t_destroy(int n, String *strings) {
    for (int i = 0; i < n; ++i) strings[i].~String();
}
