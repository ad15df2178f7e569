// Entries of the minimizer's step log, under the layouts existing readers of the log expect.
#include "structfit/domin_log.h"

#include <fstream>
#include <stdexcept>

#include "textio/format_writer.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

constexpr const char* vector_format = "(1X,5(D21.14,2X))";
constexpr const char* short_format = "(5(1X,F8.3))";

std::string text_line(const char* text) {
  return (textio::FreeLine{} << text).str();
}

std::string vector_lines(const char* format, const std::vector<float>& v) {
  return textio::format_record(format, std::vector<textio::Value>(v.begin(), v.end()));
}

std::string pair_lines(const std::vector<float>& u, const std::vector<float>& v) {
  std::vector<textio::Value> values(u.begin(), u.end());
  values.insert(values.end(), v.begin(), v.end());
  return textio::format_record(short_format, values);
}

}  // namespace

StepLog::StepLog(std::string path, bool continued) : path_(std::move(path)) {
  std::ofstream out(path_, continued ? std::ios::app : std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create the step log " + path_);
  out << text_line("Started Search");
}

void StepLog::append(const std::string& text) const {
  std::ofstream out(path_, std::ios::app);
  if (!out) throw std::runtime_error("cannot append to the step log " + path_);
  out << text;
}

void StepLog::step_head(int step, float f, float norm_g, const std::vector<float>& x,
                        const std::vector<float>& diag) const {
  append(textio::format_record(
             "('0','******************************************',/,1X,I3,'-ter iteration "
             "step',/,1X,'f = ',D21.14,' norm(gradx)=',D21.14)",
             {step, f, norm_g}) +
         text_line(" x = ") + vector_lines("(1x,5(d21.14,2x))", x) +
         text_line("diagonal of updated quasi newton matrix") + vector_lines(vector_format, diag));
}

void StepLog::direction(float norm_a, float cond_a, const std::vector<float>& d) const {
  append(textio::format_record("(/,'norm(a)=',D10.4,'  cond(a)=',D10.4)", {norm_a, cond_a}) +
         text_line("Direction d = ") + vector_lines(vector_format, d));
}

void StepLog::search_result(float sigma, float dskal, float norm_d, float calls) const {
  append(textio::format_record(
      "(/,'sigma=',D10.4,'  dskal=',D10.4,' norm(d)=',D10.4,' number of function calls=',D10.4)",
      {sigma, dskal, norm_d, calls}));
}

void StepLog::update_vectors(float theta, const std::vector<float>& z,
                             const std::vector<float>& y) const {
  append(textio::format_record("(/,'parameter theta2 =',D10.4)", {theta}) +
         text_line(" update vector z ") + vector_lines(vector_format, z) +
         text_line(" update vector y ") + vector_lines(vector_format, y));
}

void StepLog::marks(float restart, float update) const {
  append(textio::format_record("(/,'restart =',D8.1,' update = ',D8.1)", {restart, update}));
}

void StepLog::trial(float sigma, float f_trial) const {
  append(
      textio::format_record("(1X,'step   sig = ',D10.4,'  f(x-sig*d)=',D21.14)", {sigma, f_trial}));
}

void StepLog::traces(float trace_a, float trace_b) const {
  append(textio::format_record("(1x,'trace a=',d15.7,' trace b=',d15.7)", {trace_a, trace_b}));
}

void StepLog::scaled_point(const std::vector<float>& x, const std::vector<float>& g,
                           const std::vector<float>& x_unscaled,
                           const std::vector<float>& g_unscaled) const {
  append(text_line(" Scaled X,Gradx ") + pair_lines(x, g) + text_line(" Unscaled X,Gradx ") +
         pair_lines(x_unscaled, g_unscaled));
}

void StepLog::hessian_diagonal(const std::vector<float>& h, const std::vector<float>& scale) const {
  append(text_line("Diagonal of Hessian and scaling vector") + vector_lines(vector_format, h) +
         vector_lines(vector_format, scale));
}

}  // namespace structfit
