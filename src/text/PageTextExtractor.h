// Runs one page's content and collects its text: the graphics state that text
// placement needs, the operator handlers, the forms the content draws, and the
// frames (one per direction of text) that every shown character is added to.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/CodePage.h"
#include "text/ContentInterpreter.h"
#include "text/GraphicsState.h"
#include "text/ResourceStack.h"
#include "text/StringPlacement.h"
#include "text/TextFrameList.h"
#include "text/TextLimits.h"

namespace tessary {

class PdfDictionary;
class PdfFont;
class PdfObjectStore;
class PdfStream;

class PageTextExtractor final : public ContentInterpreter {
  public:
    PageTextExtractor(PdfObjectStore& store, const CodePage& codePage);

    // Sets the page's resources, where "Tf", "cs" and "Do" look names up (a
    // form's own resources take over while it runs). Fonts are loaded from the
    // store when a "Tf" first names them.
    void LoadPageFonts(const PdfDictionary* pageResources);

    TextFrameList& GetFrames() { return frames; }
    const GraphicsState& GetState() const { return state; }

  private:
    void DispatchOperator(std::string_view op) override;

    void HandleTextState(std::string_view op);
    void HandleTextPosition(std::string_view op);
    void HandleGraphicsState(std::string_view op);
    void HandleShowText(std::string_view op);
    void HandleXObject(std::string_view op);
    void RunForm(const PdfStream& form);
    void ShowString(std::string_view bytes);
    // ConvertToText(c, codePage, "?"), remembered.
    const std::string& ConvertCharacter(char32_t c);
    void MoveToNextLine();
    int LookUpColourSpace(const std::string& name) const;

    using Handler = void (PageTextExtractor::*)(std::string_view);
    struct OperatorEntry {
        std::string_view name;
        Handler handler;
    };
    static const OperatorEntry kOperators[];

    ResourceStack resources;
    TextFrameList frames;
    StringPlacement placement;  // of the string shown last
    CodePage codePage;
    struct ConvertedCharacter {
        bool filled = false;
        char32_t character = 0;
        std::string text;
    };
    std::array<ConvertedCharacter, 256> convertedCharacters;
    GraphicsState state;
    std::vector<GraphicsState> savedStates;
    std::size_t unsavedDepth = 0;                // "q" beyond kMaxSavedStates not yet closed
    std::size_t savedStatesFloor = 0;            // what the running form's "Q" may not restore
    std::vector<const PdfStream*> runningForms;  // outermost first
    // The decoded content of each form the page has run (see RunForm).
    struct FormContent {
        std::string buffer;
        const std::string* data = nullptr;  // buffer, the form's own bytes, or absent
    };
    std::unordered_map<const PdfStream*, FormContent> formContents;
};

}  // namespace tessary
