// The order in which page text is laid out.
#pragma once

namespace tessary {

enum class TextOrder {
    Layout,   // the page's lines as they lie across the page
    Reading,  // columns one after another, tables kept side by side
};

}  // namespace tessary
