// Reading order of synthetic pages: columns one after another, tables and
// pages in one column as the layout renders them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TextWriter.h"
#include "text/ReadingOrder.h"

namespace tessary {
namespace {

using Lines = std::vector<std::string>;
using test::Pad;
using test::TextWriter;

Lines InOrder(TextWriter& w, TextOrder order = TextOrder::Reading) {
    Lines out;
    LayOutInOrder(w.list, out, 78, order);
    return out;
}

// Prose lines 12 apart from (x, y) down, each 111.12 wide: the tag and the
// line's number, then four words.
void Write(TextWriter& w, double x, double y, char tag, int count, int first = 1) {
    for (int i = 0; i < count; ++i)
        w.Show(x, y - 12 * i, std::string{tag, char('0' + first + i)} + "aa word word word word");
}
Lines Tagged(char tag, int count, int first = 1) {
    Lines lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(std::string{tag, char('0' + first + i)} + "aa word word word word ");
    return lines;
}
Lines Join(std::initializer_list<Lines> blocks) {
    Lines out;
    for (const Lines& block : blocks) {
        if (!out.empty())
            out.emplace_back();
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

TEST(ReadingOrderTest, TitleAboveTwoColumnsFooterBelow) {
    // A footer centred in the gutter, or at the left below the columns.
    for (auto [x, footer, column] : {std::tuple{223.0, "-1-", 36}, {100.0, "page one", 0}}) {
        TextWriter w;
        w.Show(150, 760, "A title that runs across both columns");
        Write(w, 100, 730, 'L', 4);
        Write(w, 250, 730, 'R', 4);
        w.Show(250 + 111.12, 721, "1", 7);  // a superscript on a baseline of its own
        w.Show(x, 650, footer);
        // The layout joins it to its line, whose baseline it keeps: 15 above
        // the next line, a blank line's distance.
        Lines right = Tagged('R', 4);
        right[1] = "R2aa word word word word1 ";
        right.insert(right.begin() + 2, "");
        // Extent 100 to 364.62: the title at 50 * 78 / 264.62 = 14.7.
        EXPECT_EQ(InOrder(w), Join({{Pad("", 14) + "A title that runs across both columns "},
                                    Tagged('L', 4),
                                    right,
                                    {Pad("", column) + footer + " "}}))
            << footer;
    }
}

TEST(ReadingOrderTest, ThreeColumnsWithATableInsideOne) {
    TextWriter w;
    Write(w, 100, 730, 'A', 4);
    Write(w, 250, 730, 'B', 4);
    Write(w, 400, 730, 'C', 4);
    for (double y : {670, 658, 646}) {
        w.Show(250, y, "ab");
        w.Show(330, y, "12");
    }
    // The page's scale from the column's edge: 80 * 78 / 411.12 = 15.2.
    Lines b = Tagged('B', 4);
    b.insert(b.end(), {"", Pad("ab ", 15) + "12 ", Pad("ab ", 15) + "12 ", Pad("ab ", 15) + "12 "});
    EXPECT_EQ(InOrder(w), Join({Tagged('A', 4), b, Tagged('C', 4)}));
}

TEST(ReadingOrderTest, TablesAcrossThePage) {
    // Short cells below two columns, sharing their gutter: side by side.
    TextWriter w;
    Write(w, 100, 730, 'L', 4);
    Write(w, 250, 730, 'R', 4);
    for (double y : {670, 658, 646}) {
        w.Show(100, y, "name");
        w.Show(250, y, "value one");
    }
    const std::string row = Pad("name ", 44) + "value one ";
    EXPECT_EQ(InOrder(w), Join({Tagged('L', 4), Tagged('R', 4), {row, row, row}}));

    // Cells of prose, rows apart: row by row, each cell whole.
    TextWriter grid;
    for (auto [y, left, right] : {std::tuple{700, 'a', 'b'}, {640, 'c', 'd'}}) {
        Write(grid, 100, y, left, 2);
        grid.Show(100, y - 24, std::string{left} + "3aa");
        Write(grid, 250, y, right, 2);
        grid.Show(250, y - 24, std::string{right} + "3aa");
    }
    Lines cells;
    for (char tag : {'a', 'b', 'c', 'd'}) {
        Lines cell = Tagged(tag, 2);
        cell.push_back(std::string{tag} + "3aa ");
        cells = cells.empty() ? cell : Join({cells, cell});
    }
    EXPECT_EQ(InOrder(grid), cells);
}

TEST(ReadingOrderTest, PagesInOneColumnAreTheLayout) {
    const std::vector<std::function<void(TextWriter&)>> pages = {
        [](TextWriter& w) {  // the layout's worked example
            w.Show(100, 700, "Hello world");
            w.Show(100, 688, "Second line");
            w.Show(100, 652, "After gap");
            w.Show(400, 700, "Right");
        },
        [](TextWriter& w) {
            w.Show(150, 760, "Heading");
            Write(w, 100, 736, 'P', 4);
            for (double y : {676, 652}) {  // a list beside its bullets
                w.Show(100, y, "*");
                w.Show(115, y, "an item that goes on and on");
                w.Show(115, y - 12, "and wraps");
            }
            w.Show(100, 616, "term");  // a term beside its description
            w.Show(160, 616, "what the term means, at length");
            w.Show(160, 604, "and more");
            for (double y : {580, 568, 556}) {  // a table
                w.Show(100, y, "name");
                w.Show(200, y, "12");
                w.Show(260, y, "yes");
            }
            w.Show(200, 520, "- 3 -");
        },
        [](TextWriter& w) {  // code beside aligned comments
            double y = 700;
            for (const char* code : {"x = f(y);", "total = x + y;", "print(total);", "return;"}) {
                w.Show(100, y, code);
                w.Show(200, y, "# what the line does and why");
                y -= 12;
            }
        },
    };
    for (std::size_t i = 0; i < pages.size(); ++i) {
        TextWriter layout, reading;
        pages[i](layout);
        pages[i](reading);
        EXPECT_EQ(InOrder(reading), InOrder(layout, TextOrder::Layout)) << i;
    }
}

}  // namespace
}  // namespace tessary
