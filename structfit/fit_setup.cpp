// Reading bfgsin.dat record by record under its fixed-column formats, with the console echo of
// each record and the checks that keep every count within the fitter's tables.
#include "structfit/fit_setup.h"

#include <fstream>
#include <string_view>

#include "structfit/fit_errors.h"
#include "textio/fixed_reader.h"
#include "textio/fixed_text.h"
#include "textio/format_writer.h"
#include "textio/free_writer.h"

namespace structfit {
namespace {

constexpr std::size_t kNameWidth = 80;
constexpr std::size_t kParameterNameWidth = 20;

bool file_exists(std::string_view name) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(std::string(textio::trim_trailing(name)), ignored);
}

class SetupReader {
 public:
  SetupReader(std::istream& in, std::string source, std::ostream& console)
      : in_(in, source), source_(std::move(source)), console_(console) {}

  FitSetup read() {
    FitSetup setup;
    const std::int32_t sets = read_count("(1X,I3)", "1", "NSETS", 1, kMostDataSets);
    echo("(1X,A,I3,A)", {"THERE ARE", sets, "DATA SETS"});
    for (std::int32_t e = 1; e <= sets; ++e) setup.data_sets.push_back(read_data_set(e));
    setup.comment = read_text("(1X,A)", kNameWidth, "comment (record 3)");
    console_ << (textio::FreeLine() << setup.comment).str();
    read_elements(setup);
    in_.read("(1X,F6.4)", {&setup.relative_tolerance}, "relative tolerance (record 6)");
    setup.point_count = read_point_count();
    in_.read("(1X,I3)", {&setup.scaling_option}, "scaling option (record 8)");
    console_ << (textio::FreeLine() << "Scaling option" << setup.scaling_option).str();
    const std::int32_t parameters = read_count("(1X,I3)", "9", "NPAR", 1, kMostParameters);
    echo("(1X,A,I3)", {"NUMBER OF PARAMETERS\t\t   :", parameters});
    echo("(1X,A,F8.3)", {"RELATIVE TOLERANCE\t\t\t   :", setup.relative_tolerance});
    echo("(1X,A,I3)", {"NO. OF POINTS IN RFACTOR CURVE :", setup.point_count});
    for (std::int32_t j = 1; j <= parameters; ++j) setup.parameters.push_back(read_parameter(j));
    echo("(1X,A)", {"Parameters Successfully read-in"});
    return setup;
  }

 private:
  DataSet read_data_set(std::int32_t e) {
    const std::string which = " of data set " + std::to_string(e);
    DataSet set;
    set.experiment_path = read_text("(1X,A)", kNameWidth, "experiment file name" + which);
    echo("(1X,A)", {set.experiment_path});
    if (!file_exists(set.experiment_path)) {
      throw SetupRefused(line("(1X,3A)", {"EXPT FILE ", set.experiment_path, "DOES NOT EXIST"}));
    }
    in_.read("(1X,I3)", {&set.constraint_flag}, "scale-constraint flag" + which);
    console_ << (textio::FreeLine() << set.constraint_flag).str();
    if (set.constraint_flag == 1) {
      in_.read("(1X,2F6.2)", {&set.nominal_scale, &set.tolerance_percent},
               "nominal scale and tolerance" + which);
    }
    set.base_path = read_text("(1X,A)", kNameWidth, "base file name" + which);
    echo("(A)", {set.base_path});
    if (!file_exists(set.base_path)) {
      throw SetupRefused(line("(1X,3A)", {"BASE FILE ", set.base_path, "DOES NOT EXIST"}));
    }
    return set;
  }

  void read_elements(FitSetup& setup) {
    const std::int32_t count = read_count("(1X,I3)", "4", "NELEM", 1, kMostElements);
    echo("(1X,A,I3)", {"NO OF ELEMENTS                 :", count});
    setup.elements.resize(static_cast<std::size_t>(count));
    for (std::int32_t m = 0; m < count; ++m) {
      ElementColumn& column = setup.elements[static_cast<std::size_t>(m)];
      in_.read("(1X,I3,F8.3)", {&column.include, &column.weight},
               "include flag and weight of element " + std::to_string(m + 1) + " (record 5)");
      echo("(1X,A,I3,F8.3)", {"INCLUDE AND WEIGHT\t \t\t  :", column.include, column.weight});
    }
  }

  // NPTS above the one-digit model numbers keeps its historic message.
  std::int32_t read_point_count() {
    std::int32_t points = 0;
    in_.read("(1X,I3)", {&points}, "NPTS (record 7)");
    if (points > kMostPoints) {
      throw SetupRefused(line("(1X,A)", {"DONT BE STUPID 9 PINTS IS ENOUGH FOR ANY MAN"}));
    }
    check_limit(points, "7", "NPTS", kLeastPoints, kMostPoints);
    return points;
  }

  FitParameter read_parameter(std::int32_t j) {
    const std::string which = " of parameter " + std::to_string(j);
    FitParameter parameter;
    parameter.name = read_text("(1X,A)", kParameterNameWidth, "parameter name" + which);
    echo("(1X,2A)", {"PARAMETER NAME                 :", parameter.name});
    check_name(parameter.name, j);
    in_.read("(1X,2F8.3)", {&parameter.guess, &parameter.step}, "guess and step" + which);
    echo("(1X,A,2F8.3)", {"GUESS AND GRADIENT STEP SIZE   :", parameter.guess, parameter.step});
    const std::int32_t rows = read_count("(1X,I3)", "10c", "NAT" + which, 0, kMostRows);
    parameter.rows.resize(static_cast<std::size_t>(rows));
    for (std::int32_t k = 0; k < rows; ++k) {
      ParameterRow& c = parameter.rows[static_cast<std::size_t>(k)];
      in_.read("(1X,6F7.3)", {&c[0], &c[1], &c[2], &c[3], &c[4], &c[5]},
               "row " + std::to_string(k + 1) + which + " (record 10d)");
      echo("(1X,6F7.3)", {c[0], c[1], c[2], c[3], c[4], c[5]});
    }
    return parameter;
  }

  std::int32_t read_count(std::string_view format, const std::string& record,
                          const std::string& name, std::int32_t least, std::int32_t most) {
    std::int32_t value = 0;
    in_.read(format, {&value}, name + " (record " + record + ")");
    check_limit(value, record, name, least, most);
    return value;
  }

  void check_limit(std::int32_t value, const std::string& record, const std::string& name,
                   std::int32_t least, std::int32_t most) const {
    if (value >= least && value <= most) return;
    throw SetupRefused(" " + source_ + ", line " + std::to_string(in_.line_number()) + ": record " +
                       record + ", " + name + " = " + std::to_string(value) + " is outside " +
                       std::to_string(least) + ".." + std::to_string(most));
  }

  // The name goes into the simulation input, whose reader takes a name up to the first
  // blank, comma or slash and reads r*c as a repeat: it must be one such word.
  void check_name(const std::string& name, std::int32_t j) const {
    const std::string_view word = textio::trim_trailing(name);
    if (!word.empty() && word.find_first_of(" ,/*'\"\t") == std::string_view::npos) return;
    throw SetupRefused(" " + source_ + ", line " + std::to_string(in_.line_number()) +
                       ": record 10a, name of parameter " + std::to_string(j) + " '" +
                       std::string(word) +
                       "' is not one word without blanks, commas, slashes, asterisks or quotes");
  }

  std::string read_text(std::string_view format, std::size_t width, const std::string& item) {
    std::string text(width, ' ');
    in_.read(format, {&text}, item);
    return text;
  }

  // A console line laid out under `format`, without its line end.
  static std::string line(std::string_view format, const std::vector<textio::Value>& values) {
    std::string text = textio::format_record(format, values);
    text.pop_back();
    return text;
  }

  void echo(std::string_view format, const std::vector<textio::Value>& values) {
    console_ << textio::format_record(format, values);
  }

  textio::FixedReader in_;
  std::string source_;
  std::ostream& console_;
};

}  // namespace

FitSetup read_fit_setup(const std::filesystem::path& path, std::ostream& console) {
  if (!file_exists(path.string())) throw SetupRefused(" FILE BFGSIN.DAT DOES NOT EXIST");
  std::ifstream file(path);
  if (!file) throw SetupRefused(" cannot open " + path.string());
  return SetupReader(file, path.string(), console).read();
}

}  // namespace structfit
