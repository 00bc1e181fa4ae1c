// A font measurer that remembers what another measured.
#pragma once

#include <mutex>
#include <unordered_map>

#include "platform/FontMeasurer.h"

namespace tessary {

// Measures each distinct request (family, bold, italic) once through the
// measurer it wraps and answers repeats from memory. Thread-safe: a request
// measured by one thread is waited for, not measured again, by another.
class CachingFontMeasurer : public FontMeasurer {
  public:
    // inner is not owned and must outlive this object.
    explicit CachingFontMeasurer(FontMeasurer& inner) : inner_(inner) {}

    FontMetrics Measure(const FontRequest& request) override;

  private:
    FontMeasurer& inner_;
    std::mutex mutex_;
    std::unordered_map<FontRequest, FontMetrics, FontRequestHash> cache_;
};

}  // namespace tessary
