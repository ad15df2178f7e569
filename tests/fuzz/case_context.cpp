// Case directories and the bookkeeping of verdicts.
#include "case_context.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fuzz {

CaseContext::CaseContext(const Settings& settings, std::size_t number, std::string kind)
    : settings_(settings), random_(settings.seed, number) {
  result_.number = number;
  result_.kind = std::move(kind);
  result_.dir = settings.work_dir / ("case-" + std::to_string(number));
  std::filesystem::remove_all(result_.dir);
  capture_ = result_.dir / "output";
  std::filesystem::create_directories(capture_);
}

CaseContext::Run CaseContext::run(const Command& command) {
  Run run;
  run.process = run_process(command, settings_.limits, capture_);
  run.judgement = judge_process(run.process);
  ++runs_;
  if (run.judgement.verdict > result_.judgement.verdict || runs_ == 1) {
    result_.judgement = run.judgement;
    result_.culprit = shell_line(command);
  }
  return run;
}

void CaseContext::flag(Verdict verdict, const std::string& detail, const Command& command) {
  if (verdict <= result_.judgement.verdict) return;
  result_.judgement = {verdict, detail};
  result_.culprit = shell_line(command);
}

void write_file(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace fuzz
