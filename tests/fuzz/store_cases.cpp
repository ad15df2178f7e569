// Store cases: damaged spectrum files, links planted where a spectrum will be written, and
// imports of mutated counts texts under mutated options and names.
#include <array>

#include "cases.h"
#include "store_template.h"

namespace fuzz {
namespace {

constexpr std::string_view kPrecious = "precious bytes outside the store\n";

Command store_command(CaseContext& context, const std::filesystem::path& store,
                      const std::string& program, std::vector<std::string> args,
                      const std::filesystem::path& input = {}) {
  return Command{
      context.program(program), std::move(args), store, {{"EXPERIMENTDIR", store.string()}}, input};
}

// Whether `specstore export NAME` succeeds, judging that run as well.
bool exports(CaseContext& context, const std::filesystem::path& store, const std::string& name) {
  return context.run(store_command(context, store, "specstore", {"export", name}))
             .judgement.verdict == Verdict::finished;
}

std::string pick(Random& random, std::span<const std::string_view> options) {
  return std::string(options[random.below(options.size())]);
}

// One damaged copy of a spectrum and one program run on it.
void damage_once(CaseContext& context, const std::filesystem::path& template_dir,
                 const std::filesystem::path& store, std::size_t attempt) {
  static constexpr std::array<std::string_view, 5> kNames = {"line", "plane", "small8", "real",
                                                             "plane2"};
  Random& random = context.random();
  const std::string name = pick(random, kNames);
  const std::filesystem::path file = store / (name + ".h5");
  std::filesystem::copy_file(template_dir / (name + ".h5"), file,
                             std::filesystem::copy_options::overwrite_existing);
  // The damaged bytes are also kept beside the store: the run may change the file.
  const std::string kept = "attempt-" + std::to_string(attempt) + "-" + name + ".h5";
  context.log().push_back("attempt " + std::to_string(attempt) + ": damaged " + name +
                          ".h5 (kept as " + kept + "):");
  const std::string damaged = mutate_bytes(read_file(file), random, context.log());
  write_file(file, damaged);
  write_file(context.dir() / kept, damaged);
  const bool plane = template_spectrum(name).dims == 2;
  const std::vector<std::vector<std::string>> reads = {
      {"specstore", "info", name},
      {"specstore", "export", name},
      {"specstore", "record", name, "calibration", "1"},
      {"specstore", "list"},
      {"histcopy", name, "T"},
      {plane ? "flatcorr" : "histtext", name, plane ? "T" : "out.txt"},
  };
  const std::vector<std::vector<std::string>> writes = {
      {"specstore", "record", name, "information", "2", "fuzz note"},
      {"specstore", "record", name, "calibration", "1", "Energy keV 2 1.0 2.0"},
  };
  const bool write = random.chance(50);
  const auto& words =
      write ? writes[random.below(writes.size())] : reads[random.below(reads.size())];
  const Command command = store_command(context, store, words[0], {words.begin() + 1, words.end()});
  std::string shown = "  then:";
  for (const std::string& word : words) shown += " " + word;
  context.log().push_back(shown);
  const bool readable_before = write && exports(context, store, name);
  context.run(command);
  if (readable_before && !exports(context, store, name)) {
    context.flag(Verdict::damage, "a write made the readable spectrum " + name + " unreadable",
                 command);
  }
}

}  // namespace

void damaged_file_case(CaseContext& context, const std::filesystem::path& template_dir) {
  // Runs on small files are cheap: several damaged copies per case.
  constexpr std::size_t kAttempts = 4;
  const std::filesystem::path store = context.dir() / "store";
  copy_template(template_dir, store);
  for (std::size_t attempt = 1; attempt <= kAttempts; ++attempt) {
    damage_once(context, template_dir, store, attempt);
  }
}

void planted_link_case(CaseContext& context, const std::filesystem::path& template_dir) {
  const std::filesystem::path store = context.dir() / "store";
  copy_template(template_dir, store);
  const std::filesystem::path outside = context.dir() / "outside.bin";
  write_file(outside, std::string(kPrecious));
  std::filesystem::create_symlink(outside, store / "T.h5");
  write_file(context.dir() / "counts.txt", "1\n2\n3\n");
  const std::vector<std::vector<std::string>> writers = {
      {"histcopy", "line", "T"},
      {"regioncopy", "plane", "T", "0", "4"},
      {"binshrink", "plane", "T"},
      {"specstore", "import", "T", (context.dir() / "counts.txt").string()},
      {"specstore", "record", "T", "information", "1", "note"},
  };
  const auto& words = writers[context.random().below(writers.size())];
  context.log().push_back("T.h5 is a link to " + outside.string());
  const Command command = store_command(context, store, words[0], {words.begin() + 1, words.end()});
  context.run(command);
  if (read_file(outside) != kPrecious) {
    context.flag(Verdict::damage, "wrote through the planted link T.h5 to " + outside.string(),
                 command);
  }
}

void import_case(CaseContext& context, const std::filesystem::path& template_dir) {
  static constexpr std::array<std::string_view, 4> kSources = {"line", "plane", "small8", "real"};
  static constexpr std::array<std::string_view, 9> kTypes = {"0",  "3",          "5", "6", "7",
                                                             "-1", "4294967300", "x", ""};
  static constexpr std::array<std::string_view, 8> kBases = {
      "0", "-2147483648", "2147483647", "5,-7", "0,0,0", "1,", "x", "2147483647,2147483647"};
  const std::filesystem::path store = context.dir() / "store";
  copy_template(template_dir, store);
  Random& random = context.random();
  Log& log = context.log();
  const TemplateSpectrum& source = template_spectrum(pick(random, kSources));
  const std::filesystem::path counts = context.dir() / "counts.txt";
  log.push_back("counts of " + source.name + ":");
  write_file(counts, mutate_text(template_counts(source), TextShape{}, random, log));

  std::string name = "imp";
  if (random.chance(20)) name = pick(random, hostile_names());
  std::string type = std::to_string(source.type);
  if (random.chance(30)) type = pick(random, kTypes);
  std::vector<std::string> args = {"import", name, counts.string(), "--type", type};
  if (random.chance(30)) {
    args.insert(args.end(), {"--base", pick(random, kBases)});
  } else if (source.dims == 2) {
    args.insert(args.end(), {"--base", "0,0"});
  }
  if (random.chance(20)) args.insert(args.end(), {"--layout", pick(random, extreme_numbers())});
  std::filesystem::path input;
  if (random.chance(30)) {
    args[2] = "-";
    input = counts;
  }
  const Command command = store_command(context, store, "specstore", args, input);
  if (context.run(command).judgement.verdict != Verdict::finished) return;
  const CaseContext::Run exported =
      context.run(store_command(context, store, "specstore", {"export", name}));
  if (exported.judgement.verdict != Verdict::finished) {
    context.flag(Verdict::damage, "imported spectrum does not export: " + exported.judgement.detail,
                 command);
  }
  const std::string line = nonfinite_line(exported.process.out);
  if (!line.empty()) context.flag(Verdict::nonfinite, "exported count " + line, command);
}

}  // namespace fuzz
