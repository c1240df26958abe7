#pragma once

#include <string>

namespace scrivona {

// Appends value in fixed-point notation with 0..9 decimals, exactly as
// printf's "%.*f" in the C locale writes it, whatever the user's locale.
void AppendFixed(double value, int decimals, std::string& out);

}  // namespace scrivona
