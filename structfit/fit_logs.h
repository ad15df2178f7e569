// The texts of the fit's logs: the entries of status.dat and their console twins, the R-factor
// curve of rfactor2.dat and the table of rfactor.dat, and writing them to their files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "structfit/fit_setup.h"

namespace structfit {

// What the last gradient evaluation found for one parameter: its value, gradient G, second
// difference D2, and the offset DX of the curve minimum with its error ERR (parameter units).
struct ParameterSlope {
  float value = 0.0f;
  float gradient = 0.0f;
  float second = 0.0f;
  float offset = 0.0f;
  float error = 0.0f;
};

// The two free-form lines of a function evaluation: its number and the R-factor.
std::string function_evaluation_lines(std::int32_t counter, float r_factor);

// One "(1X,A,1X,A,F8.3)" line " PARM :", name, value per parameter.
std::string parameter_lines(const FitSetup& setup, const std::vector<float>& values);

// The status.dat entry of a gradient evaluation, or its console twin, which labels the last
// group "grad F 2nd Der " instead of "GRADIENT :".
std::string gradient_evaluation_lines(const FitSetup& setup, std::int32_t counter,
                                      const std::vector<ParameterSlope>& slopes, bool console);

// rfactor2.dat: one "(1X,F8.3)" line per model point.
std::string rfactor_curve_text(const std::vector<float>& curve);

// rfactor.dat: per model point l one record "(30(1X,F8.3))" with T(1, l) .. T(NPAR, l); `table`
// holds one curve per parameter.
std::string rfactor_table_text(const std::vector<std::vector<float>>& table);

// Writes `text` to `path`, replacing it or appended. Throws SetupRefused when it cannot.
void write_log(const std::string& path, const std::string& text, bool append);

}  // namespace structfit
