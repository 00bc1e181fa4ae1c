// The stream filter chain: decodes a stream's bytes in place, as its /Filter
// entry names with the parameters of its /DecodeParms entry, right after the
// document has read (and decrypted) them. /Crypt steps are passed over: the
// bytes were decrypted with the crypt filter they name before the chain runs
// (ISO 32000 7.4.10).
#pragma once

#include <string>

namespace tessary {

class PdfDictionary;
class PdfDocument;

// true: data holds the decoded bytes. false: the stream can't be read (an
// unsupported filter, reported through the document's callback once per name
// and run, or a /Predictor in the stream dictionary itself).
bool ApplyFilters(PdfDocument* document, std::string& data, const PdfDictionary& streamDict);

}  // namespace tessary
