// specstore import and export: counts between text and the store.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "spectools/frame/failures.h"
#include "spectools/frame/numbers.h"
#include "spectools/frame/shape.h"
#include "spectools/frame/tool_exit.h"
#include "spectools/specstore/commands.h"
#include "spectools/specstore/counts_text.h"
#include "spectools/specstore/typed_values.h"
#include "zq/types.h"
#include "zq/zq.h"

namespace specstore {
namespace {

struct ImportOptions {
  std::vector<int> bases;  // one or two first channels; none given: 0
  int type = ZQ_INT32;
  int layout = 0;
};

[[noreturn]] void usage_failure() {
  throw spectools::ToolExit(1, spectools::usage_output(kUsage));
}

std::vector<int> base_list(const std::string& text) {
  const std::size_t comma = text.find(',');
  std::vector<int> bases{spectools::decimal_argument(text.substr(0, comma), kUsage)};
  if (comma != std::string::npos) {
    bases.push_back(spectools::decimal_argument(text.substr(comma + 1), kUsage));
  }
  return bases;
}

ImportOptions import_options(const std::vector<std::string>& args) {
  ImportOptions options;
  for (std::size_t i = 2; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) usage_failure();
    const std::string& value = args[i + 1];
    if (args[i] == "--base") {
      options.bases = base_list(value);
    } else if (args[i] == "--type") {
      options.type = spectools::decimal_argument(value, kUsage);
    } else if (args[i] == "--layout") {
      options.layout = spectools::decimal_argument(value, kUsage);
    } else {
      usage_failure();
    }
  }
  if (!zq::valid_type(options.type)) {
    spectools::crash("bad type code " + std::to_string(options.type) + " (valid codes are 0 to 6)");
  }
  return options;
}

CountsTable read_table(const std::string& file, const ImportOptions& options) {
  const bool two_dimensional = options.bases.size() == 2;
  if (file == "-") return read_counts(std::cin, "standard input", options.type, two_dimensional);
  std::ifstream in(file);
  if (!in) spectools::crash("cannot open " + file + ": " + std::strerror(errno));
  return read_counts(in, file, options.type, two_dimensional);
}

}  // namespace

std::string import_command(const std::vector<std::string>& args) {
  const std::string& name = args[0];
  const ImportOptions options = import_options(args);
  const CountsTable table = read_table(args[1], options);
  const int base1 = options.bases.empty() ? 0 : options.bases[0];
  const int base2 = options.bases.size() == 2 ? options.bases[1] : 0;
  const std::vector<std::byte> buffer = pack(table.values, options.type);
  if (table.dim == 1) {
    if (ZQcreate1dSpectrum(name.c_str(), base1, table.range1, options.layout, options.type) != 0 ||
        ZQwrite1dSpectrum(name.c_str(), base1, table.range1, buffer.data(), options.type) != 0) {
      spectools::library_failed(name);
    }
  } else {
    if (ZQcreate2dSpectrum(name.c_str(), base1, table.range1, base2, table.range2, options.layout,
                           options.type) != 0 ||
        ZQwrite2dSpectrum(name.c_str(), base1, table.range1, base2, table.range2, buffer.data(),
                          options.type) != 0) {
      spectools::library_failed(name);
    }
  }
  return "imported spectrum " + name + " from " + args[1] + "\n";
}

std::string export_command(const std::vector<std::string>& args) {
  const std::string& name = args[0];
  const spectools::Shape shape = spectools::inquire_spectrum(name);
  spectools::require_one_or_two_dimensional(shape);
  std::vector<std::byte> buffer(static_cast<std::size_t>(shape.channels()) *
                                zq::type_width(shape.type));
  const int status =
      shape.dim == 1 ? ZQread1dSpectrum(name.c_str(), shape.bases[0], shape.ranges[0],
                                        buffer.data(), shape.type)
                     : ZQread2dSpectrum(name.c_str(), shape.bases[0], shape.ranges[0],
                                        shape.bases[1], shape.ranges[1], buffer.data(), shape.type);
  if (status != 0) spectools::library_failed(name);
  return format_counts(unpack(buffer, shape.type), shape.dim == 1 ? 1 : shape.ranges[0],
                       shape.type);
}

}  // namespace specstore
