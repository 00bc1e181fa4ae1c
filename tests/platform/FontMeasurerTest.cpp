#include "platform/FontMeasurer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/CachingFontMeasurer.h"
#include "platform/SystemFontMeasurer.h"

namespace tessary {
namespace {

// These need Debian's fonts-liberation2, which answers Arial, Times New Roman
// and Courier New with faces of the same metrics.
FontMetrics MeasureInstalled(const std::string& family, bool bold = false, bool italic = false) {
    return SystemFontMeasurer().Measure(FontRequest{family, bold, italic});
}

TEST(SystemFontMeasurerTest, MetricCompatibleFaces) {
    FontMetrics regular = MeasureInstalled("Arial");
    ASSERT_TRUE(regular.measured);
    EXPECT_EQ(regular.family, "Liberation Sans");
    EXPECT_FALSE(regular.exactMatch);
    EXPECT_EQ(regular.widths['A'], 667);
    // Codes read as Windows-1252: 0x80 is the euro sign, 0x95 the bullet.
    EXPECT_EQ(regular.widths[0x80], 556);
    EXPECT_EQ(regular.widths[0x95], 350);
    EXPECT_EQ(regular.ascent, 905);
    EXPECT_EQ(regular.descent, 212);
    FontMetrics bold = MeasureInstalled("Arial", true);
    EXPECT_EQ(bold.widths['A'], 722);
    EXPECT_NE(bold.file, regular.file);
    EXPECT_NE(MeasureInstalled("Arial", false, true).file, regular.file);
    EXPECT_NE(MeasureInstalled("Arial", true, true).file, bold.file);
    EXPECT_TRUE(MeasureInstalled("liberation sans").exactMatch);

    FontMetrics courier = MeasureInstalled("Courier New");
    EXPECT_TRUE(std::all_of(courier.widths.begin(), courier.widths.end(),
                            [](std::uint16_t width) { return width == 600; }));
    FontMetrics times = MeasureInstalled("Times New Roman");
    EXPECT_EQ(times.family, "Liberation Serif");
    EXPECT_EQ(times.widths[' '], 250);
}

TEST(SystemFontMeasurerTest, FamiliesThatAreNotInstalledStillGetWidths) {
    for (const std::string& family :
         {std::string("NoSuchFamilyAnywhere"), std::string(), std::string("Arial\xE9\xFF"),
          std::string("Ari\0al", 6), std::string(kMaxFontFamilyLength + 100, 'x')}) {
        FontMetrics metrics = MeasureInstalled(family);
        EXPECT_TRUE(metrics.measured) << family;
        EXPECT_FALSE(metrics.exactMatch) << family;
        EXPECT_GT(metrics.widths['A'], 0) << family;
        EXPECT_GT(metrics.ascent, 0) << family;
    }
}

struct CountingMeasurer : FontMeasurer {
    FontMetrics Measure(const FontRequest& request) override {
        ++calls;
        FontMetrics metrics;
        metrics.widths.fill(request.bold ? 700 : 500);
        metrics.measured = true;
        return metrics;
    }
    int calls = 0;
};

TEST(CachingFontMeasurerTest, MeasuresEachRequestOnce) {
    CountingMeasurer counting;
    CachingFontMeasurer caching(counting);
    EXPECT_EQ(caching.Measure({"Arial", false, false}).widths[0], 500);
    EXPECT_EQ(caching.Measure({"Arial", false, false}).widths[0], 500);
    EXPECT_EQ(caching.Measure({"Arial", true, false}).widths[0], 700);
    caching.Measure({"Arial", false, true});
    caching.Measure({"Verdana", false, false});
    caching.Measure({"Arial", true, false});
    EXPECT_EQ(counting.calls, 4);
}

}  // namespace
}  // namespace tessary
