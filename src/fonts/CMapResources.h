// The predefined CMaps (ISO 32000-1, 9.7.5.2) and the CID-to-Unicode tables of
// Adobe's four CJK character collections, read from the files that the CMap
// data package (Debian's poppler-data) installs. Each is read the first time
// it is asked for and kept for the rest of the process; without the package's
// folder none is found, and fonts that need them read as unmapped CIDs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/CMap.h"

namespace tessary {

// The CMap of a predefined name, given with or without its slash:
// Identity-H and Identity-V are built in, others are read with the CMaps they
// use. Absent for a name without a file.
std::shared_ptr<const CMap> GetPredefinedCMap(std::string_view name);

// The characters by CID of a collection, "Adobe-Japan1", "Adobe-GB1",
// "Adobe-CNS1" or "Adobe-Korea1"; 0 for a CID without one. Absent for any
// other collection and when the table's file is missing.
std::shared_ptr<const std::vector<char32_t>> GetCollectionCharacters(std::string_view collection);

// Reads the data from `folder` from now on (empty: from nowhere), or from the
// package's folder again for none. Meant for tests.
void SetCMapDataFolder(std::optional<std::string> folder);

}  // namespace tessary
