// An open PDF file: reads its cross-reference sections and trailer (or, for a
// damaged file, rebuilds them by a scan), handles the password of an
// encrypted file, loads indirect objects by number for the object store, from
// the file or from object streams, and reads stream bytes when first asked.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pdf/ObjectStreamCache.h"
#include "pdf/PdfFile.h"
#include "pdf/PdfObject.h"
#include "pdf/PdfParser.h"
#include "pdf/XrefTable.h"

namespace tessary {

class PdfObjectStore;
class SecurityHandler;
class XrefRepair;

// How the document talks to the user.
//  kind 1 (kShowMessage): show `argument` as a message; the result is ignored.
//  kind 2 (kAskPassword): ask for a password; `argument` holds the last one
//    tried and receives the text entered; nonzero when the user confirmed,
//    0 when the user cancelled.
using DocumentCallback = int (*)(void* userData, int kind, std::string& argument);
inline constexpr int kShowMessage = 1;
inline constexpr int kAskPassword = 2;

class PdfDocument {
  public:
    PdfDocument();
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // true when the file's cross-reference data and trailer were read (or
    // rebuilt) and, for an encrypted file, a password was accepted.
    // rawStreams: stream bytes are decrypted but not decoded.
    bool Open(const std::string& path, bool rawStreams, DocumentCallback callback, void* userData);

    PdfObjectStore* GetStore() const { return store.get(); }
    PdfFile& GetFile() { return file; }
    // true when the object locations were rebuilt by scanning the file.
    bool WasRepaired() const { return repair != nullptr; }

    // The object as read from the file or its object stream, stamped with its
    // number and generation, for the store to cache; absent when it cannot be
    // read.
    std::unique_ptr<PdfObject> LoadObject(std::int32_t objectNumber, std::int32_t generation);
    // The object whose "N G obj" header is at the offset (not cached).
    std::unique_ptr<PdfObject> ReadObjectAt(std::int64_t offset, std::int32_t objectNumber,
                                            std::int32_t generation);

    // The bytes of one of this document's streams: read from the file,
    // decrypted with the crypt filter that applies, and decoded by the
    // stream's filters. false when they can't be.
    bool ReadStreamData(const PdfStream& stream, std::string& out);
    // Whether `size` more decoded bytes may be kept for reuse (they are then
    // counted), within kMaxKeptStreamBytes for the document.
    bool TakeKeptStreamBytes(std::size_t size);
    // Where a stream that starts at `from` ends, in a repaired file; -1 in
    // any other.
    std::int64_t FindStreamEnd(std::int64_t from) const;

    int Notify(int kind, std::string& argument);
    int Notify(int kind, const char* message);

    std::int64_t GetFileSize() const { return file.GetSize(); }

  private:
    bool CatalogLocationHolds(const PdfDictionary& trailer);
    bool HeaderAt(std::int64_t offset, std::int32_t objectNumber, std::int32_t generation);
    bool Repair();
    bool OpenEncrypted();
    std::unique_ptr<PdfObject> LoadFromObjectStream(std::int32_t objectNumber,
                                                    const XrefLocation& location);
    ObjectStreamCache::Handle DecodeObjectStream(std::int32_t streamNumber);

    std::unique_ptr<PdfObjectStore> store;
    PdfParser parser;
    PdfFile file;
    XrefTable xref;
    std::unique_ptr<XrefRepair> repair;
    std::unique_ptr<SecurityHandler> security;
    ObjectStreamCache objectStreams;
    // Object streams being decoded right now: one needed while it is decoded
    // (its /Length among its own objects) reads as absent.
    std::vector<std::int32_t> decodingStreams;
    DocumentCallback callback = nullptr;
    void* userData = nullptr;
    bool rawStreams = false;
    std::size_t keptStreamBytes = 0;
};

}  // namespace tessary
