#include "pdf/XrefReader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "pdf/Limits.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfParser.h"
#include "pdf/XrefTable.h"

namespace tessary {

namespace {

// The field widths of a cross-reference stream: exactly three numbers, each
// of 0 to 8 bytes.
bool ReadWidths(const PdfDictionary& dict, std::int32_t (&widths)[3]) {
    ObjectHandle w = dict.GetValue("/W");
    const PdfArray* array = AsArray(w.get());
    if (!array || array->GetCount() != 3) {
        return false;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        ObjectHandle element = array->GetElement(k);
        widths[k] = GetIntegerValue(element.get());
        if (!IsKind(element.get(), PdfObjectType::Number) || widths[k] < 0 || widths[k] > 8) {
            return false;
        }
    }
    return true;
}

// The /Index pairs (first number, count); [0 /Size] when absent.
bool ReadIndex(const PdfDictionary& dict,
               std::vector<std::pair<std::int64_t, std::int64_t>>& index) {
    const std::int32_t size = dict.GetValueInteger("/Size");
    ObjectHandle value = dict.GetValue("/Index");
    if (!value) {
        index.emplace_back(0, size);
        return size >= 0;
    }
    const PdfArray* array = AsArray(value.get());
    if (!array || array->GetCount() % 2 != 0) {
        return false;
    }
    for (std::size_t k = 0; k < array->GetCount(); k += 2) {
        const std::int32_t first = array->GetElementInteger(k);
        const std::int32_t count = array->GetElementInteger(k + 1);
        if (first < 0 || count < 0) {
            return false;
        }
        index.emplace_back(first, count);
    }
    return true;
}

}  // namespace

std::int64_t ReadOffset(const PdfDictionary& trailer, std::string_view key) {
    return ParseInteger(trailer.GetValueString(key));
}

XrefReader::XrefReader(PdfDocument& owner, PdfParser& reader, XrefTable& xref)
    : document(owner), parser(reader), table(xref) {}

DictionaryHandle XrefReader::ReadChain(std::int64_t offset) {
    DictionaryHandle newest;
    complete = false;
    for (int sections = 0; sections < kMaxXrefSections; ++sections) {
        if (!seen.insert(offset).second) {
            complete = true;  // the chain comes back: it ends here
            break;
        }
        DictionaryHandle trailer = ReadSection(offset);
        if (!trailer) {
            break;
        }
        // A hybrid file's table leaves what it lacks to its cross-reference
        // stream, which comes before the older sections.
        if (const std::int64_t stream = ReadOffset(*trailer, "/XRefStm");
            stream != 0 && seen.insert(stream).second) {
            table.LetFreeEntriesPassOn();
            if (!ReadStreamSection(stream)) {
                break;
            }
        }
        const std::int64_t previous = ReadOffset(*trailer, "/Prev");
        if (!newest) {
            newest = std::move(trailer);
        } else {
            for (std::string_view key : kDocumentTrailerKeys) {
                if (!newest->HasKey(key) && trailer->HasKey(key)) {
                    newest->SetValue(key, CloneObject(trailer->PeekValue(key)));
                }
            }
        }
        if (previous == 0) {
            complete = true;
            break;
        }
        offset = previous;
    }
    return newest;
}

DictionaryHandle XrefReader::ReadSection(std::int64_t offset) {
    parser.SetPosition(offset);
    if (parser.ReadKeyword() == "xref") {
        return ReadClassicSection();
    }
    return ReadStreamSection(offset);
}

DictionaryHandle XrefReader::ReadClassicSection() {
    table.BeginSection();
    for (;;) {
        const std::int64_t beforeHeader = parser.GetPosition();
        std::string text;
        if (parser.ReadTypedToken(text) != PdfObjectType::Number) {
            parser.SetPosition(beforeHeader);  // the next token is "trailer"
            break;
        }
        const std::int32_t first = ParseInteger(text);
        const std::int32_t count = parser.ReadInteger();
        if (count < 0) {
            return nullptr;
        }
        parser.SkipLineEnd();
        // Only the entries that lie inside the file are kept; the others read
        // as absent. The size is computed in 64 bits and bounded by the file
        // before anything is allocated.
        const std::int64_t position = parser.GetPosition();
        const std::int64_t claimed = static_cast<std::int64_t>(count) *
                                     static_cast<std::int64_t>(XrefTable::kClassicEntrySize);
        std::string entries;
        document.GetFile().ReadAvailable(entries, claimed, position);
        table.AddClassicSubsection(first, count, std::move(entries));
        parser.SetPosition(position + claimed);
    }
    if (parser.ReadKeyword() != "trailer") {
        return nullptr;
    }
    ObjectHandle trailer = parser.ReadObject(0, 0);
    if (!IsKind(trailer.get(), PdfObjectType::Dictionary) || parser.ReadKeyword() != "startxref") {
        return nullptr;
    }
    return DictionaryHandle(static_cast<PdfDictionary*>(trailer.release()));
}

DictionaryHandle XrefReader::ReadStreamSection(std::int64_t offset) {
    parser.SetPosition(offset);
    const std::int32_t number = parser.ReadInteger();
    const std::int32_t generation = parser.ReadInteger();
    if (parser.ReadKeyword() != "obj") {
        return nullptr;
    }
    ObjectHandle object = parser.ReadObject(number, generation);
    auto* stream = IsKind(object.get(), PdfObjectType::Stream)
                       ? static_cast<PdfStream*>(object.get())
                       : nullptr;
    if (!stream || !stream->dictionary || stream->dictionary->GetValueString("/Type") != "/XRef") {
        return nullptr;
    }
    std::int32_t widths[3];
    std::vector<std::pair<std::int64_t, std::int64_t>> index;
    std::string entries;
    if (!ReadWidths(*stream->dictionary, widths) || !ReadIndex(*stream->dictionary, index) ||
        !document.ReadStreamData(*stream, entries)) {
        return nullptr;
    }
    table.BeginSection();
    table.AddStreamSubsections(std::move(entries), widths, index);
    return std::move(stream->dictionary);
}

}  // namespace tessary
