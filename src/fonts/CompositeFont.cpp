#include "fonts/CompositeFont.h"

#include <algorithm>
#include <optional>
#include <string>

#include "fonts/CMapReader.h"
#include "fonts/CMapResources.h"
#include "fonts/FontLimits.h"

namespace tessary {

namespace {

// The space width of a font whose codes map none to U+0020: a quarter of an
// em, near the space of most Latin faces.
constexpr std::uint16_t kFallbackSpaceWidth = 250;

// The CMap of /Encoding: a predefined name, or a CMap stream with the CMap it
// uses (named by its usecmap operator, or its dictionary's /UseCMap, a name or
// another stream). `path` holds the streams being read, so a chain that comes
// back to one ends there.
std::shared_ptr<const CMap> LoadEncodingCMap(const PdfObject* encoding,
                                             std::vector<const PdfStream*>& path) {
    if (IsKind(encoding, PdfObjectType::Name)) {
        return GetPredefinedCMap(static_cast<const PdfName*>(encoding)->text);
    }
    const PdfStream* stream = AsReadableStream(encoding);
    if (!stream || path.size() > kMaxUseCMapDepth ||
        std::find(path.begin(), path.end(), stream) != path.end()) {
        return nullptr;
    }
    // What an encoding CMap maps to text is never used.
    auto cmap = std::make_shared<CMap>(ReadCMap(GetStreamBytes(stream), 0));
    std::shared_ptr<const CMap> parent;
    if (!cmap->useCMap.empty()) {
        parent = GetPredefinedCMap(cmap->useCMap);
    } else if (const PdfObject* used = ResolveBorrowed(
                   DictionaryOrEmpty(stream->dictionary.get()).PeekValue("/UseCMap"))) {
        path.push_back(stream);
        parent = LoadEncodingCMap(used, path);
        path.pop_back();
    }
    if (parent) {
        cmap->Inherit(*parent);
    }
    return cmap;
}

}  // namespace

CompositeFont::CompositeFont(const PdfDictionary& dict) {
    // Without /Encoding the codes are taken as Identity-H, as most composite
    // fonts have them; with an unknown one (or a predefined CMap whose file is
    // missing) as two-byte codes that select no CID.
    if (const PdfObject* encoding = ResolveBorrowed(dict.PeekValue("/Encoding"))) {
        std::vector<const PdfStream*> path;
        cmap = LoadEncodingCMap(encoding, path);
    } else {
        cmap = GetPredefinedCMap("Identity-H");
    }
    const std::vector<CodespaceRange> ranges = cmap && !cmap->codespace.empty()
                                                   ? cmap->codespace
                                                   : GetPredefinedCMap("Identity-H")->codespace;
    SetCodespace(ranges);

    const PdfArray* descendants = AsArray(ResolveBorrowed(dict.PeekValue("/DescendantFonts")));
    const PdfObject* descendant =
        descendants ? ResolveBorrowed(descendants->PeekElement(0)) : nullptr;
    LoadDescendant(DictionaryOrEmpty(descendant));

    // A /ToUnicode that maps nothing counts as absent. Codes beyond the
    // largest the codespace holds are never shown.
    std::uint32_t maxCode = 0;
    for (const CodespaceRange& range : ranges) {
        maxCode =
            std::max(maxCode, GetByteStringValue(std::string_view(
                                  reinterpret_cast<const char*>(range.high.data()), range.length)));
    }
    if (const PdfStream* stream = AsReadableStream(ResolveBorrowed(dict.PeekValue("/ToUnicode")))) {
        toUnicode = CodeTextTable(ReadCMap(GetStreamBytes(stream), maxCode).unicode);
    }
    mappedWidths.resize(toUnicode.GetCount());
    for (std::size_t entry = 0; entry < mappedWidths.size(); ++entry) {
        mappedWidths[entry] = widths.Get(GetCid(toUnicode.GetCode(entry)));
    }
    if (toUnicode.GetCount() == 0) {
        const PdfDictionary& info = DictionaryOrEmpty(
            ResolveBorrowed(DictionaryOrEmpty(descendant).PeekValue("/CIDSystemInfo")));
        collection = GetCollectionCharacters(info.GetValueString("/Registry") + "-" +
                                             info.GetValueString("/Ordering"));
    }
    spaceWidth = FindSpaceWidth();
}

void CompositeFont::LoadDescendant(const PdfDictionary& descendant) {
    const std::uint16_t defaultWidth =
        descendant.HasKey("/DW") ? ClampWidth(descendant.GetValueInteger("/DW")) : kDefaultCidWidth;
    widths = CidWidths(AsArray(ResolveBorrowed(descendant.PeekValue("/W"))), defaultWidth);
    if (const PdfDictionary* descriptor =
            AsDictionary(ResolveBorrowed(descendant.PeekValue("/FontDescriptor")))) {
        LoadDescriptorMetrics(*descriptor);
    } else {
        ascent = kDefaultAscent;
        descent = kDefaultDescent;
    }
}

std::u32string_view CompositeFont::GetText(std::uint32_t code) const {
    if (toUnicode.GetCount() != 0) {
        const std::optional<std::size_t> entry = toUnicode.Find(code);
        return entry ? toUnicode.GetText(*entry) : std::u32string_view();
    }
    if (collection) {
        const std::uint32_t cid = GetCid(code);
        if (cid < collection->size() && (*collection)[cid] != 0) {
            return std::u32string_view(&(*collection)[cid], 1);
        }
    }
    return {};
}

std::uint16_t CompositeFont::FindSpaceWidth() const {
    // The lowest code that maps to a space (the table's codes ascend);
    // without a ToUnicode map code 32, which the predefined CMaps map to a
    // space, else the collection's first space.
    std::optional<std::uint32_t> spaceCode;
    for (std::size_t entry = 0; entry < toUnicode.GetCount() && !spaceCode; ++entry) {
        if (toUnicode.GetText(entry) == U" ") {
            spaceCode = toUnicode.GetCode(entry);
        }
    }
    if (!spaceCode && GetText(0x20) == U" ") {
        spaceCode = 0x20;
    }
    if (spaceCode) {
        return GetWidth(*spaceCode);
    }
    if (collection) {
        const auto space = std::find(collection->begin(), collection->end(), U' ');
        if (space != collection->end()) {
            return widths.Get(static_cast<std::uint32_t>(space - collection->begin()));
        }
    }
    return kFallbackSpaceWidth;
}

}  // namespace tessary
