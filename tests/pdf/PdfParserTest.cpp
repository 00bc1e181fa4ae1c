#include "pdf/PdfParser.h"

#include <gtest/gtest.h>

#include <vector>

#include "pdf/Limits.h"

namespace tessary {
namespace {

std::vector<std::string> Tokens(std::string_view text) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    std::vector<std::string> tokens;
    for (std::string t = parser.NextToken(); !t.empty(); t = parser.NextToken()) {
        tokens.push_back(t);
    }
    return tokens;
}

ObjectHandle Parse(std::string_view text) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    return parser.ReadObject(0, 0);
}

std::string StringOf(std::string_view text) {
    ObjectHandle obj = Parse(text);
    EXPECT_TRUE(IsKind(obj.get(), PdfObjectType::String)) << text;
    return GetStringValue(obj.get());
}

using V = std::vector<std::string>;

TEST(PdfParser, Tokens) {
    EXPECT_EQ(Tokens("/Type/Page"), (V{"/Type", "/Page"}));
    EXPECT_EQ(Tokens("12)"), (V{"12", ")"}));
    EXPECT_EQ(Tokens("a%b"), (V{"a%b"}));  // '%' starts a comment only at a token's start
    EXPECT_EQ(Tokens("x % comment\ny"), (V{"x", "y"}));
    EXPECT_EQ(Tokens("{a}"), (V{"{a}"}));
    EXPECT_EQ(Tokens("<<>>[]<a>"), (V{"<<", ">>", "[", "]", "<", "a", ">"}));
    EXPECT_EQ(Tokens("a\fb"), (V{"a\fb"}));  // form feed is white space, not a terminator
    EXPECT_EQ(Tokens(")x y"), (V{")x", "y"}));
    EXPECT_EQ(Tokens("  % only a comment"), V{});
}

TEST(PdfParser, LiteralStrings) {
    EXPECT_EQ(StringOf("(a(b)c)"), "a(b)c");
    EXPECT_EQ(StringOf("(a\\)b)"), "a)b");
    EXPECT_EQ(StringOf("(\\101\\1012)"), "AA2");
    EXPECT_EQ(StringOf("(\\501)"), "A");  // three octal digits, modulo 256
    EXPECT_EQ(StringOf("(\\1ab)"), std::string("\x01"
                                               "ab",
                                               3));
    EXPECT_EQ(StringOf("(\\12)"), "\n");  // a short octal escape ends at the closing parenthesis
    EXPECT_EQ(StringOf("(a\\\nb)"), "ab");
    EXPECT_EQ(StringOf("(a\\\r\nb)"), "ab");
    EXPECT_EQ(StringOf("(a\\\rb)"), "ab");
    EXPECT_EQ(StringOf("(a\\qb)"), "ab");
    EXPECT_EQ(StringOf("(\\n\\r\\t\\b\\f\\\\\\(\\))"), "\n\r\t\b\f\\()");
    EXPECT_EQ(StringOf("(line\r\nend)"), "line\r\nend");  // raw line ends are kept
    EXPECT_EQ(StringOf("(unterminated"), "unterminated");
    EXPECT_EQ(StringOf("(a\\0b)"), std::string("a\0b", 3));
}

TEST(PdfParser, HexStrings) {
    EXPECT_EQ(StringOf("<41 42 4>"), "AB@");
    EXPECT_EQ(StringOf("<4a4B>"), "JK");
    EXPECT_EQ(StringOf("<4 1 zz 4 2>"), "AB");
    EXPECT_EQ(StringOf("<>"), "");
    EXPECT_EQ(StringOf("<414"), "A@");
}

TEST(PdfParser, Objects) {
    EXPECT_TRUE(IsKind(Parse("").get(), PdfObjectType::EndOfData));
    EXPECT_TRUE(IsKind(Parse("  % comment\n ").get(), PdfObjectType::EndOfData));
    EXPECT_TRUE(IsKind(Parse("null").get(), PdfObjectType::Null));
    EXPECT_TRUE(IsKind(Parse("false").get(), PdfObjectType::Boolean));
    EXPECT_TRUE(IsKind(Parse("1.2.3").get(), PdfObjectType::Number));
    EXPECT_TRUE(IsKind(Parse("Tj").get(), PdfObjectType::Keyword));
    EXPECT_TRUE(IsKind(Parse("]").get(), PdfObjectType::Keyword));

    ObjectHandle array = Parse("[1 2]");
    ASSERT_TRUE(IsKind(array.get(), PdfObjectType::Array));
    EXPECT_EQ(AsArray(array.get())->GetCount(), 2u);

    // A number, another number and a keyword other than R: one number, and
    // the position is left just after it.
    PdfParser parser;
    parser.AttachBuffer(nullptr, "1 0 obj");
    EXPECT_EQ(parser.ReadInteger(), 1);
    EXPECT_EQ(parser.GetPosition(), 1);
    EXPECT_EQ(parser.ReadInteger(), 0);
    EXPECT_EQ(parser.ReadKeyword(), "obj");

    // Repeated keys keep the last value; the keyword after a dictionary stays unread.
    parser.AttachBuffer(nullptr, "<< /A 1 /A 2 >> endobj");
    ObjectHandle dict = parser.ReadObject(0, 0);
    EXPECT_EQ(DictionaryOrEmpty(dict.get()).GetValueInteger("/A"), 2);
    EXPECT_EQ(parser.ReadKeyword(), "endobj");
}

TEST(PdfParser, SyntaxFailuresDiscardTheContainer) {
    EXPECT_EQ(Parse("[1 2"), nullptr);
    EXPECT_EQ(Parse("[1 >> 2]"), nullptr);
    EXPECT_EQ(Parse("<< /A 1 /B"), nullptr);
    EXPECT_EQ(Parse("<< /A >>"), nullptr);  // ">>" is read as the value, then no key follows
    EXPECT_EQ(Parse("<< 1 2 >>"), nullptr);
    EXPECT_EQ(Parse("[ << /A [ 1 ] >>"), nullptr);
}

TEST(PdfParser, NestingDepthIsBounded) {
    std::string nested(kMaxNestingDepth, '[');
    nested += std::string(kMaxNestingDepth, ']');
    EXPECT_NE(Parse(nested), nullptr);
    std::string deeper = "[" + nested + "]";
    EXPECT_EQ(Parse(deeper), nullptr);
    // Far deeper input fails the same way instead of overflowing the stack.
    EXPECT_EQ(Parse(std::string(1000000, '[')), nullptr);
    std::string dicts;
    for (int i = 0; i < 100000; ++i)
        dicts += "<</A ";
    EXPECT_EQ(Parse(dicts), nullptr);
}

TEST(PdfParser, MemoryModeWithoutDocument) {
    // A reference with no document resolves to absent.
    ObjectHandle ref = Parse("12 0 R");
    ASSERT_TRUE(IsKind(ref.get(), PdfObjectType::Reference));
    EXPECT_EQ(ResolveObject(ref.get()), nullptr);
    EXPECT_EQ(GetIntegerValue(ref.get()), 0);
    // A stream in a buffer has no document to decode it for.
    EXPECT_EQ(Parse("<< /Length 3 >> stream\nabc\nendstream"), nullptr);
}

TEST(PdfParser, ReadBytesBounds) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, "abcdef");
    std::string out;
    EXPECT_FALSE(parser.ReadBytes(out, -1));
    EXPECT_FALSE(parser.ReadBytes(out, 6));  // may not end exactly at the end
    EXPECT_TRUE(parser.ReadBytes(out, 5));
    EXPECT_EQ(out, "abcde");
    EXPECT_EQ(parser.GetPosition(), 5);
}

}  // namespace
}  // namespace tessary
