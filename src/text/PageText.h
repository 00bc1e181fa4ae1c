// The one entry into text extraction: a page's lines at a width in characters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/PdfObject.h"
#include "platform/CodePage.h"
#include "text/TextOrder.h"

namespace tessary {

class PdfDictionary;
class PdfObjectStore;

// Fills output (cleared first) with the page's lines, top to bottom, in the
// given output code page: an empty string for a blank line, every other line
// ending with one space, no line ends. No page or no content gives no lines.
void ExtractPageText(std::vector<std::string>& output, PdfObjectStore& store,
                     const PdfDictionary* page, std::int32_t width, const CodePage& codePage,
                     TextOrder order = TextOrder::Layout);

// The resource dictionary that applies to the page: its own /Resources, or
// the nearest one up the /Parent chain; absent when there is none.
ObjectHandle FindResources(const PdfDictionary* page);

// Pages up the /Parent chain that FindResources looks at, at most.
inline constexpr int kMaxParentChain = 256;

}  // namespace tessary
