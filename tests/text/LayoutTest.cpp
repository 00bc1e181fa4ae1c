// Layout of synthetic text items into lines: the rules a reader sees.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "TextWriter.h"
#include "text/TextLine.h"
#include "text/TextLineList.h"

namespace tessary {
namespace {

using Lines = std::vector<std::string>;

using Writer = test::TextWriter;
using test::Pad;

Lines WorkedExample(int width) {
    Writer w;
    w.Show(100, 700, "Hello world");
    w.Show(100, 688, "Second line");
    w.Show(100, 652, "After gap");
    w.Show(400, 700, "Right");
    return w.LayOut(width);
}

TEST(LayoutTest, WorkedExampleAtWidths78And40) {
    EXPECT_EQ(WorkedExample(78),
              (Lines{Pad("Hello world ", 72) + "Right ", "Second line ", "", "After gap "}));
    EXPECT_EQ(WorkedExample(40),
              (Lines{Pad("Hello world ", 36) + "Right ", "Second line ", "", "After gap "}));
}

TEST(LayoutTest, AddItemGroupsByBaselineAndRefusesSpaces) {
    TextLineList list;
    // A lone space is refused and breaks the chain of its string; "  " is text.
    EXPECT_EQ(list.AddItem(nullptr, 10, 0, 1, 11, 9, 1, " "), nullptr);
    TextLine* first = list.AddItem(nullptr, 10, 0, 1, 11, 9, 1, "  ");
    // A given line takes the item whatever its baseline (text at a slant).
    EXPECT_EQ(list.AddItem(first, 50, 0, 1, 51, 49, 1, "b"), first);
    // Equal baselines share a line, 0.0 and -0.0 included; others get their own.
    EXPECT_EQ(list.AddItem(nullptr, 10, 5, 6, 11, 9, 1, "c"), first);
    TextLine* zero = list.AddItem(nullptr, 0.0, 0, 1, 1, -1, 1, "d");
    EXPECT_EQ(list.AddItem(nullptr, -0.0, 2, 3, 1, -1, 1, "e"), zero);
    TextLine* high = list.AddItem(nullptr, 20, 0, 1, 21, 19, 1, "f");
    EXPECT_EQ(list.GetLines(), (std::vector<const TextLine*>{high, first, zero}));
    EXPECT_EQ(list.AddItem(nullptr, HUGE_VAL, 0, 1, 1, -1, 1, "g"), nullptr);
}

std::string Texts(const TextLine& line) {
    std::string texts;
    for (const TextItem& item : line.GetItems())
        texts += "[" + std::string(item.text) + "]";
    return texts;
}

TEST(LayoutTest, ItemsKeepXOrderAndTheTextExtentEndsAtTheLastOne) {
    TextLine line(0);
    EXPECT_FALSE(line.GetTextExtent());
    line.InsertItem(-5, 0, 1, -1, 1, " ");
    EXPECT_FALSE(line.GetTextExtent());
    for (auto [x, text] : {std::pair{5, "c"}, {0, "a"}, {5, "d"}, {3, "b"}, {5, "e"}, {9, " "}})
        line.InsertItem(x, x == 0 ? 50 : x + 1, 1, -1, 1, text);
    EXPECT_EQ(Texts(line), "[ ][a][b][c][d][e][ ]");  // equal x in the order of arrival
    // Spaces don't count; the extent ends at the last item's end, not the furthest.
    EXPECT_EQ(line.GetTextExtent()->start, 0);
    EXPECT_EQ(line.GetTextExtent()->end, 6);
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
        return Texts(line);
    };
    EXPECT_EQ(joined(1, 2), "[abcd]");  // exactly half a space width
    EXPECT_EQ(joined(1.001, 2), "[ab cd]");
    EXPECT_EQ(joined(3.999, 2), "[ab cd]");
    EXPECT_EQ(joined(4, 2), "[ab][cd]");      // exactly two space widths
    EXPECT_EQ(joined(-3, 2), "[abcd]");       // overlap
    EXPECT_EQ(joined(1.5, 0, 2), "[ab cd]");  // no width of its own: the next one's
    EXPECT_EQ(joined(0, -1, 2), "[ab][cd]");  // a negative width is its own, unusable
    EXPECT_EQ(joined(0, 0, 0), "[ab][cd]");
    // The run ends where its last item ends, here before its first one's end:
    // "c" is 1.5 after 9.5, not 1 after 10, so a space goes in. The run keeps
    // the first item's extent.
    TextLine line(0);
    line.InsertItem(0, 10, 5, -1, 0, "a");
    line.InsertItem(9, 9.5, 8, -3, 2, "b");
    line.InsertItem(11, 12, 8, -3, 2, "c");
    line.JoinItems();
    ASSERT_EQ(Texts(line), "[ab c]");
    const TextItem& run = line.GetItems()[0];
    EXPECT_EQ(
        std::vector<double>({run.xEnd, run.style->spaceWidth, run.style->yTop, run.style->yBottom}),
        std::vector<double>({12, 2, 5, -1}));
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

TEST(LayoutTest, BlankLineOnlyForLargeGaps) {
    for (auto [distance, expected] : {std::pair{14, Lines{"first ", "second "}},
                                      {30, Lines{"first ", "", "second "}},
                                      {300, Lines{"first ", "", "second "}}}) {
        Writer w;
        w.Show(100, 700, "first", 12);
        w.Show(100, 700 - distance, "second", 12);
        EXPECT_EQ(w.LayOut(78), expected) << distance;
    }
}

TEST(LayoutTest, KerningOpensSpacesOrSplitsWords) {
    // Size 10: a space width is 2.78; "TJ" adjustments of -100, -300, -700.
    auto kerned = [](double adjustment) {
        Writer w;
        w.Show(w.Show(100, 700, "Wor") - adjustment * 10 * 0.001, 700, "d");
        w.Show(300, 700, "end");
        return w.LayOut(78)[0];
    };
    // "end" is at (300 - 100) * 78 / 215 = 72.6.
    EXPECT_EQ(kerned(-100), Pad("Word ", 72) + "end ");
    EXPECT_EQ(kerned(-300), Pad("Wor d ", 72) + "end ");
    // Apart: "d" at its own column, 22 * 78 / 215 = 7.98.
    EXPECT_EQ(kerned(-700), Pad("Wor ", 7) + Pad("d ", 72 - 7) + "end ");
}

TEST(LayoutTest, SuperscriptJoinsTheLineItStandsIn) {
    Writer w;
    double x = w.Show(100, 700, "E=mc", 12);
    x = w.Show(x, 703, "2", 8);
    w.Show(x + 278 * 0.012, 700, "holds", 12);
    w.Show(100, 686, "next", 12);
    // The joined line keeps the superscript's baseline, hence the blank line.
    EXPECT_EQ(w.LayOut(78), (Lines{"E=mc2 holds ", "", "next "}));

    Writer plain;
    plain.Show(100, 700, "E=mc", 12);
    plain.Show(100, 686, "next", 12);
    EXPECT_EQ(plain.LayOut(78), (Lines{"E=mc ", "next "}));
}

TEST(LayoutTest, TwoColumnsSideBySide) {
    Writer w;
    w.Show(100, 700, "left one");
    w.Show(100, 688, "left two");
    w.Show(350, 700, "right one");
    w.Show(350, 686.5, "right two");  // a little lower, still half a line shared
    // minX 100, maxX 392.78: the right column starts at 250 * 78 / 292.78 = 66.6.
    EXPECT_EQ(w.LayOut(78),
              (Lines{Pad("left one ", 66) + "right one ", Pad("left two ", 66) + "right two "}));
}

TEST(LayoutTest, WidthZeroOrNegativePacksItems) {
    for (int width : {0, -5}) {
        Writer w;
        w.Show(100, 700, "a");
        w.Show(300, 700, "b");
        w.Show(500, 700, "c");
        EXPECT_EQ(w.LayOut(width), Lines{"a b c "}) << width;
    }
}

TEST(LayoutTest, ZeroSpaceWidthNeverJoinsAndBlanksEveryLine) {
    // Text of size 0 has no width, height or space width.
    TextLineList list;
    for (double y : {700.0, 690.0, 680.0})
        list.AddItem(list.AddItem(nullptr, y, 100, 100, y, y, 0, "a"), y, 100, 100, y, y, 0, "b");
    EXPECT_EQ(list.LayOutLines(78), (Lines{"a b ", "", "a b ", "", "a b "}));
}

TEST(LayoutTest, NegativeXScalesUpToZero) {
    Writer w;
    w.Show(-100, 700, "A");
    w.Show(-50, 700, "B");
    // minX -100, maxX stays 0: B at 50 * 78 / 100 = 39.
    EXPECT_EQ(w.LayOut(78), Lines{Pad("A ", 39) + "B "});
}

TEST(LayoutTest, RenderLineColumnsAndTheWidestLayout) {
    TextLine line(0);
    line.InsertItem(0, 1, 1, -1, 0, "ab\t \r\n");
    line.InsertItem(1, 2, 1, -1, 0, "");
    line.InsertItem(2, 3, 1, -1, 0, "\xc3\xa9t\xc3\xa9");  // five bytes take five columns
    line.InsertItem(9, 10, 1, -1, 0, "z");
    EXPECT_EQ(line.RenderLine(0, 10, 20), "ab  \xc3\xa9t\xc3\xa9" + std::string(9, ' ') + "z ");
    EXPECT_EQ(line.GetItems()[0].text, "ab");  // trimmed in the item
    // A range of 0 makes every quotient infinite or undefined: next free column.
    EXPECT_EQ(line.RenderLine(0, 0, 78), "ab  \xc3\xa9t\xc3\xa9 z ");

    // Wider layouts are laid out at the widest; a column beyond it (an item
    // far right of the text's extent) takes the next free column.
    Lines out{"kept"};
    for (int width : {kMaxLineWidth, kMaxLineWidth + 1, std::numeric_limits<int>::max()}) {
        TextLineList list;
        list.AddItem(nullptr, 0, 0, 1, 1, -1, 0, "a");
        list.AddItem(nullptr, 0, 100, 101, 1, -1, 0, "b");
        list.LayOutLines(out, width);
    }
    const std::string widest = Pad("a ", kMaxLineWidth * 100 / 101) + "b ";
    EXPECT_EQ(out, (Lines{"kept", widest, widest, widest}));
    TextLine far(0);
    far.InsertItem(0, 1, 1, -1, 0, "a");
    far.InsertItem(kMaxLineWidth, 1, 1, -1, 0, "b");
    far.InsertItem(kMaxLineWidth + 1, 1, 1, -1, 0, "c");
    EXPECT_EQ(far.RenderLine(0, 1, 1), Pad("a ", kMaxLineWidth) + "b c ");
    EXPECT_TRUE(TextLineList().LayOutLines(78).empty());
}

}  // namespace
}  // namespace tessary
