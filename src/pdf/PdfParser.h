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

class CryptFilter;
class PdfDocument;

class PdfParser {
  public:
    // The file mode reader: one byte at an absolute file position.
    using ByteReader = bool (*)(std::uint8_t& out, void* readerData, std::int64_t position);

    PdfParser() = default;
    PdfParser(const PdfParser&) = delete;
    PdfParser& operator=(const PdfParser&) = delete;

    void AttachReader(PdfDocument* document, ByteReader byteReader, void* readerData);
    // Memory mode over data, which must outlive the reading. A stream can't
    // be read from memory: its bytes are always in the document's file.
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
    std::string NextToken();
    std::string ReadLiteralString();
    std::string ReadHexString();
    void SkipLineEnd();

    // One object owned by the caller, or absent on a syntax failure. The
    // numbers select the decryption of strings and streams inside it.
    // A stream holds where its bytes are (after checking that "endstream"
    // follows them) and leaves reading them to the document.
    ObjectHandle ReadObject(std::int32_t objectNumber, std::int32_t generation);

    static bool IsNumberToken(std::string_view text);
    std::int32_t ReadInteger();
    PdfObjectType ReadTypedToken(std::string& text);
    std::string ReadKeyword();

    // From now on strings read by ReadObject are decrypted with `filter`
    // (absent: not at all), except those of the object `exemptNumber
    // exemptGeneration` (the encryption dictionary, whose strings are never
    // encrypted). The filter must outlive the reading.
    void SetStringDecryption(const CryptFilter* filter, std::int32_t exemptNumber,
                             std::int32_t exemptGeneration);

  private:
    bool ReadFileChar(std::uint8_t& out);
    ObjectHandle ReadObjectAt(std::int32_t objectNumber, std::int32_t generation, int depth);
    ObjectHandle ReadArray(std::int32_t objectNumber, std::int32_t generation, int depth);
    ObjectHandle ReadDictionaryOrStream(std::int32_t objectNumber, std::int32_t generation,
                                        int depth);
    ObjectHandle ReadStreamBody(std::unique_ptr<PdfDictionary, ObjectReleaser> dictionary,
                                std::int32_t objectNumber, std::int32_t generation);
    bool FindStreamEnd(std::int64_t start, std::int64_t& length);
    void StepBack() { --position; }

    PdfDocument* document = nullptr;
    void* readerData = nullptr;
    ByteReader byteReader = nullptr;
    std::int64_t position = 0;
    const char* memory = nullptr;
    std::int64_t memoryLength = 0;
    // Tokens read ahead and then given back (see ReadObjectAt): a token is
    // a function of where it starts, so one that starts at the position is
    // taken from here instead of being scanned again.
    struct RememberedToken {
        std::int64_t start = -1;
        std::int64_t end = 0;
        std::string text;
    };
    std::array<RememberedToken, 2> lookahead;
    const CryptFilter* stringFilter = nullptr;
    std::int32_t exemptNumber = -1;
    std::int32_t exemptGeneration = -1;
};

}  // namespace tessary
