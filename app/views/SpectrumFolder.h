#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenlix {

// The spectrum files of a folder: its regular files whose names end in
// ".txt" (in any case), as paths, in the order of saving. Series names carry
// serial numbers that may outgrow their fill count ("data99", "data100"), so
// names are ordered by NumberAwareLess. Empty when the folder holds none or
// cannot be read. Paths are UTF-8.
std::vector<std::string> ListSpectrumFiles(const std::string& folder);

// Name order where runs of digits compare as numbers: "data9" < "data10" <
// "data100"; everything else byte by byte. Names that differ only in leading
// zeros ("data07", "data7") fall back to plain byte order, so no two names
// are ever equal.
bool NumberAwareLess(std::string_view a, std::string_view b);

}  // namespace quenlix
