// Reads a file's cross-reference sections (ISO 32000 7.5.4 and 7.5.8): classic
// tables and cross-reference streams, from the section that startxref names
// along /Prev and, in hybrid files, /XRefStm, into the table, newest first.
#pragma once

#include <cstdint>
#include <set>
#include <string_view>

#include "pdf/PdfObject.h"

namespace tessary {

class PdfDocument;
class PdfParser;
class XrefTable;

class XrefReader {
  public:
    XrefReader(PdfDocument& document, PdfParser& parser, XrefTable& table);

    // The newest trailer (a stream section's own dictionary), with /Root,
    // /Encrypt and /ID taken from the newest older trailer that has them
    // where it lacks them; absent when the newest section can't be read. A
    // section that can't be read, or one already read, ends the chain.
    DictionaryHandle ReadChain(std::int64_t offset);
    // true when the chain ended where it says it ends, every section read.
    bool IsComplete() const { return complete; }

  private:
    DictionaryHandle ReadSection(std::int64_t offset);
    DictionaryHandle ReadClassicSection();
    DictionaryHandle ReadStreamSection(std::int64_t offset);

    PdfDocument& document;
    PdfParser& parser;
    XrefTable& table;
    std::set<std::int64_t> seen;
    bool complete = false;
};

// The trailer entries that the document reads: what an older trailer gives
// where the newest lacks it, and what a repair takes from every trailer found.
inline constexpr std::string_view kDocumentTrailerKeys[] = {"/Root", "/Encrypt", "/ID"};

// An offset written in a trailer entry (/Prev, /XRefStm); 0 when absent.
std::int64_t ReadOffset(const PdfDictionary& trailer, std::string_view key);

}  // namespace tessary
