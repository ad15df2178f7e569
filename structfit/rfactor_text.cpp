// Numbers as the R-factor's refusal messages show them.
#include "structfit/rfactor_text.h"

#include <sstream>

namespace structfit {

std::string number_text(float value) {
  std::ostringstream text;
  text.precision(7);
  text << value;
  return text.str();
}

}  // namespace structfit
