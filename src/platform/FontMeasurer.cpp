#include "platform/FontMeasurer.h"

#include <atomic>
#include <functional>

#include "platform/CachingFontMeasurer.h"
#include "platform/SystemFontMeasurer.h"

namespace tessary {

namespace {

std::atomic<FontMeasurer*> replacementMeasurer{nullptr};

FontMeasurer& GetDefaultFontMeasurer() {
    static SystemFontMeasurer systemMeasurer;
    static CachingFontMeasurer cachingMeasurer(systemMeasurer);
    return cachingMeasurer;
}

}  // namespace

std::size_t FontRequestHash::operator()(const FontRequest& request) const {
    std::size_t style = (request.bold ? 1u : 0u) | (request.italic ? 2u : 0u);
    return std::hash<std::string>()(request.family) * 4 + style;
}

FontMeasurer& GetFontMeasurer() {
    if (FontMeasurer* replacement = replacementMeasurer.load()) {
        return *replacement;
    }
    return GetDefaultFontMeasurer();
}

FontMeasurer* SetFontMeasurer(FontMeasurer* measurer) {
    return replacementMeasurer.exchange(measurer);
}

}  // namespace tessary
