#include "pdf/FilterChain.h"

namespace tessary {

// Placeholder until the decoders land: stream bytes stay as read.
bool ApplyFilters(PdfDocument*, PdfStream&, const PdfDictionary&) {
    return true;
}

}  // namespace tessary
