#include "pdf/XrefRepair.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "pdf/Limits.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfFile.h"
#include "pdf/PdfParser.h"
#include "pdf/XrefReader.h"
#include "pdf/XrefTable.h"

namespace tessary {

namespace {

// The file is scanned in blocks of this size, which bounds the memory a scan
// takes whatever the file's size.
constexpr std::int64_t kScanBlock = std::int64_t{1} << 20;
// Bytes read past a block, so that a word that starts in it is seen whole
// with the byte after it.
constexpr std::int64_t kLookAhead = 16;
// An object number or generation has at most the ten digits of 2147483647.
constexpr std::size_t kMaxNumberDigits = 10;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\0';
}

bool IsDelimiter(char c) {
    return std::strchr("()<>[]{}/%", c) != nullptr && c != '\0';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

void XrefRepair::Scan(PdfFile& file, XrefTable& table) {
    const std::int64_t size = file.GetSize();
    std::string buffer;
    for (std::int64_t blockStart = 0; blockStart < size; blockStart += kScanBlock) {
        const std::int64_t bufferStart =
            std::max<std::int64_t>(0, blockStart - kMaxObjectHeaderLookBack);
        const std::int64_t bufferEnd = std::min(blockStart + kScanBlock + kLookAhead, size);
        file.ReadAvailable(buffer, bufferEnd - bufferStart, bufferStart);
        const std::int64_t readEnd = bufferStart + static_cast<std::int64_t>(buffer.size());
        ScanBlock(buffer, bufferStart, blockStart, std::min(blockStart + kScanBlock, readEnd),
                  readEnd == size);
        if (readEnd < bufferEnd) {
            break;  // the file can't be read further
        }
    }
    for (const Header& header : headers) {
        table.SetRepairedEntry(header.number, header.generation,
                               XrefLocation::InFile(header.offset));
    }
}

void XrefRepair::ScanBlock(const std::string& buffer, std::int64_t bufferStart, std::int64_t from,
                           std::int64_t to, bool endOfFile) {
    const std::string_view bytes(buffer);
    // A word counts when the byte after it ends it (or the file ends there).
    auto endsAt = [&](std::size_t after) {
        return after < bytes.size() ? IsSpace(bytes[after]) || IsDelimiter(bytes[after])
                                    : endOfFile;
    };
    auto startsAfter = [&](std::size_t at) {
        return at == 0 ? bufferStart == 0 : IsSpace(bytes[at - 1]) || IsDelimiter(bytes[at - 1]);
    };
    for (std::int64_t position = from; position < to; ++position) {
        const auto at = static_cast<std::size_t>(position - bufferStart);
        const std::string_view rest = bytes.substr(at);
        switch (bytes[at]) {
            case 'o':
                if (rest.starts_with("obj") && endsAt(at + 3)) {
                    ReadHeaderBefore(buffer, bufferStart, at);
                }
                break;
            case 't':
                if (rest.starts_with("trailer") && startsAfter(at) && endsAt(at + 7)) {
                    trailers.push_back(position + 7);
                }
                break;
            case 'e':
                if (rest.starts_with("endstream") && endsAt(at + 9)) {
                    streamEnds.push_back(position);
                }
                break;
            case '/':
                if (rest.starts_with("/ObjStm") && endsAt(at + 7)) {
                    MarkLastHeader(objectStreams);
                } else if (rest.starts_with("/XRef") && endsAt(at + 5)) {
                    MarkLastHeader(xrefStreams);
                } else if (rest.starts_with("/Catalog") && endsAt(at + 8)) {
                    MarkLastHeader(catalogs);
                }
                break;
            default:
                break;
        }
    }
}

bool XrefRepair::ReadHeaderBefore(const std::string& buffer, std::int64_t bufferStart,
                                  std::size_t at) {
    // "N G obj": white space, the generation, white space, the number, and
    // before it the start of the file, white space or a delimiter, all within
    // the look-back.
    const std::size_t low = at > static_cast<std::size_t>(kMaxObjectHeaderLookBack)
                                ? at - static_cast<std::size_t>(kMaxObjectHeaderLookBack)
                                : 0;
    std::size_t k = at;
    auto skip = [&](bool (*accept)(char)) {
        const std::size_t end = k;
        while (k > low && accept(buffer[k - 1])) {
            --k;
        }
        return end - k;
    };
    auto readNumber = [&](std::int32_t& out) {
        const std::size_t end = k;
        const std::size_t digits = skip(IsDigit);
        std::uint64_t value = 0;
        if (digits == 0 || digits > kMaxNumberDigits ||
            std::from_chars(buffer.data() + k, buffer.data() + end, value).ec != std::errc() ||
            value > static_cast<std::uint64_t>(INT32_MAX)) {
            return false;
        }
        out = static_cast<std::int32_t>(value);
        return true;
    };
    Header header{};
    if (skip(IsSpace) == 0 || !readNumber(header.generation) || skip(IsSpace) == 0 ||
        !readNumber(header.number)) {
        return false;
    }
    const bool fileStart = k == 0 && bufferStart == 0;
    if (!fileStart && (k == low || !(IsSpace(buffer[k - 1]) || IsDelimiter(buffer[k - 1])))) {
        return false;
    }
    header.offset = bufferStart + static_cast<std::int64_t>(k);
    headers.push_back(header);
    return true;
}

void XrefRepair::MarkLastHeader(std::vector<std::size_t>& marked) {
    if (!headers.empty() && (marked.empty() || marked.back() != headers.size() - 1)) {
        marked.push_back(headers.size() - 1);
    }
}

DictionaryHandle XrefRepair::BuildTrailer(PdfDocument& document, PdfParser& parser) const {
    // Every dictionary that can serve as a trailer, in file order.
    std::vector<std::pair<std::int64_t, DictionaryHandle>> found;
    for (std::int64_t position : trailers) {
        parser.SetPosition(position);
        ObjectHandle dict = parser.ReadObject(0, 0);
        if (IsKind(dict.get(), PdfObjectType::Dictionary)) {
            found.emplace_back(position, static_cast<PdfDictionary*>(dict.release()));
        }
    }
    for (std::size_t k : xrefStreams) {
        const Header& header = headers[k];
        std::unique_ptr<PdfObject> object =
            document.ReadObjectAt(header.offset, header.number, header.generation);
        auto* stream = IsKind(object.get(), PdfObjectType::Stream)
                           ? static_cast<PdfStream*>(object.get())
                           : nullptr;
        if (stream && stream->dictionary &&
            stream->dictionary->GetValueString("/Type") == "/XRef") {
            found.emplace_back(header.offset, std::move(stream->dictionary));
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    DictionaryHandle trailer(new PdfDictionary);
    for (const auto& [position, dict] : found) {
        for (std::string_view key : kDocumentTrailerKeys) {
            if (dict->HasKey(key)) {
                trailer->SetValue(key, CloneObject(dict->PeekValue(key)));
            }
        }
    }
    if (!trailer->HasKey("/Root")) {
        ObjectHandle catalog = FindCatalog(document);
        if (!catalog) {
            return nullptr;
        }
        trailer->SetValue("/Root", std::move(catalog));
    }
    return trailer;
}

ObjectHandle XrefRepair::FindCatalog(PdfDocument& document) const {
    for (auto k = catalogs.rbegin(); k != catalogs.rend(); ++k) {
        const Header& header = headers[*k];
        std::unique_ptr<PdfObject> object =
            document.ReadObjectAt(header.offset, header.number, header.generation);
        if (DictionaryOrEmpty(object.get()).GetValueString("/Type") == "/Catalog") {
            return MakeObject<PdfReference>(document.GetStore(), header.number, header.generation);
        }
    }
    return nullptr;
}

void XrefRepair::AddObjectStreamEntries(XrefTable& table, const StreamDecoder& decode) const {
    // Where the winning definition of each number lies.
    std::unordered_map<std::int32_t, std::int64_t> definedAt;
    for (const Header& header : headers) {
        definedAt.insert_or_assign(header.number, header.offset);
    }
    for (std::size_t k : objectStreams) {
        const Header& header = headers[k];
        ObjectStreamCache::Handle stream = decode(header.number);
        if (!stream) {
            continue;
        }
        for (std::size_t index = 0; index < stream->objects.size(); ++index) {
            const std::int32_t number = stream->objects[index].first;
            if (number == header.number) {
                continue;  // an object stream can't hold itself
            }
            auto [defined, inserted] = definedAt.try_emplace(number, header.offset);
            if (!inserted && defined->second > header.offset) {
                continue;  // a later definition in the file wins
            }
            defined->second = header.offset;
            table.SetRepairedEntry(
                number, 0,
                XrefLocation::InObjectStream(header.number, static_cast<std::int32_t>(index)));
        }
    }
}

std::int64_t XrefRepair::FindStreamEnd(std::int64_t from) const {
    auto end = std::lower_bound(streamEnds.begin(), streamEnds.end(), from);
    return end == streamEnds.end() ? -1 : *end;
}

}  // namespace tessary
