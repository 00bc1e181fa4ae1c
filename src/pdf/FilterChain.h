// The stream filter chain: decodes a stream's bytes in place, as its /Filter
// entry names, right after the document has read (and decrypted) them.
#pragma once

#include <string>

namespace tessary {

class PdfDictionary;
class PdfDocument;

// true: data holds the decoded bytes. false: the stream can't be read (an
// unsupported filter, reported through the document's callback once per name
// and run, or a predictor). A /Crypt filter is passed over: the document
// applies it while it decrypts the bytes (ISO 32000 7.4.10).
bool ApplyFilters(PdfDocument* document, std::string& data, const PdfDictionary& streamDict);

}  // namespace tessary
