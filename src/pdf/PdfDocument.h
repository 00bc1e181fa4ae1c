// An open PDF file: finds and reads the cross-reference table and trailers,
// handles the password of an encrypted file, and loads indirect objects by
// number for the object store.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "pdf/PdfObject.h"
#include "pdf/PdfParser.h"
#include "pdf/XrefTable.h"

namespace tessary {

class PdfObjectStore;

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

    // true when the file's cross-reference table and trailer were read and, for
    // an encrypted file, a password was accepted.
    bool Open(const std::string& path, bool rawStreams, DocumentCallback callback, void* userData);

    PdfObjectStore* GetStore() const { return store.get(); }

    // The object as read from the file, stamped with its number and
    // generation, for the store to cache; absent when it cannot be read.
    std::unique_ptr<PdfObject> LoadObject(std::int32_t objectNumber, std::int32_t generation);
    bool ReadXrefSection(std::int64_t offset);
    bool ReadTrailer(std::unique_ptr<PdfDictionary, ObjectReleaser>& out);
    // The file offset of the object, or 0 when the table has no such entry.
    std::int64_t FindXrefEntry(std::int32_t objectNumber, std::int32_t generation) const;
    bool SetupSecurity(const std::string& password);

    int Notify(int kind, std::string& argument);
    int Notify(int kind, const char* message);

    std::int64_t GetFileSize() const { return fileSize; }

  private:
    static bool ReadByte(std::uint8_t& out, void* self, std::int64_t position);
    static bool ReadBlock(std::string& out, std::int64_t length, void* self, std::int64_t position);
    // The offset of the last occurrence of `marker` that starts after offset 0
    // and before `limit`, or 0.
    std::int64_t FindLastMarker(std::string_view marker, std::int64_t limit);
    bool OpenEncrypted();

    struct FileCloser {
        void operator()(std::FILE* handle) const { std::fclose(handle); }
    };

    static constexpr std::size_t kWindowSize = 512;

    std::unique_ptr<PdfObjectStore> store;
    PdfParser parser;
    std::unique_ptr<std::FILE, FileCloser> file;
    std::int64_t fileSize = 0;
    std::array<std::uint8_t, kWindowSize> window{};
    std::int64_t windowStart = 0;
    std::int64_t windowLength = 0;
    XrefTable xref;
    DocumentCallback callback = nullptr;
    void* userData = nullptr;
    bool rawStreams = false;
};

}  // namespace tessary
