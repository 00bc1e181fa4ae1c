#include "pdf/PdfDocument.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

#include "pdf/PdfObjectStore.h"
#include "pdf/SecurityHandler.h"

namespace tessary {

namespace {

bool SeekTo(std::FILE* file, std::int64_t position) {
    return fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0;
}

}  // namespace

PdfDocument::PdfDocument() = default;

PdfDocument::~PdfDocument() {
    // Cached objects go before the file they were read from.
    store.reset();
}

int PdfDocument::Notify(int kind, std::string& argument) {
    return callback ? callback(userData, kind, argument) : 0;
}

int PdfDocument::Notify(int kind, const char* message) {
    std::string text(message);
    return Notify(kind, text);
}

bool PdfDocument::ReadByte(std::uint8_t& out, void* self, std::int64_t position) {
    auto* document = static_cast<PdfDocument*>(self);
    if (position < 0 || position >= document->fileSize || !document->file) {
        return false;
    }
    if (position < document->windowStart ||
        position >= document->windowStart + document->windowLength) {
        if (!SeekTo(document->file.get(), position)) {
            return false;
        }
        const std::size_t got =
            std::fread(document->window.data(), 1, kWindowSize, document->file.get());
        document->windowStart = position;
        document->windowLength = static_cast<std::int64_t>(got);
        if (got == 0) {
            return false;
        }
    }
    out = document->window[static_cast<std::size_t>(position - document->windowStart)];
    return true;
}

bool PdfDocument::ReadBlock(std::string& out, std::int64_t length, void* self,
                            std::int64_t position) {
    auto* document = static_cast<PdfDocument*>(self);
    // The bounds are checked before anything is allocated: a length taken
    // from the file can't claim more memory than the file holds.
    if (!document->file || length < 0 || position < 0 || position >= document->fileSize - length) {
        return false;
    }
    out.resize(static_cast<std::size_t>(length));
    if (length == 0) {
        return true;
    }
    return SeekTo(document->file.get(), position) &&
           std::fread(out.data(), 1, out.size(), document->file.get()) == out.size();
}

std::int64_t PdfDocument::FindLastMarker(std::string_view marker, std::int64_t limit) {
    // Scans backwards in blocks; the result is the largest candidate offset
    // c with 0 < c < limit whose bytes are the marker.
    constexpr std::int64_t kBlock = 64 * 1024;
    const auto markerLength = static_cast<std::int64_t>(marker.size());
    std::string block;
    std::int64_t blockEnd = std::min(limit + markerLength - 1, fileSize);
    while (blockEnd - markerLength >= 1) {
        const std::int64_t blockStart = std::max<std::int64_t>(1, blockEnd - kBlock);
        block.resize(static_cast<std::size_t>(blockEnd - blockStart));
        if (!SeekTo(file.get(), blockStart) ||
            std::fread(block.data(), 1, block.size(), file.get()) != block.size()) {
            return 0;
        }
        const std::size_t found = std::string_view(block).rfind(marker);
        if (found != std::string_view::npos) {
            const std::int64_t candidate = blockStart + static_cast<std::int64_t>(found);
            if (candidate < limit) {
                return candidate;
            }
        }
        if (blockStart == 1) {
            break;
        }
        // Overlap by the marker's length less one, so a marker across the
        // block boundary is still seen.
        blockEnd = blockStart + markerLength - 1;
    }
    return 0;
}

bool PdfDocument::Open(const std::string& path, bool raw, DocumentCallback newCallback,
                       void* newUserData) {
    callback = newCallback;
    userData = newUserData;
    rawStreams = raw;
    store.reset();
    xref = XrefTable();
    file.reset(std::fopen(path.c_str(), "rb"));
    // Only a regular file has a size to search from its end: a folder opens,
    // but reports an end at the largest offset there is.
    struct stat info;
    if (!file || fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        file.reset();
        return false;
    }
    windowStart = 0;
    windowLength = static_cast<std::int64_t>(std::fread(window.data(), 1, kWindowSize, file.get()));
    if (fseeko(file.get(), 0, SEEK_END) != 0) {
        return false;
    }
    fileSize = ftello(file.get());
    if (fileSize < 0) {
        return false;
    }

    // The last "%%EOF" (anything may follow it), then the last "startxref"
    // before it.
    const std::int64_t eof = FindLastMarker("%%EOF", fileSize - 4);
    if (eof <= 0) {
        return false;
    }
    const std::int64_t startxref = FindLastMarker("startxref", eof - 8);
    if (startxref <= 0) {
        return false;
    }

    parser.AttachReaders(this, &PdfDocument::ReadByte, &PdfDocument::ReadBlock, this, rawStreams);
    parser.SetPosition(startxref + 9);
    const std::int64_t xrefOffset = parser.ReadInteger();

    // References in the trailer and in every later object point to the store,
    // so it exists before the first object is read.
    store = std::make_unique<PdfObjectStore>(this);
    std::unique_ptr<PdfDictionary, ObjectReleaser> trailer;
    if (!ReadXrefSection(xrefOffset) || !ReadTrailer(trailer)) {
        return false;
    }
    store->SetTrailer(std::move(trailer));

    if (store->GetTrailer()->HasKey("/Encrypt") && !OpenEncrypted()) {
        return false;
    }

    // Older sections of incremental updates. A section already read ends the
    // chain, as does one that can't be read; what was read stays.
    std::set<std::int64_t> seen{xrefOffset};
    std::int64_t previous = ParseInteger(store->GetTrailer()->GetValueString("/Prev"));
    while (previous != 0 && seen.insert(previous).second) {
        std::unique_ptr<PdfDictionary, ObjectReleaser> older;
        if (!ReadXrefSection(previous) || !ReadTrailer(older)) {
            break;
        }
        previous = ParseInteger(older->GetValueString("/Prev"));
    }
    return true;
}

bool PdfDocument::OpenEncrypted() {
    ObjectHandle encrypt = store->GetTrailer()->GetValue("/Encrypt");
    if (!encrypt) {
        return true;  // an /Encrypt that can't be read counts as none
    }
    const PdfDictionary& handler = DictionaryOrEmpty(encrypt.get());
    if (handler.GetValueString("/Filter") != "/Standard" || handler.GetValueString("/V") != "1") {
        Notify(kShowMessage, "This document is encrypted by non-stardard handler.");
        return false;
    }
    std::string password;
    if (SetupSecurity(password)) {
        return true;
    }
    while (callback) {
        if (!password.empty()) {
            Notify(kShowMessage, "Invalid password. Please input again.");
        }
        if (Notify(kAskPassword, password) == 0) {
            return false;
        }
        if (SetupSecurity(password)) {
            return true;
        }
    }
    return false;
}

bool PdfDocument::SetupSecurity(const std::string& password) {
    FileKey key;
    if (!store || !CheckPassword(*store, password, key)) {
        return false;
    }
    parser.SetKey(key.bytes.data(), key.length);
    return true;
}

bool PdfDocument::ReadXrefSection(std::int64_t offset) {
    parser.SetPosition(offset);
    if (parser.ReadKeyword() != "xref") {
        return false;
    }
    for (;;) {
        const std::int64_t beforeHeader = parser.GetPosition();
        std::string text;
        if (parser.ReadTypedToken(text) != PdfObjectType::Number) {
            parser.SetPosition(beforeHeader);  // the next token is "trailer"
            return true;
        }
        const std::int32_t first = ParseInteger(text);
        const std::int32_t count = parser.ReadInteger();
        if (count < 0) {
            return false;
        }
        parser.SkipLineEnd();
        // Only the entries that lie inside the file are kept; the others read
        // as absent. The size is computed in 64 bits and bounded by the file
        // before anything is allocated.
        const std::int64_t position = parser.GetPosition();
        const std::int64_t claimed = static_cast<std::int64_t>(count) * XrefTable::kEntrySize;
        const std::int64_t available = std::clamp<std::int64_t>(fileSize - position, 0, claimed);
        std::string entries;
        if (available > 0) {
            entries.resize(static_cast<std::size_t>(available));
            if (!SeekTo(file.get(), position) ||
                std::fread(entries.data(), 1, entries.size(), file.get()) != entries.size()) {
                return false;
            }
        }
        xref.AddClassicSubsection(first, count, std::move(entries));
        parser.SetPosition(position + claimed);
    }
}

bool PdfDocument::ReadTrailer(std::unique_ptr<PdfDictionary, ObjectReleaser>& out) {
    if (parser.ReadKeyword() != "trailer") {
        return false;
    }
    ObjectHandle trailer = parser.ReadObject(0, 0);
    if (!IsKind(trailer.get(), PdfObjectType::Dictionary)) {
        return false;
    }
    if (parser.ReadKeyword() != "startxref") {
        return false;
    }
    out.reset(static_cast<PdfDictionary*>(trailer.release()));
    return true;
}

std::int64_t PdfDocument::FindXrefEntry(std::int32_t objectNumber, std::int32_t generation) const {
    return xref.Find(objectNumber, generation).offset;
}

std::unique_ptr<PdfObject> PdfDocument::LoadObject(std::int32_t objectNumber,
                                                   std::int32_t generation) {
    const XrefLocation location = xref.Find(objectNumber, generation);
    if (!location.IsFound()) {
        return nullptr;
    }
    // The position is put back afterwards: this load may run in the middle of
    // another read by the same parser (a stream's indirect /Length).
    const std::int64_t saved = parser.GetPosition();
    parser.SetPosition(location.offset);
    if (parser.ReadInteger() != objectNumber || parser.ReadInteger() != generation ||
        parser.ReadKeyword() != "obj") {
        parser.SetPosition(saved);
        return nullptr;
    }
    ObjectHandle obj = parser.ReadObject(objectNumber, generation);
    parser.SetPosition(saved);
    if (!obj || obj->type == PdfObjectType::EndOfData) {
        return nullptr;
    }
    obj->objectNumber = objectNumber;
    obj->generation = generation;
    return std::unique_ptr<PdfObject>(obj.release());
}

}  // namespace tessary
