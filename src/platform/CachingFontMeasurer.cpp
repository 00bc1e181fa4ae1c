#include "platform/CachingFontMeasurer.h"

namespace tessary {

FontMetrics CachingFontMeasurer::Measure(const FontRequest& request) {
    // Measuring under the lock keeps two threads from measuring the same
    // family; measuring is rare (a few fonts per document) and quick.
    std::lock_guard lock(mutex_);
    auto it = cache_.find(request);
    if (it == cache_.end()) {
        it = cache_.emplace(request, inner_.Measure(request)).first;
    }
    return it->second;
}

}  // namespace tessary
