#include "text/PageTextExtractor.h"

#include <cmath>

#include "pdf/PdfObject.h"
#include "pdf/PdfObjectStore.h"

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
    {"Td", &PageTextExtractor::HandleTextPosition},
    {"TD", &PageTextExtractor::HandleTextPosition},
    {"T*", &PageTextExtractor::HandleTextPosition},
    {"Tj", &PageTextExtractor::HandleShowText},
    {"TJ", &PageTextExtractor::HandleShowText},
    {"'", &PageTextExtractor::HandleShowText},
    {"\"", &PageTextExtractor::HandleShowText},
};

PageTextExtractor::PageTextExtractor(PdfObjectStore& owner, const CodePage& outputCodePage)
    : store(owner), codePage(outputCodePage) {}

void PageTextExtractor::LoadPageFonts(const PdfDictionary* pageResources) {
    resources = pageResources;
    if (!resources) {
        return;
    }
    ObjectHandle fonts = resources->GetValue("/Font");
    const PdfDictionary& fontDict = DictionaryOrEmpty(fonts.get());
    std::string name;
    for (auto position = fontDict.GetStartPosition(); !fontDict.AtEnd(position);) {
        ObjectHandle value = fontDict.GetNextEntry(position, name);
        fontMap[name] = store.GetFont(AsDictionary(value.get()));
    }
}

Point PageTextExtractor::TransformPoint(double x, double y) const {
    const auto& [a, b, c, d, e, f] = state.textMatrix;
    return {a * x + c * y + e, b * x + d * y + f};
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
        if (auto found = fontMap.find(state.fontName); found != fontMap.end()) {
            state.currentFont = found->second;
        }
    } else if (op == "Tm" || op == "BT") {
        if (op == "Tm") {
            for (std::size_t i = 0; i < 6; ++i) {
                state.textMatrix[i] = GetOperandNumber(5 - i);
            }
        } else {
            state.textMatrix = {1, 0, 0, 1, 0, 0};
        }
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
    if (!resources) {
        return 0;
    }
    ObjectHandle spaces = resources->GetValue("/ColorSpace");
    ObjectHandle entry = DictionaryOrEmpty(spaces.get()).GetValue(name);
    // Only an array names a family; any other kind of entry leaves "other".
    const PdfArray* space = AsArray(entry.get());
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
        } else if (!savedStates.empty()) {
            state = std::move(savedStates.back());
            savedStates.pop_back();
        }
    }
}

}  // namespace tessary
