// ionbeam_fuzz: runs polysim, specstore and the nine spectrum tools on mutated inputs, stores
// and command lines, and classifies every run. The seed and the case numbers decide every
// input, so a failing case is repeated with --case N.
//
//   ionbeam_fuzz --bin DIR --examples DIR --work DIR [--seed S] [--cases N] [--case K]
//                [--jobs J] [--time-scale F] [--no-address-limit] [--list]
//
// Exit status 0 when no case crashed, hung, ran out of memory, wrote NaN or Inf, failed
// silently or damaged a spectrum; 1 otherwise; 2 for a bad command line or set-up.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "case_context.h"
#include "cases.h"
#include "store_template.h"

namespace {

using fuzz::CaseResult;
using fuzz::Settings;

struct Options {
  Settings settings;
  std::size_t cases = 300;
  std::optional<std::size_t> only;
  unsigned jobs = 2;
  bool list = false;        // one line per case, not only the failing ones
  std::string limit_flags;  // the limit options given, repeated in a reproducer
};

[[noreturn]] void usage(const std::string& problem) {
  std::cerr << "ionbeam_fuzz: " << problem
            << "\nusage: ionbeam_fuzz --bin DIR --examples DIR --work DIR [--seed S] [--cases N] "
               "[--case K] [--jobs J] [--time-scale F] [--no-address-limit] [--list]\n";
  std::exit(2);
}

Options parse(int argc, char** argv) {
  Options options;
  double scale = 1.0;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--no-address-limit") {
      options.settings.limits.address_space = 0;
      options.limit_flags += " --no-address-limit";
      continue;
    }
    if (flag == "--list") {
      options.list = true;
      continue;
    }
    if (i + 1 >= argc) usage("missing value after " + flag);
    const std::string value = argv[++i];
    try {
      if (flag == "--bin")
        options.settings.bin_dir = value;
      else if (flag == "--examples")
        options.settings.examples_dir = value;
      else if (flag == "--work")
        options.settings.work_dir = value;
      else if (flag == "--seed")
        options.settings.seed = std::stoull(value);
      else if (flag == "--cases")
        options.cases = std::stoul(value);
      else if (flag == "--case")
        options.only = std::stoul(value);
      else if (flag == "--jobs")
        options.jobs = static_cast<unsigned>(std::stoul(value));
      else if (flag == "--time-scale")
        scale = std::stod(value);
      else
        usage("unknown option " + flag);
    } catch (const std::logic_error&) {
      usage("bad value '" + value + "' for " + flag);
    }
  }
  if (options.settings.bin_dir.empty() || options.settings.examples_dir.empty() ||
      options.settings.work_dir.empty()) {
    usage("--bin, --examples and --work are needed");
  }
  if (options.jobs == 0 || !(scale > 0)) usage("--jobs and --time-scale must be positive");
  if (scale != 1.0) options.limit_flags += " --time-scale " + std::to_string(scale);
  options.settings.limits.cpu_seconds *= scale;
  options.settings.limits.wall_seconds *= scale;
  for (std::filesystem::path* dir :
       {&options.settings.bin_dir, &options.settings.examples_dir, &options.settings.work_dir}) {
    *dir = std::filesystem::absolute(*dir);
  }
  return options;
}

// Share of each kind of case, in percent.
std::string kind_of(const Settings& settings, std::size_t number) {
  fuzz::Random random(settings.seed ^ 0x5BD1E995ULL, number);
  const std::size_t roll = random.below(100);
  if (roll < 35) return "polysim";
  if (roll < 65) return "tool";
  if (roll < 80) return "damaged-file";
  if (roll < 92) return "import";
  return "planted-link";
}

CaseResult run_case(const Settings& settings, const std::filesystem::path& template_dir,
                    std::size_t number, bool keep) {
  fuzz::CaseContext context(settings, number, kind_of(settings, number));
  const std::string& kind = context.result().kind;
  if (kind == "polysim")
    fuzz::polysim_case(context);
  else if (kind == "tool")
    fuzz::tool_case(context, template_dir);
  else if (kind == "damaged-file")
    fuzz::damaged_file_case(context, template_dir);
  else if (kind == "import")
    fuzz::import_case(context, template_dir);
  else
    fuzz::planted_link_case(context, template_dir);
  CaseResult result = context.result();
  if (!keep && !fuzz::is_failure(result.judgement.verdict)) {
    std::filesystem::remove_all(result.dir);
  }
  return result;
}

void report_failure(const CaseResult& r, const Options& options, const std::string& self) {
  std::cout << "FAIL case " << r.number << " (" << r.kind
            << "): " << fuzz::verdict_name(r.judgement.verdict) << ": " << r.judgement.detail
            << '\n';
  std::cout << "  changes:";
  for (const std::string& step : r.log) std::cout << "\n    " << step;
  std::cout << "\n  run:   " << r.culprit << "\n  files: " << r.dir.string()
            << "\n  again: " << self << " --bin '" << options.settings.bin_dir.string()
            << "' --examples '" << options.settings.examples_dir.string() << "' --work '"
            << options.settings.work_dir.string() << "' --seed " << options.settings.seed
            << options.limit_flags << " --case " << r.number << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse(argc, argv);
  const Settings& settings = options.settings;
  const auto start = std::chrono::steady_clock::now();
  const std::filesystem::path template_dir = settings.work_dir / "template" / "store";
  try {
    build_template(settings, template_dir);
  } catch (const std::exception& error) {
    std::cerr << "ionbeam_fuzz: " << error.what() << '\n';
    return 2;
  }

  std::vector<std::size_t> numbers;
  if (options.only) {
    numbers.push_back(*options.only);
  } else {
    for (std::size_t n = 0; n < options.cases; ++n) numbers.push_back(n);
  }
  std::vector<CaseResult> results(numbers.size());
  std::atomic<std::size_t> next{0};
  std::atomic<bool> broken{false};
  std::string broken_message;
  const auto worker = [&] {
    for (std::size_t k = next++; k < numbers.size() && !broken; k = next++) {
      try {
        results[k] = run_case(settings, template_dir, numbers[k], options.only.has_value());
      } catch (const std::exception& error) {
        if (!broken.exchange(true)) broken_message = error.what();
      }
    }
  };
  std::vector<std::thread> threads;
  for (unsigned j = 0; j < options.jobs; ++j) threads.emplace_back(worker);
  for (std::thread& t : threads) t.join();
  if (broken) {
    std::cerr << "ionbeam_fuzz: harness failure: " << broken_message << '\n';
    return 2;
  }

  std::map<std::string, std::map<std::string, int>> table;  // kind -> verdict -> count
  int failures = 0;
  for (const CaseResult& r : results) {
    ++table[r.kind][fuzz::verdict_name(r.judgement.verdict)];
    if (options.list) {
      std::cout << "case " << r.number << " " << r.kind << " "
                << fuzz::verdict_name(r.judgement.verdict) << ": " << r.judgement.detail << '\n';
    }
    if (fuzz::is_failure(r.judgement.verdict)) {
      ++failures;
      report_failure(r, options, argv[0]);
    }
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::printf("ionbeam_fuzz: seed %llu, %zu cases in %.1f s, %d failing\n",
              static_cast<unsigned long long>(settings.seed), results.size(), elapsed.count(),
              failures);
  for (const auto& [kind, verdicts] : table) {
    std::printf("  %-13s", kind.c_str());
    for (const auto& [verdict, count] : verdicts) std::printf(" %s %d", verdict.c_str(), count);
    std::printf("\n");
  }
  return failures == 0 ? 0 : 1;
}
