// How the fitter refuses its input. The message is one finished console line, beginning with
// one blank as every console line of the program does; the program's entry writes it and
// stops with a non-zero exit status.
#pragma once

#include <stdexcept>

namespace structfit {

// A set-up, base or experiment file that is missing, or holds a value outside the limits of
// the fitter's tables.
class SetupRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace structfit
