#include "app/PageTextStore.h"

#include <algorithm>

#include "text/TextFileConversion.h"

namespace tessary {

PageTextStore::PageTextStore(std::int32_t count) : pageCount(std::max(count, 0)) {}

std::int32_t PageTextStore::GetWidth(std::int32_t index) const {
    const auto found = widths.find(index);
    return found == widths.end() ? kDefaultLineWidth : found->second;
}

void PageTextStore::SetWidth(std::int32_t index, std::int32_t width) {
    if (!IsPage(index)) {
        return;
    }
    if (width == kDefaultLineWidth) {
        widths.erase(index);
    } else {
        widths[index] = width;
    }
}

const std::string& PageTextStore::GetText(std::int32_t index) const {
    static const std::string kNothing;
    const auto found = texts.find(index);
    return found == texts.end() ? kNothing : found->second;
}

void PageTextStore::SetText(std::int32_t index, std::string text) {
    if (!IsPage(index)) {
        return;
    }
    if (text.empty()) {
        texts.erase(index);
    } else {
        texts[index] = std::move(text);
    }
}

}  // namespace tessary
