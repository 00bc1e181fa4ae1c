// Decoding of ASCII base-85 data (PDF's /ASCII85Decode filter).
#pragma once

#include <string>
#include <string_view>

namespace tessary {

// Decodes groups of five digits '!' to 'u' into four bytes each; 'z' at the
// start of a group stands for four zero bytes; every other byte (white space,
// a 'z' inside a group) is skipped. '~' ends the data: a partial final group
// of k digits is padded with 'u' digits and gives k - 1 bytes. Data that ends
// without '~' decodes as if the marker followed.
std::string Ascii85Decode(std::string_view input);

}  // namespace tessary
