// Runs one page's content and collects its text: the text state and the
// graphics state that text placement needs, the operator handlers, and the
// lines that every shown character is added to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/CodePage.h"
#include "text/ContentInterpreter.h"
#include "text/TextLineList.h"

namespace tessary {

class PdfDictionary;
class PdfFont;
class PdfObjectStore;

// Saved states beyond this depth are counted, not kept: "q" and "Q" still
// pair up, but a "Q" deeper than the limit restores nothing.
inline constexpr std::size_t kMaxSavedStates = 1024;

struct Point {
    double x = 0.0;
    double y = 0.0;
};

class PageTextExtractor final : public ContentInterpreter {
  public:
    PageTextExtractor(PdfObjectStore& store, const CodePage& codePage);

    // Sets the resources (where "cs" looks colour spaces up) and maps every
    // font of their /Font dictionary by its resource name.
    void LoadPageFonts(const PdfDictionary* pageResources);

    TextLineList& GetLines() { return lines; }
    Point TransformPoint(double x, double y) const;

    // The state that "q" saves and "Q" restores.
    struct TextState {
        double charSpacing = 0.0;
        double wordSpacing = 0.0;
        double horizontalScale = 1.0;  // recorded; placement doesn't use it
        double leading = 0.0;
        std::string fontName;
        double fontSize = 0.0;  // no font is in use before the first "Tf"
        const PdfFont* currentFont = nullptr;
        std::array<double, 6> textMatrix{1, 0, 0, 1, 0, 0};
        double textX = 0.0;
        double textY = 0.0;
        double lineX = 0.0;
        double lineY = 0.0;
        int renderMode = 0;       // recorded; placement doesn't use it
        double rise = 0.0;        // recorded; placement doesn't use it
        int colourSpaceKind = 1;  // 0 other, 1 RGB, 2 gray, 3 CMYK
        std::array<double, 3> fillColour{0, 0, 0};
    };
    const TextState& GetState() const { return state; }

  private:
    void DispatchOperator(std::string_view op) override;

    void HandleTextState(std::string_view op);
    void HandleTextPosition(std::string_view op);
    void HandleGraphicsState(std::string_view op);
    void HandleShowText(std::string_view op);
    void ShowString(std::string_view bytes);
    void MoveToNextLine();
    int LookUpColourSpace(const std::string& name) const;

    using Handler = void (PageTextExtractor::*)(std::string_view);
    struct OperatorEntry {
        std::string_view name;
        Handler handler;
    };
    static const OperatorEntry kOperators[];

    PdfObjectStore& store;
    const PdfDictionary* resources = nullptr;
    std::unordered_map<std::string, const PdfFont*> fontMap;
    TextLineList lines;
    CodePage codePage;
    TextState state;
    std::vector<TextState> savedStates;
    std::size_t unsavedDepth = 0;  // "q" beyond kMaxSavedStates not yet closed
};

}  // namespace tessary
