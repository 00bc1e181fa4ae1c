// The layout against the literal reference on generated pages: every AddItem
// answer and every output byte must match.
#include <gtest/gtest.h>

#include <cmath>
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

// Pages mix what real pages do (words, lines, columns, kerning, superscripts,
// overprinting, rotated text) with what hostile ones can: ties and exact
// threshold distances on a binary grid, strings in any x order, reversed and
// zero-width items, negative, huge and non-finite numbers.
class PageGenerator {
  public:
    explicit PageGenerator(std::uint64_t seed) : rng(seed) {}

    // Style 0 is rotated text (no width, the baseline moves along the
    // string), style 1 many lines that absorb long chains of others.
    std::vector<Call> Generate() {
        const int style = Pick(5);
        return style == 1 ? Chain() : Strings(style == 0);
    }

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng); }
    // Multiples of 1/8 make equal values and exact threshold hits common.
    double Grid(double lo, double hi) {
        return std::floor(std::uniform_real_distribution<double>(lo, hi)(rng) * 8) / 8;
    }
    double Special(double value) {
        const double specials[] = {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL,
                                   value * 1e305};
        return Chance(0.01) ? specials[Pick(4)] : value;
    }
    // Zero of both signs, negative, huge, and lines 2 apart with superscripts.
    double Baseline() {
        const double choices[] = {Chance(0.5) ? 0.0 : -0.0, Grid(-100, 0),
                                  Chance(0.5) ? 1e300 : -1e300,
                                  700 - 2 * Pick(40) + (Chance(0.3) ? Grid(-3, 3) : 0)};
        return choices[std::min(Pick(10), 3)];
    }

    std::vector<Call> Strings(bool rotated) {
        std::vector<Call> page;
        std::vector<double> baselines(1 + Pick(8));
        for (double& baseline : baselines)
            baseline = Baseline();
        double size = Chance(0.2) ? 0.0 : 4 + Pick(12);
        for (int s = 1 + Pick(40); s > 0; --s) {
            double baseline = Chance(0.8) ? baselines[Pick(baselines.size())] : Baseline();
            double x = Chance(0.1) ? Grid(-20000, 20000) : Grid(-200, 600);
            if (Chance(0.1))
                size = Chance(0.2) ? 0.0 : 4 + Pick(12);
            const double scale = size * 0.001;
            const std::size_t first = page.size();
            for (int c = 0, length = 1 + Pick(12); c < length; ++c) {
                static const char* const kTexts[] = {"a",  "b",   "W",        "1",  "",  " ", "  ",
                                                     "\t", "x\n", "\xc3\xa9", "fi", ".", "a "};
                const double width = rotated ? 0 : (Chance(0.05) ? -500 : 250 + 250 * Pick(3));
                Call call{c > 0,
                          Special(baseline),
                          Special(x),
                          Special(x + width * scale),
                          Special(baseline + (Chance(0.05) ? -200 : 718) * scale),
                          Special(baseline - (Chance(0.05) ? 0 : 207) * scale),
                          Special((Chance(0.05) ? -278 : 278) * scale),
                          kTexts[Pick(13)]};
                if (rotated) {
                    call.yTop = call.yBottom = call.baseline;
                    call.spaceWidth = 0;
                    baseline += 5;
                }
                page.push_back(call);
                const double gaps[] = {0.5 * call.spaceWidth, 2 * call.spaceWidth, Grid(-6, 12),
                                       Grid(20, 300), 0};
                x = call.xEnd + gaps[std::min(Pick(10), 4)];
            }
            if (Chance(0.1)) {  // overprinted, exactly or with a small offset
                const double shift = Chance(0.5) ? 0.0 : Grid(-1, 1);
                for (std::size_t i = first, end = page.size(); i < end; ++i) {
                    page.push_back(page[i]);
                    page.back().xStart += shift;
                    page.back().xEnd += shift;
                }
            }
        }
        return page;
    }

    // Lines close enough that some colliding ones still join and some don't,
    // items arriving in every order on a fine grid so that spans touch or
    // barely overlap.
    std::vector<Call> Chain() {
        std::vector<Call> page;
        const double height = 4 + Pick(40);
        const int spread = 1 + Pick(40);
        for (int i = 0, lines = 20 + Pick(60); i < lines; ++i) {
            const double baseline = 500 - 0.125 * Pick(spread + 1) - i * 0.01;
            const double lineHeight = height * (Pick(4) == 0 ? 0.5 : 1.0);
            for (int k = 0, items = 1 + Pick(12); k < items; ++k) {
                const double x = Pick(1600) * 0.125 + (Pick(8) == 0 ? (Pick(3) - 1) * 1e-9 : 0);
                const double w = Pick(40) * 0.125 * (Pick(7) == 0 ? -1 : 1);
                page.push_back(Call{k > 0 && Pick(2) == 0, baseline, x, x + w,
                                    baseline + lineHeight * 0.75, baseline - lineHeight * 0.25,
                                    Pick(6) * 0.5 - 0.5, std::string(1, 'a' + Pick(26))});
            }
        }
        return page;
    }

    std::mt19937_64 rng;
};

TEST(LayoutDifferentialTest, GeneratedPagesMatchTheReference) {
    const int widths[] = {0, 1, 40, 78, 200, -7, kMaxLineWidth + 5};
    for (std::uint64_t seed = 1; seed <= 1000 && !HasFailure(); ++seed) {
        const std::vector<Call> page = PageGenerator(seed).Generate();
        // Three of the widths per page, a different three each time, each
        // followed by a second layout of the joined and trimmed lines.
        for (std::size_t k = 0; k < 3 && !HasFailure(); ++k) {
            SCOPED_TRACE("seed " + std::to_string(seed));
            TextLineList fast;
            reference::LineList slow;
            TextLine* fastLine = nullptr;
            reference::Line* slowLine = nullptr;
            for (const Call& c : page) {
                fastLine = fast.AddItem(c.sameString ? fastLine : nullptr, c.baseline, c.xStart,
                                        c.xEnd, c.yTop, c.yBottom, c.spaceWidth, c.text);
                slowLine = slow.AddItem(c.sameString ? slowLine : nullptr, c.baseline, c.xStart,
                                        c.xEnd, c.yTop, c.yBottom, c.spaceWidth, c.text);
                ASSERT_TRUE(fastLine ? slowLine && fastLine->GetBaseline() == slowLine->baseline
                                     : !slowLine);
            }
            ASSERT_EQ(fast.GetLineCount(), slow.lines.size());
            std::vector<std::string> fastOut{"kept"};
            std::vector<std::string> slowOut{"kept"};
            for (std::size_t w : {seed + 2 * k, seed + 2 * k + 3}) {
                fast.LayOutLines(fastOut, widths[w % 7]);
                slow.LayOutLines(slowOut, widths[w % 7]);
                ASSERT_EQ(fastOut, slowOut) << "width " << widths[w % 7];
            }
        }
    }
}

}  // namespace
}  // namespace tessary
