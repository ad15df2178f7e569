// Numbers as the R-factor's refusal messages show them.
#pragma once

#include <string>

namespace structfit {

// Shortest form with up to 7 significant digits, e.g. "10", "0.5", "1e-08".
std::string number_text(float value);

}  // namespace structfit
