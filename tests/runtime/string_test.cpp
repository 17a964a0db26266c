// string_test.cpp: String constructors and operations (one table of cases),
// sharing of representations, and the byte-exact UTF-8 / UTF-16 load and
// save.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

std::u16string u16(const String &s) {
    return std::u16string(s.Data(), s.Length());
}
String str(const std::u16string &s) {
    return String(s.data(), static_cast<int>(s.size()));
}

std::vector<std::u16string> parts(const Array<String> &a) {
    std::vector<std::u16string> v;
    for (const String &s : a) v.push_back(u16(s));
    return v;
}

// ---------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------

struct ValueCase {
    const char *what;
    std::function<String()> make;
    std::u16string expected;
};

TEST(RuntimeStringTest, ConstructorsAndOperations) {
    const String hello("hello");
    const ValueCase cases[] = {
        {"float 1", [] { return String(1.0f); }, u"1.0"},
        {"float 0.5", [] { return String(0.5f); }, u"0.5"},
        {"float -2", [] { return String(-2.0f); }, u"-2.0"},
        {"float 0.1", [] { return String(0.1f); }, u"0.10000000149011612"},
        {"float 2.5", [] { return String(2.5f); }, u"2.5"},
        {"float 1e20 keeps the exponent form", [] { return String(1e20f); },
         u"1.0000000200408773e+20"},
        {"int -42", [] { return String(-42); }, u"-42"},
        {"int min", [] { return String(-2147483647 - 1); }, u"-2147483648"},
        {"8-bit text widens signed", [] { return String("A\xE9"); }, u"A\xFFE9"},
        {"bytes widen unsigned",
         [] {
             const unsigned char b[] = {0x41, 0xE9, 0x00, 0xFF};
             return String(b, 4);
         },
         std::u16string(u"A\x00E9\0\x00FF", 4)},
        {"16-bit characters", [] { return String(u"\x20AC!", 2); }, u"\x20AC!"},
        {"concatenation", [] { return String("ab") + "cd"; }, u"abcd"},
        {"append",
         [] {
             String s("ab");
             s += String(3);
             return s;
         },
         u"ab3"},
        {"Slice(1, 3)", [&] { return hello.Slice(1, 3); }, u"el"},
        {"Slice(-3, 5)", [&] { return hello.Slice(-3, 5); }, u"llo"},
        {"Slice(2, 99)", [&] { return hello.Slice(2, 99); }, u"llo"},
        {"Slice(4, 1)", [&] { return hello.Slice(4, 1); }, u""},
        {"Slice(-99, 2)", [&] { return hello.Slice(-99, 2); }, u"he"},
        {"Slice(1, -1)", [&] { return hello.Slice(1, -1); }, u"ell"},
        {"Slice(0, -99)", [&] { return hello.Slice(0, -99); }, u""},
        {"Slice(9, 12)", [&] { return hello.Slice(9, 12); }, u""},
        {"Slice(2)", [&] { return hello.Slice(2); }, u"llo"},
        {"Replace aa by b in aaa", [] { return String("aaa").Replace("aa", "b"); }, u"ba"},
        {"Replace growing", [] { return String("a.b.c").Replace(".", "--"); }, u"a--b--c"},
        {"Replace to nothing", [] { return String("xax").Replace("x", ""); }, u"a"},
        {"ToLower", [] { return String("Hello WORLD 1\xC0").ToLower(); }, u"hello world 1\xFFC0"},
    };
    for (const ValueCase &c : cases) EXPECT_EQ(u16(c.make()), c.expected) << c.what;
}

TEST(RuntimeStringTest, ComparisonsAndSearch) {
    EXPECT_TRUE(String("abc") == String(u"abc", 3));
    EXPECT_FALSE(String("abc") == String("abd"));
    EXPECT_FALSE(String("abc") == String("ab"));
    EXPECT_TRUE(String() == String(""));
    EXPECT_TRUE(String("hello").StartsWith("he"));
    EXPECT_TRUE(String("hello").StartsWith(""));
    EXPECT_FALSE(String("he").StartsWith("hello"));
    EXPECT_FALSE(String("hello").StartsWith("hex"));
    EXPECT_EQ(String("abcabc").Find("c"), 2);
    EXPECT_EQ(String("abcabc").Find("c", 3), 5);
    EXPECT_EQ(String("abcabc").Find("x"), -1);
    EXPECT_EQ(String("abc").Length(), 3);
    EXPECT_EQ(String("abc")[1], u'b');
}

TEST(RuntimeStringTest, Split) {
    using V = std::vector<std::u16string>;
    EXPECT_EQ(parts(String("a,,b,").Split(",")), (V{u"a", u"", u"b", u""}));
    EXPECT_EQ(parts(String(",a").Split(",")), (V{u"", u"a"}));
    EXPECT_EQ(parts(String("abc").Split("")), (V{u"a", u"b", u"c"}));
    EXPECT_EQ(String().Split("").Length(), 0);
    EXPECT_EQ(parts(String().Split(",")), (V{u""}));
    EXPECT_EQ(parts(String("1||2|").Split("||")), (V{u"1", u"2|"}));
    EXPECT_EQ(parts(String("aaaa").Split("aa")), (V{u"", u"", u""}));
    EXPECT_EQ(parts(String("no separator").Split("|")), (V{u"no separator"}));
}

TEST(RuntimeStringTest, OperationsThatChangeNothingShareTheRepresentation) {
    const String s = String("hello") + " world";
    EXPECT_TRUE(s.Slice(0, s.Length()).SharesRep(s));
    EXPECT_TRUE((s + String()).SharesRep(s));
    EXPECT_TRUE((String() + s).SharesRep(s));
    EXPECT_TRUE(s.ToLower().SharesRep(s));
    EXPECT_TRUE(s.Replace("xyz", "q").SharesRep(s));
    EXPECT_TRUE(s.Split("|")[0].SharesRep(s));
    String copy = s;
    EXPECT_TRUE(copy.SharesRep(s));
    String only = String("a") + "b";  // the one holder of its text
    const String &alias = only;
    only = alias;  // self-assignment must not release it first
    EXPECT_EQ(only, String("ab"));
    EXPECT_TRUE(String().SharesRep(String("")));
    EXPECT_TRUE(String(u"", 0).SharesRep(String()));
}

TEST(RuntimeStringTest, CStringCopies) {
    String s(
        u"A\x20AC"
        u"b",
        3);
    CString<char> c = s.ToCString<char>();
    EXPECT_EQ(std::string(c.c_str()), std::string("A\xAC"
                                                  "b"));
    CString<char16_t> w = s.ToCString<char16_t>();
    EXPECT_EQ(std::u16string(w.c_str()), u16(s));
    EXPECT_EQ(String().ToCString<char>().c_str()[0], 0);
    char *owned = s.ToCString<char>().release();
    EXPECT_EQ(owned[1], '\xAC');
    std::free(owned);
}

// ---------------------------------------------------------------------------
// Load and save
// ---------------------------------------------------------------------------

struct LoadCase {
    const char *what;
    std::vector<unsigned char> bytes;
    std::u16string expected;
    bool invalid;  // prints "Invalid UTF-8!"
};

TEST(RuntimeStringTest, LoadDecodesByteExactly) {
    const LoadCase cases[] = {
        {"empty", {}, u"", false},
        {"UTF-8 byte-order mark", {0xEF, 0xBB, 0xBF, 0x41}, u"A", false},
        {"only a byte-order mark", {0xEF, 0xBB, 0xBF}, u"", false},
        {"UTF-16 little-endian", {0xFF, 0xFE, 0x41, 0x00}, u"A", false},
        {"UTF-16 big-endian", {0xFE, 0xFF, 0x00, 0x41}, u"A", false},
        {"UTF-16 odd last byte ignored", {0xFE, 0xFF, 0x20, 0xAC, 0x00}, u"\x20AC", false},
        {"UTF-16 without units", {0xFF, 0xFE}, u"", false},
        {"UTF-16 surrogates unchecked", {0xFF, 0xFE, 0x00, 0xD8}, u"\xD800", false},
        {"two-byte form", {0xC3, 0xA9}, u"\x00E9", false},
        {"three-byte form", {0xE2, 0x82, 0xAC}, u"\x20AC", false},
        {"overlong accepted", {0xC0, 0x80}, std::u16string(1, u'\0'), false},
        {"surrogate value accepted", {0xED, 0xA0, 0x80}, u"\xD800", false},
        {"lone continuation",
         {0x41, 0x80, 0x42},
         u"A\x0080"
         u"B",
         true},
        {"lone continuation after BOM",
         {0xEF, 0xBB, 0xBF, 0x41, 0x80, 0x42},
         u"A\x0080"
         u"B",
         true},
        {"four-byte lead", {0xF0, 0x9F, 0x98, 0x80}, u"\x00F0\x009F\x0098\x0080", true},
        {"cut off at the end", {0x41, 0xE2, 0x82}, u"A\x00E2\x0082", true},
        {"bad continuation",
         {0xC3, 0x41},
         u"\x00C3"
         u"A",
         true},
    };
    for (const LoadCase &c : cases) {
        testing::internal::CaptureStdout();
        String s = String::Load(c.bytes.data(), static_cast<int>(c.bytes.size()));
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(u16(s), c.expected) << c.what;
        EXPECT_EQ(out, c.invalid ? "Invalid UTF-8!\n" : "") << c.what;
    }
}

TEST(RuntimeStringTest, SaveEncodesByteExactly) {
    struct SaveCase {
        std::u16string text;
        std::vector<unsigned char> bytes;
    };
    const SaveCase cases[] = {
        {u"", {}},
        {u"A", {0x41}},
        {u"\x00E9", {0xC3, 0xA9}},
        {u"\x07FF", {0xDF, 0xBF}},
        {u"\x0800", {0xE0, 0xA0, 0x80}},
        {u"\x20AC", {0xE2, 0x82, 0xAC}},
        {u"\xD83D\xDE00", {0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}},
        {u"\xFFFF", {0xEF, 0xBF, 0xBF}},
    };
    for (const SaveCase &c : cases) {
        std::vector<unsigned char> out = {0x7E};  // Save appends
        str(c.text).Save(out);
        std::vector<unsigned char> expected = {0x7E};
        expected.insert(expected.end(), c.bytes.begin(), c.bytes.end());
        EXPECT_EQ(out, expected);
    }
}

TEST(RuntimeStringTest, FileRoundTripAcrossReadBlocks) {
    // 2730 three-byte characters and "ab" encode to exactly two read
    // blocks of 4096 bytes; a trailing "z" makes the file one byte longer.
    for (const char16_t *tail : {u"ab", u"abz"}) {
        std::u16string text(2730, u'\x20AC');
        text += tail;
        FILE *f = std::tmpfile();
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(str(text).Save(f));
        long size = std::ftell(f);
        std::rewind(f);
        String back = String::Load(f);
        std::fclose(f);
        EXPECT_EQ(size, static_cast<long>(2730 * 3 + std::u16string(tail).size()));
        EXPECT_EQ(u16(back), text);
    }
    FILE *f = std::tmpfile();
    EXPECT_TRUE(String().Save(f));
    std::rewind(f);
    EXPECT_EQ(String::Load(f).Length(), 0);
    std::fclose(f);
}

TEST(RuntimeStringTest, RunsOfStrings) {
    alignas(String) unsigned char raw[3 * sizeof(String)];
    String *run = reinterpret_cast<String *>(raw);
    t_create(3, run);
    EXPECT_EQ(run[2].Length(), 0);
    t_destroy(3, run);
    const String source[2] = {String("x") + "y", String("z")};
    t_create(2, run, source);
    EXPECT_TRUE(run[0].SharesRep(source[0]));
    EXPECT_EQ(run[1], String("z"));
    t_destroy(2, run);
}

}  // namespace
