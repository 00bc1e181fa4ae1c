// The layout against the literal reference, on generated pages: every output
// byte and every AddItem answer must match.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ReferenceLayout.h"
#include "text/TextLineList.h"

namespace tessary {
namespace {

struct Call {
    bool sameString;  // pass the line of the previous call of the string
    double baseline, xStart, xEnd, yTop, yBottom, spaceWidth;
    std::string text;
};
using Page = std::vector<Call>;

// Generated pages mix what real pages do (words, lines, columns, kerning,
// superscripts, overprinting) with what hostile ones can: exact ties, exact
// threshold distances on a binary grid, reversed and zero-width items,
// negative and huge coordinates, numbers that aren't finite.
class PageGenerator {
  public:
    explicit PageGenerator(std::uint64_t seed) : rng_(seed) {}

    Page Generate() {
        Page page;
        int style = Pick(6);
        int strings = 1 + Pick(style == 5 ? 120 : 40);
        std::vector<double> baselines;
        int pool = 1 + Pick(8);
        for (int i = 0; i < pool; ++i) {
            baselines.push_back(Baseline());
        }
        double size = Chance(0.2) ? 0.0 : 4 + Pick(12);
        for (int s = 0; s < strings; ++s) {
            double baseline = Chance(0.8) ? baselines[Pick(pool)] : Baseline();
            if (style == 5) {  // characters on jittered baselines: lines that collapse
                baseline = 700 - 14 * Pick(3) + Pick(16) * 0.125;
            }
            double x = Chance(0.1) ? Grid(-20000, 20000) : Grid(-200, 600);
            if (Chance(0.1)) {
                size = Chance(0.2) ? 0.0 : 4 + Pick(12);
            }
            int length = 1 + Pick(style == 5 ? 2 : 12);
            std::size_t first = page.size();
            for (int c = 0; c < length; ++c) {
                page.push_back(Character(c > 0, baseline, x, size, style));
                x = page.back().xEnd + Gap(page.back().spaceWidth);
                if (style == 3) {  // rotated: the baseline moves along the string
                    baseline += 5;
                }
            }
            if (Chance(0.1)) {  // overprinted, exactly or with a small offset
                double shift = Chance(0.5) ? 0.0 : Grid(-1, 1);
                for (std::size_t i = first; i < first + length; ++i) {
                    Call copy = page[i];
                    copy.xStart += shift;
                    copy.xEnd += shift;
                    page.push_back(copy);
                }
            }
        }
        if (style == 4) {  // strings arriving right to left
            std::vector<Page> runs;
            for (const Call& call : page) {
                if (!call.sameString || runs.empty()) {
                    runs.emplace_back();
                }
                runs.back().push_back(call);
            }
            page.clear();
            for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
                page.insert(page.end(), it->begin(), it->end());
            }
        }
        return page;
    }

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    // Multiples of 1/8 make equal values and exact threshold hits common.
    double Grid(double lo, double hi) {
        return std::floor(std::uniform_real_distribution<double>(lo, hi)(rng_) * 8) / 8;
    }

    double Baseline() {
        switch (Pick(10)) {
            case 0:
                return Chance(0.5) ? 0.0 : -0.0;
            case 1:
                return Grid(-100, 0);
            case 2:
                return 1e300 * (Chance(0.5) ? 1 : -1);
            default:
                return 700 - 2 * Pick(40) + (Chance(0.3) ? Grid(-3, 3) : 0);
        }
    }

    double Gap(double sw) {
        switch (Pick(10)) {
            case 0:
                return 0.5 * sw;
            case 1:
                return 2 * sw;
            case 2:
                return Grid(-6, 12);
            case 3:
                return Grid(20, 300);
            default:
                return 0;
        }
    }

    double Special(double value) {
        if (!Chance(0.01)) {
            return value;
        }
        switch (Pick(4)) {
            case 0:
                return std::numeric_limits<double>::quiet_NaN();
            case 1:
                return std::numeric_limits<double>::infinity();
            case 2:
                return -std::numeric_limits<double>::infinity();
            default:
                return value * 1e305;
        }
    }

    Call Character(bool sameString, double baseline, double x, double size, int style) {
        static const char* const kTexts[] = {"a",   "b",        "W",  "1", "",   " ", "  ", "\t",
                                             "x\n", "\xc3\xa9", "fi", ".", "a ", "Z", "q"};
        Call call;
        call.sameString = sameString;
        call.text = kTexts[Pick(std::size(kTexts))];
        double scale = size * 0.001;
        double width = style == 3 ? 0 : (Chance(0.05) ? -500 : 250 + 250 * Pick(3)) * scale;
        call.baseline = Special(baseline);
        call.xStart = Special(x);
        call.xEnd = Special(x + width);
        double ascent = Chance(0.05) ? -200 : 718;
        double descent = Chance(0.05) ? 0 : 207;
        call.yTop = Special(baseline + ascent * scale);
        call.yBottom = Special(baseline - descent * scale);
        call.spaceWidth = Special(Chance(0.05) ? -278 * scale : 278 * scale);
        if (style == 3) {
            call.yTop = call.yBottom = call.baseline;
            call.spaceWidth = 0;
        }
        return call;
    }

    std::mt19937_64 rng_;
};

std::string Describe(const Page& page) {
    std::string s;
    char buffer[256];
    for (const Call& c : page) {
        std::snprintf(buffer, sizeof buffer, "%d %a %a %a %a %a %a \"%s\"\n", c.sameString,
                      c.baseline, c.xStart, c.xEnd, c.yTop, c.yBottom, c.spaceWidth,
                      c.text.c_str());
        s += buffer;
    }
    return s;
}

// Feeds the page to both layouts; false when an AddItem answer differs.
bool Feed(const Page& page, TextLineList& fast, reference::LineList& slow) {
    TextLine* fastLine = nullptr;
    reference::Line* slowLine = nullptr;
    for (const Call& c : page) {
        if (!c.sameString) {
            fastLine = nullptr;
            slowLine = nullptr;
        }
        fastLine = fast.AddItem(fastLine, c.baseline, c.xStart, c.xEnd, c.yTop, c.yBottom,
                                c.spaceWidth, c.text);
        slowLine = slow.AddItem(slowLine, c.baseline, c.xStart, c.xEnd, c.yTop, c.yBottom,
                                c.spaceWidth, c.text);
        if ((fastLine == nullptr) != (slowLine == nullptr) ||
            (fastLine && fastLine->GetBaseline() != slowLine->baseline)) {
            return false;
        }
    }
    return fast.GetLineCount() == slow.lines.size();
}

void ExpectSameLayout(const Page& page, int width, int secondWidth) {
    TextLineList fast;
    reference::LineList slow;
    ASSERT_TRUE(Feed(page, fast, slow)) << Describe(page);
    std::vector<std::string> fastOut{"kept"};
    std::vector<std::string> slowOut{"kept"};
    fast.LayOutLines(fastOut, width);
    slow.LayOutLines(slowOut, width);
    ASSERT_EQ(fastOut, slowOut) << "width " << width << "\n" << Describe(page);
    // Laying out again works on the joined, trimmed lines: still the same.
    EXPECT_EQ(fast.LayOutLines(secondWidth),
              [&] {
                  std::vector<std::string> out;
                  slow.LayOutLines(out, secondWidth);
                  return out;
              }())
        << "second width " << secondWidth << "\n"
        << Describe(page);
}

TEST(LayoutDifferentialTest, GeneratedPagesMatchTheReference) {
    const int widths[] = {0, 1, 40, 78, 200, -7, kMaxLineWidth + 5};
    const std::size_t count = std::size(widths);
    for (std::uint64_t seed = 1; seed <= 1000; ++seed) {
        PageGenerator generator(seed);
        Page page = generator.Generate();
        // Three of the widths per page, a different three each time.
        for (std::size_t k = 0; k < 3; ++k) {
            SCOPED_TRACE("seed " + std::to_string(seed));
            std::size_t w = (seed + 2 * k) % count;
            ExpectSameLayout(page, widths[w], widths[(w + 3) % count]);
            if (HasFailure()) {
                return;
            }
        }
    }
}

// Pages whose lines collapse into one long chain, with items arriving in
// every order: the search of a growing line by x against the full scan.
TEST(LayoutDifferentialTest, CollapsingLinesMatchTheReference) {
    std::mt19937_64 rng(42);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 60; ++round) {
        Page page;
        int lines = 20 + pick(60);
        double height = 4 + pick(40);
        // Baselines close enough that some colliding lines still join and
        // some don't; items on a fine grid so spans touch or barely overlap.
        double spread = 0.125 * (1 + pick(40));
        for (int i = 0; i < lines; ++i) {
            double baseline = 500 - 0.125 * pick(static_cast<int>(spread * 8) + 1) - i * 0.01;
            double lineHeight = height * (pick(4) == 0 ? 0.5 : 1.0);
            int items = 1 + pick(12);
            for (int k = 0; k < items; ++k) {
                double x = pick(1600) * 0.125 + (pick(8) == 0 ? (pick(3) - 1) * 1e-9 : 0);
                double w = pick(40) * 0.125 * (pick(7) == 0 ? -1 : 1);
                double sw = pick(6) * 0.5 - 0.5;
                std::string text(1, static_cast<char>('a' + pick(26)));
                page.push_back(Call{k > 0 && pick(2) == 0, baseline, x, x + w,
                                    baseline + lineHeight * 0.75, baseline - lineHeight * 0.25, sw,
                                    text});
            }
        }
        for (int width : {78, 0}) {
            SCOPED_TRACE("round " + std::to_string(round));
            ExpectSameLayout(page, width, 40);
        }
    }
}

}  // namespace
}  // namespace tessary
