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

// Pages of strings shown at (x, y) in a size, and their lines at a width.
TEST(LayoutTest, PagesOfShownStrings) {
    using Shown = std::vector<std::tuple<double, double, const char*, double>>;
    const Shown worked = {{100, 700, "Hello world", 10},
                          {100, 688, "Second line", 10},
                          {100, 652, "After gap", 10},
                          {400, 700, "Right", 10}};
    // "Wor" ends at 115; a space width is 2.78, so "TJ" adjustments of -100,
    // -300 and -700 join, open a space, or set "d" apart at its own column,
    // 22 * 78 / 215 = 7.98. "end" is at (300 - 100) * 78 / 215 = 72.6.
    auto kerned = [](double adjustment) {
        return Shown{
            {100, 700, "Wor", 10}, {115 - adjustment * 0.01, 700, "d", 10}, {300, 700, "end", 10}};
    };
    const Shown spread = {{100, 700, "a", 10}, {300, 700, "b", 10}, {500, 700, "c", 10}};
    const std::tuple<const char*, Shown, int, Lines> pages[] = {
        {"worked example",
         worked,
         78,
         {Pad("Hello world ", 72) + "Right ", "Second line ", "", "After gap "}},
        {"worked example",
         worked,
         40,
         {Pad("Hello world ", 36) + "Right ", "Second line ", "", "After gap "}},
        // A blank line only for large gaps.
        {"gap 14", {{100, 700, "first", 12}, {100, 686, "second", 12}}, 78, {"first ", "second "}},
        {"gap 30",
         {{100, 700, "first", 12}, {100, 670, "second", 12}},
         78,
         {"first ", "", "second "}},
        {"gap 300",
         {{100, 700, "first", 12}, {100, 400, "second", 12}},
         78,
         {"first ", "", "second "}},
        {"kerned 100", kerned(-100), 78, {Pad("Word ", 72) + "end "}},
        {"kerned 300", kerned(-300), 78, {Pad("Wor d ", 72) + "end "}},
        {"kerned 700", kerned(-700), 78, {Pad("Wor ", 7) + Pad("d ", 72 - 7) + "end "}},
        // A superscript joins the line it stands in, which keeps its baseline,
        // hence the blank line.
        {"superscript",
         {{100, 700, "E=mc", 12},
          {124, 703, "2", 8},
          {128 + 278 * 0.012, 700, "holds", 12},
          {100, 686, "next", 12}},
         78,
         {"E=mc2 holds ", "", "next "}},
        {"no superscript",
         {{100, 700, "E=mc", 12}, {100, 686, "next", 12}},
         78,
         {"E=mc ", "next "}},
        // Two columns, the right one a little lower, still sharing half a
        // line: minX 100, maxX 392.78, so it starts at 250 * 78 / 292.78 = 66.6.
        {"two columns",
         {{100, 700, "left one", 10},
          {100, 688, "left two", 10},
          {350, 700, "right one", 10},
          {350, 686.5, "right two", 10}},
         78,
         {Pad("left one ", 66) + "right one ", Pad("left two ", 66) + "right two "}},
        // A width of zero or less packs the items.
        {"width 0", spread, 0, {"a b c "}},
        {"width -5", spread, -5, {"a b c "}},
        // With negative x, maxX stays 0: B at 50 * 78 / 100 = 39.
        {"negative x", {{-100, 700, "A", 10}, {-50, 700, "B", 10}}, 78, {Pad("A ", 39) + "B "}},
    };
    for (const auto& [what, shown, width, expected] : pages) {
        Writer w;
        for (const auto& [x, y, text, size] : shown)
            w.Show(x, y, text, size);
        EXPECT_EQ(w.LayOut(width), expected) << what;
    }
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

TEST(LayoutTest, ZeroSpaceWidthNeverJoinsAndBlanksEveryLine) {
    // Text of size 0 has no width, height or space width.
    TextLineList list;
    for (double y : {700.0, 690.0, 680.0})
        list.AddItem(list.AddItem(nullptr, y, 100, 100, y, y, 0, "a"), y, 100, 100, y, y, 0, "b");
    EXPECT_EQ(list.LayOutLines(78), (Lines{"a b ", "", "a b ", "", "a b "}));
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
