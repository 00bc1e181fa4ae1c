#include "pdf/PdfParser.h"

#include <gtest/gtest.h>

#include <vector>

#include "pdf/Limits.h"
#include "support/TestSupport.h"

namespace tessary {
namespace {

using test::ParseObject;
using V = std::vector<std::string>;
using namespace std::string_literals;

V Tokens(std::string_view text) {
    PdfParser parser;
    parser.AttachBuffer(nullptr, text);
    V tokens;
    for (std::string t = parser.NextToken(); !t.empty(); t = parser.NextToken())
        tokens.push_back(t);
    return tokens;
}

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

TEST(PdfParser, Strings) {
    // Octal escapes take up to three digits, modulo 256, and end at the
    // closing parenthesis; an escaped line end is dropped, a raw one kept; an
    // unknown escape drops the backslash; hex strings skip what isn't a digit.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"(a(b)c)", "a(b)c"},
        {"(a\\)b)", "a)b"},
        {"(\\101\\1012)", "AA2"},
        {"(\\501)", "A"},
        {"(\\1ab)", "\1ab"s},
        {"(\\12)", "\n"},
        {"(a\\\nb)", "ab"},
        {"(a\\\r\nb)", "ab"},
        {"(a\\\rb)", "ab"},
        {"(a\\qb)", "ab"},
        {"(\\n\\r\\t\\b\\f\\\\\\(\\))", "\n\r\t\b\f\\()"},
        {"(line\r\nend)", "line\r\nend"},
        {"(unterminated", "unterminated"},
        {"(a\\0b)", "a\0b"s},
        {"<41 42 4>", "AB@"},
        {"<4a4B>", "JK"},
        {"<4 1 zz 4 2>", "AB"},
        {"<>", ""},
        {"<414", "A@"}};
    for (const auto& [text, value] : cases) {
        ObjectHandle obj = ParseObject(text);
        EXPECT_TRUE(IsKind(obj.get(), PdfObjectType::String)) << text;
        EXPECT_EQ(GetStringValue(obj.get()), value) << text;
    }
}

TEST(PdfParser, Objects) {
    EXPECT_TRUE(IsKind(ParseObject("  % comment\n ").get(), PdfObjectType::EndOfData));
    EXPECT_TRUE(IsKind(ParseObject("null").get(), PdfObjectType::Null));
    EXPECT_TRUE(IsKind(ParseObject("false").get(), PdfObjectType::Boolean));
    EXPECT_TRUE(IsKind(ParseObject("1.2.3").get(), PdfObjectType::Number));
    EXPECT_TRUE(IsKind(ParseObject("Tj").get(), PdfObjectType::Keyword));
    EXPECT_TRUE(IsKind(ParseObject("]").get(), PdfObjectType::Keyword));
    // Repeated keys keep the last value; the keyword after a dictionary stays unread.
    PdfParser parser;
    parser.AttachBuffer(nullptr, "<< /A 1 /A 2 >> endobj");
    EXPECT_EQ(DictionaryOrEmpty(parser.ReadObject(0, 0).get()).GetValueInteger("/A"), 2);
    EXPECT_EQ(parser.ReadKeyword(), "endobj");
}

TEST(PdfParser, TokensReadAheadAfterANumberAreReadAgain) {
    // After each number the next two tokens are looked at for "n g R"; what
    // follows reads the same whether they were a reference or not.
    ObjectHandle array = ParseObject("[1 2 3 0 R 4 5 (a b) 6 <41> 7 8 [9] 10 11 /N]");
    V values;
    for (const ObjectHandle& element : AsArray(array.get())->elements) {
        values.push_back(
            IsKind(element.get(), PdfObjectType::Reference)
                ? "R" +
                      std::to_string(static_cast<const PdfReference*>(element.get())->targetNumber)
                : GetStringValue(element.get()));
    }
    EXPECT_EQ(values,
              (V{"1", "2", "R3", "4", "5", "a b", "6", "A", "7", "8", "", "10", "11", "/N"}));
}

TEST(PdfParser, SyntaxFailuresDiscardTheContainer) {
    // ">>" is read as the value of /A, then no key follows.
    for (const char* text :
         {"[1 2", "[1 >> 2]", "<< /A 1 /B", "<< /A >>", "<< 1 2 >>", "[ << /A [ 1 ] >>"}) {
        EXPECT_EQ(ParseObject(text), nullptr) << text;
    }
}

TEST(PdfParser, NestingDepthIsBounded) {
    std::string nested = std::string(kMaxNestingDepth, '[') + std::string(kMaxNestingDepth, ']');
    EXPECT_NE(ParseObject(nested), nullptr);
    EXPECT_EQ(ParseObject("[" + nested + "]"), nullptr);
    // Far deeper input fails the same way instead of overflowing the stack.
    EXPECT_EQ(ParseObject(std::string(1000000, '[')), nullptr);
    std::string dicts;
    for (int i = 0; i < 100000; ++i)
        dicts += "<</A ";
    EXPECT_EQ(ParseObject(dicts), nullptr);
}

TEST(PdfParser, MemoryModeWithoutDocument) {
    ObjectHandle ref = ParseObject("12 0 R");
    ASSERT_TRUE(IsKind(ref.get(), PdfObjectType::Reference));
    EXPECT_EQ(ResolveObject(ref.get()), nullptr);
    EXPECT_EQ(GetIntegerValue(ref.get()), 0);
    // A stream in a buffer has no document to decode it for.
    EXPECT_EQ(ParseObject("<< /Length 3 >> stream\nabc\nendstream"), nullptr);
}

}  // namespace
}  // namespace tessary
