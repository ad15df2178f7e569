// fork/exec with rlimits set in the child; the parent polls for the end up to the wall limit.
#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <thread>

extern char** environ;

namespace fuzz {
namespace {

constexpr std::size_t kKeptOutput = 16384;

std::string head_of(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text(kKeptOutput, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

void set_limit(int resource, rlim_t soft, rlim_t hard) {
  const rlimit limit{soft, hard};
  setrlimit(resource, &limit);
}

// Names and words the child needs, built before the fork: the harness forks from several
// threads, so the child may make async-signal-safe calls only.
struct ChildPlan {
  std::vector<char*> argv;
  std::vector<char*> envp;
  std::string cwd, in, out, err;
};

// In the child: limits, directory, streams, then exec.
[[noreturn]] void exec_child(const ChildPlan& plan, const Limits& limits) {
  setpgid(0, 0);
  const auto cpu = static_cast<rlim_t>(std::ceil(limits.cpu_seconds));
  set_limit(RLIMIT_CPU, cpu, cpu + 1);
  if (limits.address_space > 0) set_limit(RLIMIT_AS, limits.address_space, limits.address_space);
  set_limit(RLIMIT_FSIZE, limits.file_size, limits.file_size);
  set_limit(RLIMIT_CORE, 0, 0);
  if (chdir(plan.cwd.c_str()) != 0) _exit(126);
  const int in_fd = open(plan.in.c_str(), O_RDONLY);
  const int out_fd = open(plan.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err_fd = open(plan.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in_fd < 0 || out_fd < 0 || err_fd < 0) _exit(126);
  dup2(in_fd, 0);
  dup2(out_fd, 1);
  dup2(err_fd, 2);
  execve(plan.argv[0], plan.argv.data(), plan.envp.data());
  _exit(127);
}

}  // namespace

ProcessResult run_process(const Command& command, const Limits& limits,
                          const std::filesystem::path& capture) {
  std::vector<std::string> words{command.program.string()};
  words.insert(words.end(), command.args.begin(), command.args.end());
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    bool replaced = false;
    for (const auto& [name, value] : command.environment) {
      replaced = replaced || entry.compare(0, name.size() + 1, name + "=") == 0;
    }
    if (!replaced) environment.push_back(entry);
  }
  for (const auto& [name, value] : command.environment) environment.push_back(name + "=" + value);
  ChildPlan plan;
  for (std::string& w : words) plan.argv.push_back(w.data());
  plan.argv.push_back(nullptr);
  for (std::string& e : environment) plan.envp.push_back(e.data());
  plan.envp.push_back(nullptr);
  plan.cwd = command.cwd.string();
  plan.in = command.input.empty() ? "/dev/null" : command.input.string();
  plan.out = (capture / "stdout").string();
  plan.err = (capture / "stderr").string();

  ProcessResult result;
  const pid_t pid = fork();
  if (pid < 0) return result;
  if (pid == 0) exec_child(plan, limits);
  result.started = true;
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed.count() > limits.wall_seconds) {
      result.timed_out = true;
      kill(-pid, SIGKILL);
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = head_of(plan.out);
  result.err = head_of(plan.err);
  return result;
}

std::string shell_line(const Command& command) {
  // Appended piece by piece: "literal" + std::string trips a false -Wrestrict in GCC 12.
  const auto quoted = [](const std::string& word) {
    std::string q = "'";
    for (const char c : word) q.append(c == '\'' ? "'\\''" : std::string(1, c));
    q += '\'';
    return q;
  };
  std::string line = "cd ";
  line.append(quoted(command.cwd.string())).append(" &&");
  for (const auto& [name, value] : command.environment) {
    line.append(" ").append(name).append("=").append(quoted(value));
  }
  line.append(" ").append(quoted(command.program.string()));
  for (const std::string& a : command.args) line.append(" ").append(quoted(a));
  if (!command.input.empty()) line.append(" < ").append(quoted(command.input.string()));
  return line;
}

}  // namespace fuzz
