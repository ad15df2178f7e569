// Log texts under their format texts, byte for byte as a Fortran runtime writes them.
#include "structfit/fit_logs.h"

#include <fstream>

#include "structfit/fit_errors.h"
#include "textio/format_writer.h"
#include "textio/free_writer.h"

namespace structfit {

std::string function_evaluation_lines(std::int32_t counter, float r_factor) {
  return (textio::FreeLine{} << " FUNCTION EVALUATION NO:" << counter).str() +
         (textio::FreeLine{} << " R-FACTOR:" << r_factor).str();
}

std::string parameter_lines(const FitSetup& setup, const std::vector<float>& values) {
  static const textio::Format line("(1X,A,1X,A,F8.3)");
  std::string text;
  for (std::size_t i = 0; i < setup.parameters.size(); ++i)
    text += line.write({" PARM :", setup.parameters[i].name, values[i]});
  return text;
}

std::string gradient_evaluation_lines(const FitSetup& setup, std::int32_t counter,
                                      const std::vector<ParameterSlope>& slopes, bool console) {
  static const textio::Format head("(1X,A,I3)");
  static const textio::Format offsets("(1X,1A,1X,3F8.3)");
  static const textio::Format gradients("(1X,A,2F12.3)");
  std::vector<float> values;
  for (const ParameterSlope& p : slopes) values.push_back(p.value);
  std::string text = head.write({"GRADIENT EVALUATION No.:", counter});
  text += parameter_lines(setup, values);
  for (const ParameterSlope& p : slopes)
    text += offsets.write({"X,DX AND ERR :", p.value, p.offset, p.error});
  const char* label = console ? "grad F 2nd Der " : "GRADIENT :";
  for (const ParameterSlope& p : slopes) text += gradients.write({label, p.gradient, p.second});
  return text;
}

std::string rfactor_curve_text(const std::vector<float>& curve) {
  static const textio::Format line("(1X,F8.3)");
  std::string text;
  for (float r : curve) text += line.write({r});
  return text;
}

std::string rfactor_table_text(const std::vector<std::vector<float>>& table) {
  static const textio::Format record("(30(1X,F8.3))");
  std::string text;
  const std::size_t points = table.empty() ? 0 : table.front().size();
  for (std::size_t l = 0; l < points; ++l) {
    std::vector<textio::Value> values;
    for (const std::vector<float>& curve : table) values.emplace_back(curve[l]);
    text += record.write(values);
  }
  return text;
}

void write_log(const std::string& path, const std::string& text, bool append) {
  std::ofstream out(path, append ? std::ios::app : std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw SetupRefused(" cannot write " + path);
}

}  // namespace structfit
