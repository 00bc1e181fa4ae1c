// Rebuilds the object locations of a file whose cross-reference data can't be
// read, as other readers do: one linear scan of the whole file for "N G obj"
// headers, trailers and the ends of streams.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "pdf/ObjectStreamCache.h"
#include "pdf/PdfObject.h"

namespace tessary {

class PdfDocument;
class PdfFile;
class PdfParser;
class XrefTable;

class XrefRepair {
  public:
    // Scans the file and enters every object header found into the table,
    // the last definition of a number winning.
    void Scan(PdfFile& file, XrefTable& table);

    // The trailer made of the trailers and cross-reference streams found,
    // later ones overriding earlier ones in /Root, /Encrypt and /ID; without
    // a /Root, the last catalog object found becomes it. Absent when there is
    // neither.
    DictionaryHandle BuildTrailer(PdfDocument& document, PdfParser& parser) const;

    // Enters the objects of every object stream found, each where no later
    // definition of its number was found. Runs once the password is known,
    // as object streams of an encrypted file are decrypted as a whole.
    using StreamDecoder = std::function<ObjectStreamCache::Handle(std::int32_t streamNumber)>;
    void AddObjectStreamEntries(XrefTable& table, const StreamDecoder& decode) const;

    // A reference to the last catalog object found that reads as one, for a
    // trailer without a usable /Root; absent when none does.
    ObjectHandle FindCatalog(PdfDocument& document) const;

    // The offset of the first "endstream" at or after `from`, or -1: where a
    // stream whose /Length is wrong ends.
    std::int64_t FindStreamEnd(std::int64_t from) const;

  private:
    struct Header {
        std::int32_t number;
        std::int32_t generation;
        std::int64_t offset;
    };
    void ScanBlock(const std::string& buffer, std::int64_t bufferStart, std::int64_t from,
                   std::int64_t to, bool endOfFile);
    bool ReadHeaderBefore(const std::string& buffer, std::int64_t bufferStart, std::size_t at);
    void MarkLastHeader(std::vector<std::size_t>& marked);

    std::vector<Header> headers;         // in file order
    std::vector<std::int64_t> trailers;  // just past each "trailer"
    std::vector<std::int64_t> streamEnds;
    // Indexes into `headers` of the objects that name these types.
    std::vector<std::size_t> objectStreams;
    std::vector<std::size_t> xrefStreams;
    std::vector<std::size_t> catalogs;
};

}  // namespace tessary
