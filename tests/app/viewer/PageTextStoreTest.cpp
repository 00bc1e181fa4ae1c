#include "app/PageTextStore.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessary {
namespace {

TEST(PageTextStore, HoldsOnlyWhatDiffersFromTheDefault) {
    PageTextStore pages(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(pages.GetWidth(2'000'000'000), 78);
    EXPECT_EQ(pages.GetText(2'000'000'000), "");

    pages.SetWidth(5, 40);
    pages.SetText(5, "kept\r\n");
    pages.SetText(std::numeric_limits<std::int32_t>::max() - 1, "last");
    EXPECT_EQ(pages.GetWidth(5), 40);
    EXPECT_EQ(pages.GetText(5), "kept\r\n");
    EXPECT_EQ(pages.GetEntryCount(), 3u);

    // Back to the default removes the entry.
    pages.SetWidth(5, 78);
    pages.SetText(5, "");
    EXPECT_EQ(pages.GetEntryCount(), 1u);

    // Outside the document: nothing changes.
    PageTextStore few(2);
    few.SetWidth(2, 40);
    few.SetText(-1, "x");
    EXPECT_EQ(few.GetEntryCount(), 0u);
    EXPECT_EQ(PageTextStore(-3).GetPageCount(), 0);
    EXPECT_FALSE(PageTextStore(-3).IsPage(0));
}

}  // namespace
}  // namespace tessary
