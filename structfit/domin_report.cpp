// The report after the minimization, under the layouts of the fitter's console output.
#include "structfit/domin_report.h"

#include "textio/format_writer.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

void write_column(std::ostream& out, const char* heading, const std::vector<float>& v) {
  out << textio::format_record(heading);
  const textio::Format one("(F14.8)");
  for (float value : v) out << one.write({value});
}

}  // namespace

void write_report(const MinimizerState& st, std::ostream& out) {
  out << (textio::FreeLine{} << "termination reason" << st.termination).str()
      << textio::format_record("(/,' BEST FIT =',F18.10)", {st.f});
  write_column(out, "(/,' OPTIMIZED PARAMETERS:')", st.x);
  write_column(out, "(/,' GRADIENTS AT MINIMUM:')", st.g);
  out << '\n'
      << textio::format_record("(1X,A,I4,1X,A,I4)", {"function calls", st.function_calls,
                                                     "gradient calls", st.gradient_calls})
      << textio::format_record("(1X,A,I4,1X,A,I4,1X,A,I4)",
                               {"steps", st.step, "updates", st.updates, "noupdates", st.noupdates})
      << textio::format_record("(1X,A,I4,1X,A,I4)",
                               {"restarts", st.restarts, "modsteps", st.modsteps});
  if (!(st.termination < 0.0F || st.protocol_flag != 0)) return;
  out << textio::format_record("(' bfgs short protocol ')");
  for (int step = 0; step < st.step; ++step) {
    textio::FreeLine line;
    for (int c = 0; c < protocol_columns; ++c)
      line << st.protocol[static_cast<std::size_t>(step + c * protocol_rows)];
    out << line.str();
  }
}

}  // namespace structfit
