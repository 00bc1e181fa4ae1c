#include "text/PageTextExtractor.h"

#include <algorithm>
#include <cmath>

#include "pdf/PdfObject.h"

namespace tessary {

const PageTextExtractor::OperatorEntry PageTextExtractor::kOperators[] = {
    {"BT", &PageTextExtractor::HandleTextState},
    {"Tc", &PageTextExtractor::HandleTextState},
    {"Tw", &PageTextExtractor::HandleTextState},
    {"Tz", &PageTextExtractor::HandleTextState},
    {"TL", &PageTextExtractor::HandleTextState},
    {"Tf", &PageTextExtractor::HandleTextState},
    {"Tm", &PageTextExtractor::HandleTextState},
    {"Tr", &PageTextExtractor::HandleTextState},
    {"Ts", &PageTextExtractor::HandleTextState},
    {"cs", &PageTextExtractor::HandleGraphicsState},
    {"sc", &PageTextExtractor::HandleGraphicsState},
    {"scn", &PageTextExtractor::HandleGraphicsState},
    {"rg", &PageTextExtractor::HandleGraphicsState},
    {"q", &PageTextExtractor::HandleGraphicsState},
    {"Q", &PageTextExtractor::HandleGraphicsState},
    {"cm", &PageTextExtractor::HandleGraphicsState},
    {"Td", &PageTextExtractor::HandleTextPosition},
    {"TD", &PageTextExtractor::HandleTextPosition},
    {"T*", &PageTextExtractor::HandleTextPosition},
    {"Tj", &PageTextExtractor::HandleShowText},
    {"TJ", &PageTextExtractor::HandleShowText},
    {"'", &PageTextExtractor::HandleShowText},
    {"\"", &PageTextExtractor::HandleShowText},
    {"Do", &PageTextExtractor::HandleXObject},
};

namespace {

// The six numbers in front of "cm" or "Tm", as an interpreter reads them.
Matrix ReadMatrixOperands(const ContentInterpreter& content) {
    return {content.GetOperandNumber(5), content.GetOperandNumber(4), content.GetOperandNumber(3),
            content.GetOperandNumber(2), content.GetOperandNumber(1), content.GetOperandNumber(0)};
}

// A form's /Matrix: an array of six numbers; anything else reads as the
// identity, the standard's default.
Matrix ReadFormMatrix(const PdfObject* value) {
    const PdfArray* array = AsArray(value);
    if (!array || array->GetCount() != 6) {
        return {};
    }
    return {array->GetElementReal(0), array->GetElementReal(1), array->GetElementReal(2),
            array->GetElementReal(3), array->GetElementReal(4), array->GetElementReal(5)};
}

}  // namespace

PageTextExtractor::PageTextExtractor(PdfObjectStore& store, const CodePage& outputCodePage)
    : resources(store), codePage(outputCodePage) {}

void PageTextExtractor::LoadPageFonts(const PdfDictionary* pageResources) {
    resources.Push(pageResources);
}

void PageTextExtractor::DispatchOperator(std::string_view op) {
    // The table's operators are distinct, so the first row that matches is the
    // only one: an index of the table finds it without walking all the rows.
    static const std::unordered_map<std::string_view, Handler> index = [] {
        std::unordered_map<std::string_view, Handler> rows;
        for (const OperatorEntry& entry : kOperators) {
            rows.emplace(entry.name, entry.handler);
        }
        return rows;
    }();
    if (op.empty() || op.size() > 3) {
        return;  // every operator of the table is one to three bytes long
    }
    if (auto row = index.find(op); row != index.end()) {
        placement.Unsettle();
        (this->*row->second)(op);
    }
}

void PageTextExtractor::HandleTextState(std::string_view op) {
    if (op == "Tc") {
        state.charSpacing = GetOperandNumber(0);
    } else if (op == "Tw") {
        state.wordSpacing = GetOperandNumber(0);
    } else if (op == "Tz") {
        state.horizontalScale = GetOperandNumber(0) * 0.01;
    } else if (op == "TL") {
        state.leading = GetOperandNumber(0);
    } else if (op == "Tf") {
        state.fontName = GetOperandString(1);
        state.fontSize = GetOperandNumber(0);
        // A name the resources don't have keeps the font in use.
        if (std::optional<const PdfFont*> font = resources.FindFont(state.fontName)) {
            state.currentFont = *font;
        }
    } else if (op == "Tm" || op == "BT") {
        state.textMatrix = op == "Tm" ? ReadMatrixOperands(*this) : Matrix();
        state.textX = state.textY = state.lineX = state.lineY = 0.0;
    } else if (op == "Tr") {
        // Truncated toward zero; a value out of int's range reads as 0.
        const double mode = std::trunc(GetOperandNumber(0));
        state.renderMode = std::fabs(mode) < 2147483648.0 ? static_cast<int>(mode) : 0;
    } else if (op == "Ts") {
        state.rise = GetOperandNumber(0);
    }
}

void PageTextExtractor::MoveToNextLine() {
    state.lineY -= state.leading;
    state.textX = state.lineX;
    state.textY = state.lineY;
}

void PageTextExtractor::HandleTextPosition(std::string_view op) {
    if (op == "Td" || op == "TD") {
        state.lineX += GetOperandNumber(1);
        state.lineY += GetOperandNumber(0);
        state.textX = state.lineX;
        state.textY = state.lineY;
        if (op == "TD") {
            state.leading = -GetOperandNumber(0);
        }
    } else if (op == "T*") {
        MoveToNextLine();
    }
}

int PageTextExtractor::LookUpColourSpace(const std::string& name) const {
    if (name == "/DeviceRGB")
        return 1;
    if (name == "/DeviceGray")
        return 2;
    if (name == "/DeviceCMYK")
        return 3;
    // Only an array names a family; any other kind of entry leaves "other".
    const PdfArray* space = AsArray(resources.FindEntry("/ColorSpace", name));
    const std::string family = space ? space->GetElementString(0) : std::string();
    if (family == "/DeviceRGB" || family == "/CalRGB")
        return 1;
    if (family == "/DeviceGray" || family == "/CalGray")
        return 2;
    if (family == "/DeviceCMYK" || family == "/CalCMYK")
        return 3;
    return 0;
}

void PageTextExtractor::HandleGraphicsState(std::string_view op) {
    if (op == "rg") {
        state.fillColour = {GetOperandNumber(2), GetOperandNumber(1), GetOperandNumber(0)};
    } else if (op == "cs") {
        state.colourSpaceKind = LookUpColourSpace(GetOperandString(0));
    } else if (op == "sc" || op == "scn") {
        switch (state.colourSpaceKind) {
            case 1:
                state.fillColour = {GetOperandNumber(2), GetOperandNumber(1), GetOperandNumber(0)};
                break;
            case 2:
                state.fillColour.fill(GetOperandNumber(0));
                break;
            case 3: {
                const double c = GetOperandNumber(3), m = GetOperandNumber(2),
                             y = GetOperandNumber(1), k = GetOperandNumber(0);
                state.fillColour = {1 - (c + k) * 0.5, 1 - (c + y) * 0.5, 1 - (c + m) * 0.5};
                break;
            }
            default:
                state.fillColour = {0, 0, 0};
                break;
        }
    } else if (op == "q") {
        if (savedStates.size() < kMaxSavedStates) {
            savedStates.push_back(state);
        } else {
            ++unsavedDepth;
        }
    } else if (op == "Q") {
        if (unsavedDepth > 0) {
            --unsavedDepth;
        } else if (savedStates.size() > savedStatesFloor) {
            state = std::move(savedStates.back());
            savedStates.pop_back();
        }
    } else if (op == "cm") {
        state.ctm = ReadMatrixOperands(*this).Then(state.ctm);
    }
}

void PageTextExtractor::HandleXObject(std::string_view) {
    // Images and other external objects draw no text and are passed over.
    const PdfStream* form = AsStream(resources.FindEntry("/XObject", GetOperandString(0)));
    if (!form || DictionaryOrEmpty(form->dictionary.get()).GetValueString("/Subtype") != "/Form") {
        return;
    }
    // A form that is running already (it draws itself, directly or through
    // others) or one more level than the limit is not entered.
    if (runningForms.size() >= static_cast<std::size_t>(kMaxFormDepth) ||
        std::find(runningForms.begin(), runningForms.end(), form) != runningForms.end()) {
        return;
    }
    RunForm(*form);
}

void PageTextExtractor::RunForm(const PdfStream& form) {
    // The form runs inside a saved state (ISO 32000 8.10.1) that its own "Q"s
    // cannot reach, whatever it leaves unbalanced.
    const GraphicsState outerState = state;
    const std::size_t outerFloor = savedStatesFloor;
    const std::size_t outerUnsaved = unsavedDepth;
    savedStatesFloor = savedStates.size();
    unsavedDepth = 0;

    const PdfDictionary& dict = DictionaryOrEmpty(form.dictionary.get());
    state.ctm = ReadFormMatrix(ResolveBorrowed(dict.PeekValue("/Matrix"))).Then(state.ctm);
    resources.Push(AsDictionary(ResolveBorrowed(dict.PeekValue("/Resources"))));
    runningForms.push_back(&form);
    // Decoded once, and kept for the pages after this one while the
    // document's allowance lasts; past it, decoded once per page however
    // often the page draws it, and let go with the page.
    auto [kept, added] = formContents.try_emplace(&form);
    FormContent& content = kept->second;
    if (added) {
        content.data = form.ReadData(content.buffer, true);
    }
    if (content.data) {
        RunContent(*content.data);
    }
    runningForms.pop_back();
    resources.Pop();

    savedStates.resize(savedStatesFloor);
    savedStatesFloor = outerFloor;
    unsavedDepth = outerUnsaved;
    state = outerState;
}

}  // namespace tessary
