// Cost per character of laying out synthetic pages: an ordinary page against
// a very large one, in several shapes, for the layout, for the literal
// reference it must match and for the reading order. Prints one row per shape
// and size.
//
//   layout_bench [reference-budget-seconds]   (default 120)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ReferenceLayout.h"
#include "text/ReadingOrder.h"
#include "text/TextLineList.h"

namespace {

using tessary::TextLine;
using tessary::TextLineList;
namespace reference = tessary::reference;

struct Call {
    bool sameString;
    double baseline, xStart, xEnd, yTop, yBottom, spaceWidth;
    char text;
};
using Page = std::vector<Call>;

enum class Shape { Words, Characters, TwoColumns, Reversed, Jittered, Rotated };

const char* Name(Shape shape) {
    switch (shape) {
        case Shape::Words:
            return "words";
        case Shape::Characters:
            return "one string per char";
        case Shape::TwoColumns:
            return "two columns";
        case Shape::Reversed:
            return "right to left, bottom up";
        case Shape::Jittered:
            return "jittered baselines";
        case Shape::Rotated:
            return "rotated 90 degrees";
    }
    return "";
}

// A page of `lines` lines of `perLine` characters in a 10-unit font (letters
// 5 wide, spaces 2.78), words of 3 to 9 letters, one string per word.
Page MakePage(Shape shape, int lines, int perLine) {
    Page page;
    unsigned seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    for (int l = 0; l < lines; ++l) {
        double baseline = 14.0 * (lines - l);
        double x = 72;
        int column = 0;
        bool sameString = false;
        int wordLeft = 3 + static_cast<int>(next() % 7);
        for (int c = 0; c < perLine; ++c) {
            if (shape == Shape::TwoColumns && column == 0 && c >= perLine / 2) {
                x = 320;
                column = 1;
                sameString = false;
            }
            if (wordLeft == 0) {
                x += 2.78;  // a shown space: refused, it only advances
                sameString = false;
                wordLeft = 3 + static_cast<int>(next() % 7);
            }
            double y = baseline;
            if (shape == Shape::Jittered) {
                y += (next() % 64) * 0.001;
            }
            Call call{sameString, y,        x,    x + 5,
                      y + 7.18,   y - 2.07, 2.78, static_cast<char>('a' + next() % 26)};
            if (shape == Shape::Rotated) {
                // Text matrix (0 1 -1 0 e f): x stays, the baseline climbs.
                call = Call{sameString, 14.0 * c, 20.0 * l, 20.0 * l,
                            14.0 * c,   14.0 * c, 0,        call.text};
            }
            page.push_back(call);
            sameString = shape != Shape::Characters && shape != Shape::Jittered;
            x += 5;
            --wordLeft;
        }
    }
    if (shape == Shape::Reversed) {
        std::vector<Page> strings;
        for (const Call& call : page) {
            if (!call.sameString || strings.empty()) {
                strings.emplace_back();
            }
            strings.back().push_back(call);
        }
        page.clear();
        for (auto it = strings.rbegin(); it != strings.rend(); ++it) {
            page.insert(page.end(), it->begin(), it->end());
        }
    }
    return page;
}

template <typename List, typename Line>
List Collect(const Page& page) {
    List list;
    Line* line = nullptr;
    for (const Call& c : page) {
        line = list.AddItem(c.sameString ? line : nullptr, c.baseline, c.xStart, c.xEnd, c.yTop,
                            c.yBottom, c.spaceWidth, std::string_view(&c.text, 1));
    }
    return list;
}

template <typename List, typename Line>
std::vector<std::string> LayOut(const Page& page) {
    List list = Collect<List, Line>(page);
    std::vector<std::string> out;
    list.LayOutLines(out, 78);
    return out;
}

std::vector<std::string> ReadingOrder(const Page& page) {
    TextLineList list = Collect<TextLineList, TextLine>(page);
    std::vector<std::string> out;
    tessary::LayOutInOrder(list, out, 78, tessary::TextOrder::Reading);
    return out;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Nanoseconds per character, repeating until at least minSeconds have passed.
template <typename LayOutFunction>
double CostPerChar(LayOutFunction layOut, const Page& page, double minSeconds,
                   std::vector<std::string>& out) {
    int runs = 0;
    auto start = std::chrono::steady_clock::now();
    do {
        out = layOut(page);
        ++runs;
    } while (Seconds(start) < minSeconds);
    return Seconds(start) * 1e9 / (static_cast<double>(runs) * static_cast<double>(page.size()));
}

}  // namespace

int main(int argc, char** argv) {
    double budget = argc > 1 ? std::atof(argv[1]) : 120;
    std::printf("%-26s %9s %7s %12s %12s %8s %12s\n", "shape", "chars", "lines", "fast ns/ch",
                "ref ns/ch", "gain", "reading ns/ch");
    bool allSame = true;
    for (Shape shape : {Shape::Words, Shape::Characters, Shape::TwoColumns, Shape::Reversed,
                        Shape::Jittered, Shape::Rotated}) {
        double fastOrdinary = 0;
        // The reference's time at the previous size, to skip a hopeless run:
        // it is quadratic in the worst shapes.
        double refSeconds = 0;
        double refSize = 1;
        for (auto [lines, perLine] :
             {std::pair{50, 60}, std::pair{200, 100}, std::pair{2000, 100}}) {
            Page page = MakePage(shape, lines, perLine);
            std::vector<std::string> fastOut;
            double fast = CostPerChar(LayOut<TextLineList, TextLine>, page, 0.5, fastOut);
            std::vector<std::string> readingOut;
            double reading = CostPerChar(ReadingOrder, page, 0.5, readingOut);
            if (lines == 50) {
                fastOrdinary = fast;
            }
            char refText[32] = "skipped";
            char gainText[32] = "";
            double grow = static_cast<double>(page.size()) / refSize;
            if (refSeconds * grow * grow < budget) {
                std::vector<std::string> refOut;
                auto start = std::chrono::steady_clock::now();
                double ref =
                    CostPerChar(LayOut<reference::LineList, reference::Line>, page, 0.0, refOut);
                refSeconds = Seconds(start);
                refSize = static_cast<double>(page.size());
                std::snprintf(refText, sizeof refText, "%.0f", ref);
                std::snprintf(gainText, sizeof gainText, "%.1fx", ref / fast);
                if (refOut != fastOut) {
                    allSame = false;
                    std::printf("OUTPUT DIFFERS for %s, %d lines\n", Name(shape), lines);
                }
            }
            std::printf("%-26s %9zu %7d %12.0f %12s %8s %12.0f", Name(shape), page.size(), lines,
                        fast, refText, gainText, reading);
            if (lines != 50) {
                std::printf("   %.2fx the ordinary page", fast / fastOrdinary);
            }
            std::printf("\n");
        }
    }
    std::printf(allSame ? "outputs identical wherever the reference ran\n" : "OUTPUTS DIFFER\n");
    return allSame ? 0 : 1;
}
