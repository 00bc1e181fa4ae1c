// The stream filter chain: decodes a stream's bytes in place, as its /Filter
// entry names with the parameters of its /DecodeParms entry, right after the
// parser has read (and decrypted) them. /Crypt steps are passed over: the
// bytes were decrypted before the chain runs.
#pragma once

namespace tessary {

class PdfDictionary;
class PdfDocument;
class PdfStream;

// true: stream.data holds the decoded bytes. false: the stream is to be
// dropped (an unsupported filter, reported through the document's callback
// once per name and run, or a /Predictor in the stream dictionary itself).
bool ApplyFilters(PdfDocument* document, PdfStream& stream, const PdfDictionary& streamDict);

}  // namespace tessary
