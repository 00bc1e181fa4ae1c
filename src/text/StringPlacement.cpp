#include "text/StringPlacement.h"

#include <cmath>

#include "fonts/PdfFont.h"

namespace tessary {

namespace {

// How tall a unit of text space stands above its baseline: the part of the
// matrix's y axis at right angles to its x axis. Exact for matrices that keep
// the text axis-parallel, the usual case, so their heights don't pick up
// rounding.
double HeightScale(const Matrix& m) {
    if (m.b == 0.0) {
        return std::fabs(m.d);
    }
    if (m.a == 0.0) {
        return std::fabs(m.c);
    }
    return std::fabs(m.Determinant()) / std::hypot(m.a, m.b);
}

}  // namespace

void StringPlacement::Prepare(const GraphicsState& state, const PdfFont& font,
                              TextFrameList& frames) {
    if (settled) {
        return;
    }
    settled = true;
    const Inputs now{state.textMatrix,         state.ctm, state.fontSize, state.horizontalScale,
                     state.textY + state.rise, &font,     &frames};
    if (prepared && now == inputs) {
        return;
    }
    inputs = now;
    prepared = true;
    WorkOut(state, font, frames);
}

void StringPlacement::WorkOut(const GraphicsState& state, const PdfFont& font,
                              TextFrameList& frames) {
    frame = nullptr;
    const Matrix textToPage = state.textMatrix.Then(state.ctm);
    const double determinant = textToPage.Determinant();
    if (!textToPage.IsFinite() || determinant == 0.0 || !std::isfinite(determinant)) {
        return;
    }
    // Glyphs run along the rendering matrix's x axis: the text matrix's,
    // turned around by a negative size or scaling, and mirrored by a negative
    // scaling alone (which flips one axis, a negative size both).
    const double advance = state.fontSize * state.horizontalScale < 0 ? -1.0 : 1.0;
    const double handedness = state.horizontalScale < 0 ? -1.0 : 1.0;
    const TextDirection direction =
        TextDirection::Of(textToPage.ApplyToVector({advance, 0}), handedness * determinant);
    TextFrame& target = frames.GetFrame(direction);
    textToFrame = textToPage.Then(target.GetPageToFrame());

    const double scale = state.fontSize * 0.001;
    const double height = HeightScale(textToPage);
    ascent = font.ascent * std::fabs(scale) * height;
    descent = font.descent * std::fabs(scale) * height;
    spaceWidth = font.spaceWidth * scale * state.horizontalScale * textToFrame.a;
    if (InBounds(ascent) && InBounds(descent) && InBounds(spaceWidth)) {
        frame = &target;
    }
}

}  // namespace tessary
