// The stream filter chain: decodes a stream's bytes in place, as its /Filter
// entry names, right after the parser has read (and decrypted) them.
#pragma once

namespace tessary {

class PdfDictionary;
class PdfDocument;
class PdfStream;

// true: stream.data holds the decoded bytes. false: the stream is to be
// dropped (an unsupported filter, reported through the document's callback
// once per name and run, or a predictor).
bool ApplyFilters(PdfDocument* document, PdfStream& stream, const PdfDictionary& streamDict);

}  // namespace tessary
