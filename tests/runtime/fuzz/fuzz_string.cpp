// libFuzzer target for String: every input is decoded with String::Load and
// the result is put through Save, Split, Replace and Slice.
//
// Beyond the sanitizers' checks it traps when a promise breaks: decoding
// never yields more characters than bytes, a decoded text saves and loads
// back unchanged (unless it begins with U+FEFF, whose encoding reads as a
// byte-order mark), splitting and joining again gives the text back, and
// Slice stays within the text.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "runtime/runtime.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size > (1u << 20)) return 0;
    int count = static_cast<int>(size);
    String s = String::Load(data, count);
    check(s.Length() <= count);

    std::vector<unsigned char> bytes;
    s.Save(bytes);
    if (s.Length() == 0 || s[0] != 0xFEFF) {
        String back = String::Load(bytes.data(), static_cast<int>(bytes.size()));
        check(back == s);
    }

    if (s.Length() > 0) {
        String separator = s.Slice(0, 1 + s[0] % 3);
        Array<String> parts = s.Split(separator);
        String joined = parts[0];
        for (int i = 1; i < parts.Length(); ++i) joined = joined + separator + parts[i];
        check(joined == s);
        check(s.Replace(separator, separator) == s);
        int from = static_cast<int>(data[0]) - 128, to = count > 1 ? data[1] - 64 : 0;
        String piece = s.Slice(from, to);
        check(piece.Length() <= s.Length());
    }
    gc_force_sweep = true;
    gc_collect();
    return 0;
}
