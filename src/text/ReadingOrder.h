// The page text in reading order: the page's lines grouped into blocks by the
// white space between them, the blocks emitted top to bottom and, side by
// side, left to right, each laid out as the layout lays out a page, with one
// empty line between blocks.
//
// A run of lines that leaves a common vertical gap is split there into
// columns (see ColumnRuns.h), unless RunReading.h calls it a table; lines in
// no such run flow on the layout's scale of the region that holds them, so a
// page in one column comes out exactly as the layout renders it. Columns and
// cells are searched again for columns and tables of their own, and laid out
// on the page's scale from their own left edge: the width scales each block
// as it scales the page, and a column reads as it stands on the page.
#pragma once

#include <string>
#include <vector>

#include "text/TextLineList.h"
#include "text/TextOrder.h"

namespace tessary {

// Columns within columns are searched this deep; a deeper one is laid out as
// a block. Real pages nest a few levels; this bounds the recursion.
inline constexpr int kMaxBlockNesting = 16;

// Appends the page text in the given order to output, as LayOutLines does
// (which it is for TextOrder::Layout). Runs once per list: it joins items and
// lines and trims texts in place.
void LayOutInOrder(TextLineList& lines, std::vector<std::string>& output, int width,
                   TextOrder order);

}  // namespace tessary
