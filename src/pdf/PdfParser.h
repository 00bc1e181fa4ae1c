// Tokenizer and object reader over the document's file (file mode) or over a
// buffer in memory (content streams, CMaps). Operators come back as
// PdfKeyword objects; there is no separate grammar for content streams.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/PdfObject.h"

namespace tessary {

class PdfDocument;

class PdfParser {
  public:
    // File mode readers: one byte, or a block of `length` bytes, at an
    // absolute file position. The block reader checks that the bytes exist
    // before it sizes `out`, so a length taken from the file never allocates
    // more than the file holds.
    using ByteReader = bool (*)(std::uint8_t& out, void* readerData, std::int64_t position);
    using BlockReader = bool (*)(std::string& out, std::int64_t length, void* readerData,
                                 std::int64_t position);

    PdfParser() = default;
    PdfParser(const PdfParser&) = delete;
    PdfParser& operator=(const PdfParser&) = delete;

    void AttachReaders(PdfDocument* document, ByteReader byteReader, BlockReader blockReader,
                       void* readerData, bool rawStreams);
    // Memory mode over data, which must outlive the reading.
    void AttachBuffer(PdfDocument* document, std::string_view data);

    std::int64_t GetPosition() const { return position; }
    void SetPosition(std::int64_t newPosition) { position = newPosition; }

    bool ReadChar(std::uint8_t& out) {
        if (memory) {
            if (position < 0 || position >= memoryLength) {
                return false;
            }
            out = static_cast<std::uint8_t>(memory[position++]);
            return true;
        }
        return ReadFileChar(out);
    }
    // Reads `length` bytes into out (resized), or fails without moving.
    bool ReadBytes(std::string& out, std::int64_t length);

    std::string NextToken();
    std::string ReadLiteralString();
    std::string ReadHexString();
    void SkipLineEnd();

    // One object owned by the caller, or absent on a syntax failure. The
    // numbers select the decryption of strings and streams inside it.
    ObjectHandle ReadObject(std::int32_t objectNumber, std::int32_t generation);

    static bool IsNumberToken(std::string_view text);
    std::int32_t ReadInteger();
    PdfObjectType ReadTypedToken(std::string& text);
    std::string ReadKeyword();

    void SetKey(const std::uint8_t* key, std::size_t length);
    std::size_t GetKeyLength() const { return keyLength; }
    void DecryptBytes(std::int32_t objectNumber, std::int32_t generation, std::string& data) const;
    void DecryptString(std::int32_t objectNumber, std::int32_t generation, std::string& text) const;

  private:
    bool ReadFileChar(std::uint8_t& out);
    ObjectHandle ReadObjectAt(std::int32_t objectNumber, std::int32_t generation, int depth);
    ObjectHandle ReadArray(std::int32_t objectNumber, std::int32_t generation, int depth);
    ObjectHandle ReadDictionaryOrStream(std::int32_t objectNumber, std::int32_t generation,
                                        int depth);
    ObjectHandle ReadStreamBody(std::unique_ptr<PdfDictionary, ObjectReleaser> dictionary,
                                std::int32_t objectNumber, std::int32_t generation);
    void StepBack() { --position; }

    PdfDocument* document = nullptr;
    void* readerData = nullptr;
    ByteReader byteReader = nullptr;
    BlockReader blockReader = nullptr;
    std::int64_t position = 0;
    const char* memory = nullptr;
    std::int64_t memoryLength = 0;
    std::array<std::uint8_t, 32> key{};
    std::size_t keyLength = 0;
    bool rawStreams = false;
};

}  // namespace tessary
