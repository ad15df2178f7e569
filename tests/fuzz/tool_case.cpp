// Tool cases: a lawful command line of one of the nine tools, then mutations of its numbers,
// names and arity, of the source's calibration records and of the corrections file. A tool
// that reports success must leave a readable target without NaN or Inf in its records, and
// histtext a text without them.
#include <algorithm>
#include <array>
#include <set>

#include "cases.h"
#include "store_template.h"

namespace fuzz {
namespace {

struct Word {
  std::string text;
  bool number = false;  // a numeric argument, else a spectrum or file name
};

using Line = std::vector<Word>;

Line lawful_line(const std::string& tool, Random& random) {
  const auto name = [](std::string text) { return Word{std::move(text), false}; };
  const auto number = [](std::string text) { return Word{std::move(text), true}; };
  if (tool == "warpcorr" || tool == "stepcorr") {
    Line line = {name("det"), name("T")};
    if (random.chance(50)) line.push_back(name("rows.txt"));
    return line;
  }
  if (tool == "kinecorr") {
    Line line = {name("plane"), name("T"), number("100"), number("1.008"), number("63.546")};
    if (random.chance(50)) line.push_back(number("-0.5"));
    return line;
  }
  if (tool == "binshrink") {
    Line line = {name("plane"), name("T")};
    if (random.chance(50)) line.push_back(number("3"));
    return line;
  }
  if (tool == "histcopy") return {name(random.chance(50) ? "line" : "small8"), name("T")};
  if (tool == "regioncopy") {
    Line line = {name("plane"), name("T")};
    const std::size_t pairs = random.below(3);
    const std::array<std::string, 4> window = {"2", "5", "3", "10"};
    for (std::size_t k = 0; k < 2 * pairs; ++k) line.push_back(number(window[k]));
    return line;
  }
  if (tool == "histsum") {
    if (random.chance(50)) return {name("line"), name("line2"), name("T")};
    return {name("plane"), name("plane2"), name("T")};
  }
  if (tool == "histtext") return {name(random.chance(50) ? "line" : "real"), name("out.txt")};
  return {name("plane"), name("T")};  // flatcorr
}

void mutate_line(Line& line, Random& random, Log& log) {
  const std::size_t changes = 1 + random.below(3);
  for (std::size_t n = 0; n < changes && !line.empty(); ++n) {
    const std::size_t at = random.below(line.size());
    switch (random.below(6)) {
      case 0:
      case 1: {
        std::vector<std::size_t> numbers;
        for (std::size_t k = 0; k < line.size(); ++k)
          if (line[k].number) numbers.push_back(k);
        const std::size_t k = numbers.empty() ? at : numbers[random.below(numbers.size())];
        const std::string value(extreme_numbers()[random.below(extreme_numbers().size())]);
        log.push_back("argument " + std::to_string(k + 1) + " '" + line[k].text + "' -> '" + value +
                      "'");
        line[k].text = value;
        break;
      }
      case 2: {
        const std::string value(hostile_names()[random.below(hostile_names().size())]);
        log.push_back("argument " + std::to_string(at + 1) + " '" + line[at].text +
                      "' -> hostile name");
        line[at].text = value;
        break;
      }
      case 3:
        log.push_back("target named as the first source");
        line.back().text = line.front().text;
        break;
      case 4:
        log.push_back("last argument dropped");
        line.pop_back();
        break;
      default:
        log.push_back("extra argument added");
        line.push_back(Word{random.chance(50) ? "7" : "x", true});
        break;
    }
  }
}

// Corrections file of warpcorr and stepcorr: 163 lawful row offsets, then mutated.
std::string corrections(Random& random, Log& log) {
  std::string text;
  for (int k = 0; k < 163; ++k) text += std::to_string(static_cast<int>(k % 7) - 3) + "\n";
  log.push_back("rows.txt:");
  return mutate_text(text, TextShape{}, random, log);
}

std::string calibration_text(Random& random) {
  const auto extreme = [&random] {
    return std::string(extreme_numbers()[random.below(extreme_numbers().size())]);
  };
  return std::string(random.chance(50) ? "Angle deg" : "Energy keV") + " 2 " + extreme() + " " +
         extreme();
}

std::string target_of(const std::string& tool, const std::vector<std::string>& args) {
  if (tool == "histtext" || args.size() < 2) return "";
  return tool == "histsum" ? args.back() : args[1];
}

}  // namespace

void tool_case(CaseContext& context, const std::filesystem::path& template_dir) {
  static constexpr std::array<std::string_view, 10> kTools = {
      "warpcorr", "stepcorr",   "kinecorr", "flatcorr", "binshrink",
      "histcopy", "regioncopy", "histsum",  "histtext", "histcopy"};
  const std::filesystem::path store = context.dir() / "store";
  copy_template(template_dir, store);
  Random& random = context.random();
  Log& log = context.log();
  const std::string tool(kTools[random.below(kTools.size())]);
  Line line = lawful_line(tool, random);
  if (random.chance(70)) mutate_line(line, random, log);
  const std::vector<std::pair<std::string, std::string>> environment = {
      {"EXPERIMENTDIR", store.string()}};

  std::set<std::string> planted;  // record texts the harness wrote itself
  const auto is_template = [](const std::string& name) {
    const auto all = template_spectra();
    return std::any_of(all.begin(), all.end(), [&](const auto& s) { return s.name == name; });
  };
  if (random.chance(30) && !line.empty() && is_template(line.front().text)) {
    const std::string source = line.front().text;
    const bool plane = template_spectrum(source).dims == 2;
    const std::string axis = plane && random.chance(50) ? "2" : "1";
    const std::string text = calibration_text(random);
    planted.insert(text);
    log.push_back("calibration " + axis + " of " + source + " set to '" + text + "'");
    context.run(Command{context.program("specstore"),
                        {"record", source, "calibration", axis, text},
                        store,
                        environment,
                        {}});
  }
  if (tool == "warpcorr" || tool == "stepcorr")
    write_file(store / "rows.txt", corrections(random, log));

  std::vector<std::string> args;
  for (const Word& w : line) args.push_back(w.text);
  const Command command{context.program(tool), args, store, environment, {}};
  if (context.run(command).judgement.verdict != Verdict::finished) return;

  if (tool == "histtext" && args.size() >= 2 && std::filesystem::is_regular_file(store / args[1])) {
    const std::string bad = nonfinite_line(read_file(store / args[1]));
    if (!bad.empty()) context.flag(Verdict::nonfinite, args[1] + ": " + bad, command);
    return;
  }
  const std::string target = target_of(tool, args);
  if (target.empty()) return;
  const CaseContext::Run info =
      context.run(Command{context.program("specstore"), {"info", target}, store, environment, {}});
  if (info.judgement.verdict != Verdict::finished) {
    context.flag(Verdict::damage,
                 "reported success, but the target does not read: " + info.judgement.detail,
                 command);
    return;
  }
  std::size_t pos = 0;
  const std::string& text = info.process.out;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    const std::string record = text.substr(pos, end - pos);
    const std::size_t colon = record.find(": ");
    const bool ours = colon != std::string::npos && planted.count(record.substr(colon + 2)) > 0;
    if (!ours && !nonfinite_line(record).empty()) {
      context.flag(Verdict::nonfinite, target + " " + record, command);
    }
    pos = end + 1;
  }
}

}  // namespace fuzz
