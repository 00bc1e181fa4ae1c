#include "pdf/PdfDocument.h"

#include <algorithm>

#include "pdf/FilterChain.h"
#include "pdf/Limits.h"
#include "pdf/PdfObjectStore.h"
#include "pdf/SecurityHandler.h"
#include "pdf/XrefReader.h"
#include "pdf/XrefRepair.h"

namespace tessary {

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

bool PdfDocument::Open(const std::string& path, bool raw, DocumentCallback newCallback,
                       void* newUserData) {
    callback = newCallback;
    userData = newUserData;
    rawStreams = raw;
    decodingStreams.clear();
    store.reset();
    xref = XrefTable();
    repair.reset();
    security.reset();
    objectStreams.Clear();
    if (!file.Open(path)) {
        return false;
    }
    parser.AttachReader(this, &PdfFile::ReadByteCallback, &file);
    parser.SetStringDecryption(nullptr, -1, -1);

    // References in the trailer and in every later object point to the store,
    // so it exists before the first object is read.
    store = std::make_unique<PdfObjectStore>(this);

    // The last "%%EOF" (anything may follow it), then the last "startxref"
    // before it, names the newest cross-reference section. Anything that
    // keeps the cross-reference data from being read whole, or a catalog that
    // isn't where it says, leaves the file to a repair.
    DictionaryHandle trailer;
    const std::int64_t eof = file.FindLastMarker("%%EOF", file.GetSize() - 4);
    const std::int64_t startxref = eof > 0 ? file.FindLastMarker("startxref", eof - 8) : 0;
    if (startxref > 0) {
        parser.SetPosition(startxref + 9);
        const std::int64_t offset = parser.ReadInteger();
        XrefReader reader(*this, parser, xref);
        trailer = reader.ReadChain(offset);
        if (trailer && !reader.IsComplete()) {
            trailer.reset();
        }
    }
    if (!trailer || !CatalogLocationHolds(*trailer)) {
        trailer.reset();
        if (!Repair()) {
            return false;
        }
    } else {
        store->SetTrailer(std::move(trailer));
    }

    if (store->GetTrailer()->HasKey("/Encrypt") && !OpenEncrypted()) {
        return false;
    }
    if (repair) {
        // Object streams could only be read once the password was known.
        repair->AddObjectStreamEntries(
            xref, [this](std::int32_t number) { return DecodeObjectStream(number); });
        if (ObjectHandle catalog = store->GetCatalog(); !AsDictionary(catalog.get())) {
            ObjectHandle found = repair->FindCatalog(*this);
            if (!found) {
                return false;
            }
            ObjectHandle patched = CloneObject(store->GetTrailer());
            static_cast<PdfDictionary&>(*patched).SetValue("/Root", std::move(found));
            store->SetTrailer(DictionaryHandle(static_cast<PdfDictionary*>(patched.release())));
        }
    }
    return true;
}

bool PdfDocument::HeaderAt(std::int64_t offset, std::int32_t objectNumber,
                           std::int32_t generation) {
    parser.SetPosition(offset);
    return parser.ReadInteger() == objectNumber && parser.ReadInteger() == generation &&
           parser.ReadKeyword() == "obj";
}

bool PdfDocument::CatalogLocationHolds(const PdfDictionary& trailer) {
    // Only the catalog is checked: a file whose trailer names none opens as
    // it is, and its missing catalog is reported later.
    const PdfObject* root = trailer.PeekValue("/Root");
    if (!IsKind(root, PdfObjectType::Reference)) {
        return true;
    }
    const auto* reference = static_cast<const PdfReference*>(root);
    std::int32_t number = reference->targetNumber;
    std::int32_t generation = reference->targetGeneration;
    XrefLocation location = xref.Find(number, generation);
    if (location.type == XrefEntryType::InObjectStream) {
        number = location.streamNumber;
        generation = 0;
        location = xref.Find(number, generation);
    }
    return location.type == XrefEntryType::InFile && HeaderAt(location.offset, number, generation);
}

bool PdfDocument::Repair() {
    // Objects read so far came from the locations that proved wrong.
    store = std::make_unique<PdfObjectStore>(this);
    objectStreams.Clear();
    xref = XrefTable();
    repair = std::make_unique<XrefRepair>();
    repair->Scan(file, xref);
    DictionaryHandle trailer = repair->BuildTrailer(*this, parser);
    if (!trailer) {
        return false;
    }
    store->SetTrailer(std::move(trailer));
    return true;
}

bool PdfDocument::OpenEncrypted() {
    const PdfDictionary& trailer = *store->GetTrailer();
    ObjectHandle encrypt = trailer.GetValue("/Encrypt");
    if (!encrypt) {
        return true;  // an /Encrypt that can't be read counts as none
    }
    auto handler = std::make_unique<SecurityHandler>();
    if (!handler->Load(DictionaryOrEmpty(encrypt.get()), trailer)) {
        Notify(kShowMessage, "This document is encrypted by non-stardard handler.");
        return false;
    }
    std::string password;
    bool accepted = handler->Authenticate(password);
    while (!accepted && callback) {
        if (!password.empty()) {
            Notify(kShowMessage, "Invalid password. Please input again.");
        }
        if (Notify(kAskPassword, password) == 0) {
            return false;
        }
        accepted = handler->Authenticate(password);
    }
    if (!accepted) {
        return false;
    }
    security = std::move(handler);
    // The encryption dictionary's own strings are never encrypted.
    const PdfObject* value = trailer.PeekValue("/Encrypt");
    const auto* reference =
        IsKind(value, PdfObjectType::Reference) ? static_cast<const PdfReference*>(value) : nullptr;
    parser.SetStringDecryption(&security->GetStringFilter(),
                               reference ? reference->targetNumber : -1,
                               reference ? reference->targetGeneration : -1);
    // Object streams decoded before now were read without the key.
    objectStreams.Clear();
    return true;
}

std::unique_ptr<PdfObject> PdfDocument::ReadObjectAt(std::int64_t offset, std::int32_t objectNumber,
                                                     std::int32_t generation) {
    // The position is put back afterwards: this load may run in the middle of
    // another read by the same parser (a stream's indirect /Length).
    const std::int64_t saved = parser.GetPosition();
    ObjectHandle obj;
    if (HeaderAt(offset, objectNumber, generation)) {
        obj = parser.ReadObject(objectNumber, generation);
    }
    parser.SetPosition(saved);
    if (!obj || obj->type == PdfObjectType::EndOfData) {
        return nullptr;
    }
    obj->objectNumber = objectNumber;
    obj->generation = generation;
    return std::unique_ptr<PdfObject>(obj.release());
}

std::unique_ptr<PdfObject> PdfDocument::LoadObject(std::int32_t objectNumber,
                                                   std::int32_t generation) {
    const XrefLocation location = xref.Find(objectNumber, generation);
    switch (location.type) {
        case XrefEntryType::InFile:
            return ReadObjectAt(location.offset, objectNumber, generation);
        case XrefEntryType::InObjectStream:
            return LoadFromObjectStream(objectNumber, location);
        case XrefEntryType::Free:
            break;
    }
    return nullptr;
}

std::unique_ptr<PdfObject> PdfDocument::LoadFromObjectStream(std::int32_t objectNumber,
                                                             const XrefLocation& location) {
    if (location.streamNumber == objectNumber) {
        return nullptr;  // an object stream can't hold itself
    }
    ObjectStreamCache::Handle stream = objectStreams.Find(location.streamNumber);
    if (!stream) {
        stream = DecodeObjectStream(location.streamNumber);
    }
    const std::int64_t offset = stream ? stream->FindObject(location.index, objectNumber) : -1;
    if (offset < 0) {
        return nullptr;
    }
    // The object's strings were decrypted with the whole stream; references
    // in it point to this document's store.
    PdfParser reader;
    reader.AttachBuffer(this, stream->data);
    reader.SetPosition(offset);
    ObjectHandle obj = reader.ReadObject(objectNumber, 0);
    if (!obj || obj->type == PdfObjectType::EndOfData) {
        return nullptr;
    }
    obj->objectNumber = objectNumber;
    obj->generation = 0;
    return std::unique_ptr<PdfObject>(obj.release());
}

ObjectStreamCache::Handle PdfDocument::DecodeObjectStream(std::int32_t streamNumber) {
    if (ObjectStreamCache::Handle kept = objectStreams.Find(streamNumber)) {
        return kept;
    }
    // An object stream is itself in the file, never inside another one.
    const XrefLocation location = xref.Find(streamNumber, 0);
    if (location.type != XrefEntryType::InFile || objectStreams.IsUnreadable(streamNumber) ||
        std::find(decodingStreams.begin(), decodingStreams.end(), streamNumber) !=
            decodingStreams.end()) {
        return nullptr;
    }
    decodingStreams.push_back(streamNumber);
    std::unique_ptr<PdfObject> object = ReadObjectAt(location.offset, streamNumber, 0);
    const PdfStream* stream = AsStream(object.get());
    const PdfDictionary& dict = DictionaryOrEmpty(stream ? stream->dictionary.get() : nullptr);
    DecodedObjectStream decoded;
    decoded.streamNumber = streamNumber;
    const bool read =
        stream && dict.GetValueString("/Type") == "/ObjStm" &&
        ReadStreamData(*stream, decoded.data) &&
        decoded.ReadHeader(dict.GetValueInteger("/N"), dict.GetValueInteger("/First"));
    decodingStreams.pop_back();
    if (!read) {
        objectStreams.MarkUnreadable(streamNumber);
        return nullptr;
    }
    return objectStreams.Add(std::move(decoded));
}

bool PdfDocument::ReadStreamData(const PdfStream& stream, std::string& out) {
    const StreamLocation& location = stream.GetLocation();
    if (stream.GetSource() != this || !file.ReadBlock(out, location.length, location.offset)) {
        return false;
    }
    const PdfDictionary& dict = DictionaryOrEmpty(stream.dictionary.get());
    if (security) {
        const CryptFilter* filter = security->GetStreamFilter(dict);
        if (!filter) {
            return false;
        }
        out = filter->Decrypt(location.objectNumber, location.generation, out);
    }
    return rawStreams || ApplyFilters(this, out, dict);
}

bool PdfDocument::TakeKeptStreamBytes(std::size_t size) {
    if (size > kMaxKeptStreamBytes - keptStreamBytes) {
        return false;
    }
    keptStreamBytes += size;
    return true;
}

std::int64_t PdfDocument::FindStreamEnd(std::int64_t from) const {
    return repair ? repair->FindStreamEnd(from) : -1;
}

}  // namespace tessary
