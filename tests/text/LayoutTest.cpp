// Layout of synthetic text items into lines: the rules a reader sees.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "text/TextLine.h"
#include "text/TextLineList.h"

namespace tessary {
namespace {

using Lines = std::vector<std::string>;

// Metrics in 1/1000 of the font size, as a simple font gives them.
struct TestFont {
    double letterWidth = 500;
    double spaceCharWidth = 278;
    double spaceWidth = 278;
    double ascent = 718;
    double descent = 207;
};

// Shows strings the way text showing does with an identity text matrix and
// no extra spacing: one item per byte, the space character refused but
// advancing, the characters of one string kept on its first one's line.
class Writer {
  public:
    explicit Writer(TextLineList& list) : list_(list) {}

    double Show(double x, double y, std::string_view s, double size = 10, TestFont font = {}) {
        double scale = size * 0.001;
        TextLine* line = nullptr;
        for (char c : s) {
            double x1 = x + (c == ' ' ? font.spaceCharWidth : font.letterWidth) * scale;
            line = list_.AddItem(line, y, x, x1, y + font.ascent * scale, y - font.descent * scale,
                                 font.spaceWidth * scale, std::string(1, c));
            x = x1;
        }
        return x;
    }

  private:
    TextLineList& list_;
};

std::string Pad(std::string s, std::size_t column) {
    s.resize(column, ' ');
    return s;
}

Lines WorkedExample(int width) {
    TextLineList list;
    Writer w(list);
    w.Show(100, 700, "Hello world");
    w.Show(100, 688, "Second line");
    w.Show(100, 652, "After gap");
    w.Show(400, 700, "Right");
    return list.LayOutLines(width);
}

TEST(LayoutTest, WorkedExampleAtWidths78And40) {
    Lines at78 = WorkedExample(78);
    ASSERT_EQ(at78.size(), 4u);
    EXPECT_EQ(at78[0], Pad("Hello world ", 72) + "Right ");
    EXPECT_EQ(at78[0].size(), 78u);
    EXPECT_EQ(at78[1], "Second line ");
    EXPECT_EQ(at78[2], "");
    EXPECT_EQ(at78[3], "After gap ");

    Lines at40 = WorkedExample(40);
    ASSERT_EQ(at40.size(), 4u);
    EXPECT_EQ(at40[0], Pad("Hello world ", 36) + "Right ");
    EXPECT_EQ(at40[0].size(), 42u);
    EXPECT_EQ(Lines(at40.begin() + 1, at40.end()), Lines(at78.begin() + 1, at78.end()));
}

TEST(LayoutTest, LayOutLinesAppendsAndEmptyPageGivesNothing) {
    TextLineList empty;
    Lines out{"kept"};
    empty.LayOutLines(out, 78);
    EXPECT_EQ(out, Lines{"kept"});

    TextLineList list;
    Writer(list).Show(0, 0, "x");
    list.LayOutLines(out, 78);
    EXPECT_EQ(out, (Lines{"kept", "x "}));
}

TEST(LayoutTest, AddItemGroupsByBaseline) {
    TextLineList list;
    // A lone space is refused and breaks the chain of its string.
    EXPECT_EQ(list.AddItem(nullptr, 10, 0, 1, 11, 9, 1, " "), nullptr);
    TextLine* first = list.AddItem(nullptr, 10, 0, 1, 11, 9, 1, "a");
    ASSERT_NE(first, nullptr);
    // A given line takes the item whatever its baseline (rotated text).
    EXPECT_EQ(list.AddItem(first, 50, 0, 1, 51, 49, 1, "b"), first);
    // Equal baselines share a line, 0.0 and -0.0 included; others get their own.
    EXPECT_EQ(list.AddItem(nullptr, 10, 5, 6, 11, 9, 1, "c"), first);
    TextLine* zero = list.AddItem(nullptr, 0.0, 0, 1, 1, -1, 1, "d");
    EXPECT_EQ(list.AddItem(nullptr, -0.0, 2, 3, 1, -1, 1, "e"), zero);
    TextLine* high = list.AddItem(nullptr, 20, 0, 1, 21, 19, 1, "f");
    EXPECT_NE(high, first);
    // Two spaces are text, not a shown space.
    EXPECT_NE(list.AddItem(nullptr, 10, 9, 10, 11, 9, 1, "  "), nullptr);

    std::vector<const TextLine*> lines = list.GetLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], high);
    EXPECT_EQ(lines[1], first);
    EXPECT_EQ(lines[2], zero);
    EXPECT_EQ(first->GetItemCount(), 4u);
    EXPECT_DOUBLE_EQ(first->GetTop(), 51);
    EXPECT_DOUBLE_EQ(first->GetBottom(), 9);
}

TEST(LayoutTest, AddItemRefusesNumbersThatAreNotFinite) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TextLineList list;
    TextLine* line = list.AddItem(nullptr, 10, 0, 1, 11, 9, 1, "a");
    EXPECT_EQ(list.AddItem(line, nan, 1, 2, 11, 9, 1, "b"), nullptr);
    EXPECT_EQ(list.AddItem(nullptr, inf, 1, 2, 11, 9, 1, "b"), nullptr);
    EXPECT_EQ(list.AddItem(nullptr, 10, nan, 2, 11, 9, 1, "b"), nullptr);
    EXPECT_EQ(list.AddItem(nullptr, 10, 1, -inf, 11, 9, 1, "b"), nullptr);
    EXPECT_EQ(list.AddItem(nullptr, 10, 1, 2, inf, 9, 1, "b"), nullptr);
    EXPECT_EQ(list.AddItem(nullptr, 10, 1, 2, 11, nan, 1, "b"), nullptr);
    EXPECT_EQ(list.AddItem(nullptr, 10, 1, 2, 11, 9, inf, "b"), nullptr);
    line->InsertItem(nan, 2, 11, 9, 1, "b");
    EXPECT_EQ(list.GetLineCount(), 1u);
    EXPECT_EQ(line->GetItemCount(), 1u);
    EXPECT_EQ(list.LayOutLines(78), Lines{"a "});
}

TEST(LayoutTest, ItemsKeepXOrderAndArrivalOrderOnTies) {
    TextLine line(0);
    line.InsertItem(5, 6, 1, -1, 0, "c");
    line.InsertItem(1, 2, 1, -1, 0, "a");
    line.InsertItem(5, 6, 1, -1, 0, "d");
    line.InsertItem(3, 4, 1, -1, 0, "b");
    line.InsertItem(5, 6, 1, -1, 0, "e");
    std::string order;
    for (const TextItem& item : line.GetItems()) {
        order += item.text;
    }
    EXPECT_EQ(order, "abcde");

    // Overprinted copies join in the order shown.
    TextLineList list;
    list.AddItem(nullptr, 0, 10, 15, 7, -2, 2.78, "B");
    list.AddItem(nullptr, 0, 10, 15, 7, -2, 2.78, "A");
    EXPECT_EQ(list.LayOutLines(78), Lines{"BA "});
}

TEST(LayoutTest, JoinItemsThresholdsInSpaceWidths) {
    auto joined = [](double gap, double swCur, double swNext = 2) {
        TextLine line(0);
        line.InsertItem(0, 10, 1, -1, swCur, "ab");
        line.InsertItem(10 + gap, 20, 1, -1, swNext, "cd");
        line.JoinItems();
        std::string texts;
        for (const TextItem& item : line.GetItems()) {
            texts += "[" + item.text + "]";
        }
        return texts;
    };
    EXPECT_EQ(joined(0, 2), "[abcd]");
    EXPECT_EQ(joined(1, 2), "[abcd]");  // exactly half a space width
    EXPECT_EQ(joined(1.001, 2), "[ab cd]");
    EXPECT_EQ(joined(3.999, 2), "[ab cd]");
    EXPECT_EQ(joined(4, 2), "[ab][cd]");      // exactly two space widths
    EXPECT_EQ(joined(-3, 2), "[abcd]");       // overlap
    EXPECT_EQ(joined(1.5, 0, 2), "[ab cd]");  // no width of its own: the next one's
    EXPECT_EQ(joined(0, -1, 2), "[ab][cd]");  // a negative width is its own, unusable
    EXPECT_EQ(joined(0, 0, 0), "[ab][cd]");

    // The run ends where its last item ends, here before its first one's end:
    // "c" is 1.5 after 9.5, not 1 after 10, so a space goes in.
    TextLine line(0);
    line.InsertItem(0, 10, 5, -1, 0, "a");
    line.InsertItem(9, 9.5, 8, -3, 2, "b");
    line.InsertItem(11, 12, 8, -3, 2, "c");
    line.JoinItems();
    ASSERT_EQ(line.GetItemCount(), 1u);
    const TextItem& run = line.GetItems()[0];
    EXPECT_EQ(run.text, "ab c");
    EXPECT_EQ(run.xEnd, 12);
    EXPECT_EQ(run.spaceWidth, 2);
    EXPECT_EQ(run.yTop, 5);  // the first item's extent
    EXPECT_EQ(run.yBottom, -1);
}

TEST(LayoutTest, TextExtentSkipsSpacesAndEndsAtTheLastStart) {
    TextLine line(0);
    EXPECT_FALSE(line.GetTextExtent());
    line.InsertItem(-5, 0, 1, -1, 1, " ");
    EXPECT_FALSE(line.GetTextExtent());
    line.InsertItem(0, 50, 1, -1, 1, "long");
    line.InsertItem(10, 12, 1, -1, 1, "x");
    line.InsertItem(60, 70, 1, -1, 1, " ");
    std::optional<TextExtent> extent = line.GetTextExtent();
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->start, 0);
    EXPECT_EQ(extent->end, 12);
}

TEST(LayoutTest, IntersectSpans) {
    EXPECT_EQ(IntersectSpans(0, 10, 5, 20), 5.0);
    EXPECT_EQ(IntersectSpans(5, 20, 0, 10), 5.0);
    EXPECT_EQ(IntersectSpans(0, 10, 2, 3), 1.0);
    EXPECT_FALSE(IntersectSpans(0, 10, 10, 20));  // touching
    EXPECT_FALSE(IntersectSpans(0, 10, 11, 20));
    EXPECT_FALSE(IntersectSpans(5, 5, 5, 5));
}

TEST(LayoutTest, CanJoinNeedsVerticalOverlapAndNoCollision) {
    auto lineWith = [](double baseline, double x0, double x1, double height, double sw = 2) {
        TextLine line(baseline);
        line.InsertItem(x0, x1, baseline + height * 0.8, baseline - height * 0.2, sw, "w");
        return line;
    };
    TextLine above = lineWith(100, 0, 50, 10);  // 98 to 108
    // Spans that touch or share less than half of both heights stay apart.
    EXPECT_FALSE(lineWith(90, 60, 90, 10).CanJoin(above));  // 88 to 98
    EXPECT_FALSE(lineWith(94.5, 60, 90, 10).CanJoin(above));
    // At least half of one height overlaps, side by side: one line.
    EXPECT_TRUE(lineWith(95, 60, 90, 10).CanJoin(above));
    EXPECT_TRUE(lineWith(103, 60, 90, 4).CanJoin(above));
    // Written over each other: apart unless the baselines are within half a height.
    EXPECT_FALSE(lineWith(95, 40, 90, 10).CanJoin(above));
    EXPECT_TRUE(lineWith(95.5, 40, 90, 10).CanJoin(above));
    // An overlap shorter than half of both space widths is no collision.
    EXPECT_TRUE(lineWith(95, 49.5, 90, 10).CanJoin(above));
    EXPECT_FALSE(lineWith(95, 49, 90, 10).CanJoin(above));
    // Without a space width any sliver of overlap collides; touching doesn't.
    TextLine bare = lineWith(100, 0, 50, 10, 0);
    EXPECT_FALSE(lineWith(95, 50 - 1e-9, 90, 10, 0).CanJoin(bare));
    EXPECT_FALSE(lineWith(95, -40, 1e-9, 10, 0).CanJoin(bare));
    EXPECT_TRUE(lineWith(95, 50, 90, 10, 0).CanJoin(bare));
    EXPECT_TRUE(lineWith(95, -40, 0, 10, 0).CanJoin(bare));
}

Lines TwoLinesApart(double distance) {
    TextLineList list;
    Writer w(list);
    w.Show(100, 700, "first", 12);
    w.Show(100, 700 - distance, "second", 12);
    return list.LayOutLines(78);
}

TEST(LayoutTest, BlankLineOnlyForLargeGaps) {
    EXPECT_EQ(TwoLinesApart(14), (Lines{"first ", "second "}));
    EXPECT_EQ(TwoLinesApart(30), (Lines{"first ", "", "second "}));
    EXPECT_EQ(TwoLinesApart(300), (Lines{"first ", "", "second "}));
}

TEST(LayoutTest, KerningOpensSpacesOrSplitsWords) {
    // Size 10: a space width is 2.78; "TJ" adjustments of -100, -300, -700.
    auto kerned = [](double adjustment) {
        TextLineList list;
        Writer w(list);
        double x = w.Show(100, 700, "Wor");
        w.Show(x - adjustment * 10 * 0.001, 700, "d");
        w.Show(300, 700, "end");
        return list.LayOutLines(78)[0];
    };
    // "end" is at (300 - 100) * 78 / 215 = 72.6.
    EXPECT_EQ(kerned(-100), Pad("Word ", 72) + "end ");
    EXPECT_EQ(kerned(-300), Pad("Wor d ", 72) + "end ");
    // Apart: "d" at its own column, 22 * 78 / 215 = 7.98.
    EXPECT_EQ(kerned(-700), Pad("Wor ", 7) + Pad("d ", 72 - 7) + "end ");
}

TEST(LayoutTest, SuperscriptJoinsTheLineItStandsIn) {
    TestFont font;
    TextLineList list;
    Writer w(list);
    double x = w.Show(100, 700, "E=mc", 12);
    x = w.Show(x, 703, "2", 8, font);
    w.Show(x + font.spaceCharWidth * 0.012, 700, "holds", 12);
    w.Show(100, 686, "next", 12);
    Lines out = list.LayOutLines(78);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], "E=mc2 holds ");
    EXPECT_EQ(out[1], "");  // the joined line keeps the superscript's baseline
    EXPECT_EQ(out[2], "next ");

    TextLineList plain;
    Writer p(plain);
    p.Show(100, 700, "E=mc", 12);
    p.Show(100, 686, "next", 12);
    EXPECT_EQ(plain.LayOutLines(78), (Lines{"E=mc ", "next "}));
}

TEST(LayoutTest, TwoColumnsSideBySide) {
    TextLineList list;
    Writer w(list);
    w.Show(100, 700, "left one");
    w.Show(100, 688, "left two");
    w.Show(350, 700, "right one");
    w.Show(350, 686.5, "right two");  // a little lower, still half a line shared
    Lines out = list.LayOutLines(78);
    // minX 100, maxX 392.78: the right column starts at 250 * 78 / 292.78 = 66.6.
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], Pad("left one ", 66) + "right one ");
    EXPECT_EQ(out[1], Pad("left two ", 66) + "right two ");
}

TEST(LayoutTest, WidthZeroOrNegativePacksItems) {
    for (int width : {0, -5}) {
        TextLineList list;
        Writer w(list);
        w.Show(100, 700, "a");
        w.Show(300, 700, "b");
        w.Show(500, 700, "c");
        EXPECT_EQ(list.LayOutLines(width), Lines{"a b c "}) << width;
    }
}

TEST(LayoutTest, ZeroSpaceWidthNeverJoinsAndBlanksEveryLine) {
    // A text matrix whose first element is 0 zeroes widths, heights and space widths.
    TextLineList list;
    for (double y : {700.0, 690.0, 680.0}) {
        TextLine* line = nullptr;
        for (char c : std::string("ab")) {
            line = list.AddItem(line, y, 100, 100, y, y, 0, std::string(1, c));
        }
    }
    EXPECT_EQ(list.LayOutLines(78), (Lines{"a b ", "", "a b ", "", "a b "}));
}

TEST(LayoutTest, NegativeXScalesUpToZero) {
    TextLineList list;
    Writer w(list);
    w.Show(-100, 700, "A");
    w.Show(-50, 700, "B");
    // minX -100, maxX stays 0: B at 50 * 78 / 100 = 39.
    EXPECT_EQ(list.LayOutLines(78), Lines{Pad("A ", 39) + "B "});
}

TEST(LayoutTest, RenderLineColumns) {
    TextLine line(0);
    line.InsertItem(0, 1, 1, -1, 0, "ab\t \r\n");
    line.InsertItem(1, 2, 1, -1, 0, "");
    line.InsertItem(2, 3, 1, -1, 0, "\xc3\xa9t\xc3\xa9");  // five bytes take five columns
    line.InsertItem(9, 10, 1, -1, 0, "z");
    EXPECT_EQ(line.RenderLine(0, 10, 20), "ab  \xc3\xa9t\xc3\xa9" + std::string(9, ' ') + "z ");
    EXPECT_EQ(line.GetItems()[0].text, "ab");  // trimmed in the item
    // A range of 0 makes every quotient infinite or undefined: next free column.
    EXPECT_EQ(line.RenderLine(0, 0, 78), "ab  \xc3\xa9t\xc3\xa9 z ");
}

TEST(LayoutTest, WidestLayoutIsBounded) {
    auto laidOut = [](int width) {
        TextLineList list;
        list.AddItem(nullptr, 0, 0, 1, 1, -1, 0, "a");
        list.AddItem(nullptr, 0, 100, 101, 1, -1, 0, "b");
        return list.LayOutLines(width);
    };
    Lines widest = laidOut(kMaxLineWidth);
    ASSERT_EQ(widest.size(), 1u);
    EXPECT_EQ(widest[0].size(), static_cast<std::size_t>(kMaxLineWidth * 100 / 101 + 2));
    EXPECT_EQ(laidOut(kMaxLineWidth + 1), widest);
    EXPECT_EQ(laidOut(std::numeric_limits<int>::max()), widest);

    // A column computed beyond the widest layout (an item far right of the
    // text's extent) takes the next free column.
    TextLine line(0);
    line.InsertItem(0, 1, 1, -1, 0, "a");
    line.InsertItem(kMaxLineWidth, 1, 1, -1, 0, "b");
    line.InsertItem(kMaxLineWidth + 1, 1, 1, -1, 0, "c");
    EXPECT_EQ(line.RenderLine(0, 1, 1), Pad("a ", kMaxLineWidth) + "b c ");
}

}  // namespace
}  // namespace tessary
