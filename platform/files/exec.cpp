#include <corvaplat/exec.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <corvaplat/paths.h>

#include <mutex>

extern char** environ;

namespace corva::platform {
namespace {

struct Starter {
  std::mutex mutex;
  ProgramStarter starter = nullptr;
  void* context = nullptr;
};

Starter& starter() {
  static Starter* s = new Starter;  // never destroyed: used until exit
  return *s;
}

// Runs the program in a grandchild so that nobody has to wait for it.
std::uint32_t start_detached(const std::string& program, const std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);
  int status_pipe[2];
  if (::pipe(status_pipe) != 0) return 0;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(status_pipe[0]);
    ::close(status_pipe[1]);
    return 0;
  }
  if (child == 0) {
    ::close(status_pipe[0]);
    ::setsid();
    pid_t grandchild = 0;
    const int rc = ::posix_spawn(&grandchild, program.c_str(), nullptr, nullptr, argv.data(), environ);
    const char ok = rc == 0 ? 1 : 0;
    (void)!::write(status_pipe[1], &ok, 1);
    ::_exit(0);
  }
  ::close(status_pipe[1]);
  char ok = 0;
  const bool read_one = ::read(status_pipe[0], &ok, 1) == 1;
  ::close(status_pipe[0]);
  int ignored = 0;
  ::waitpid(child, &ignored, 0);
  return read_one && ok ? 33 : 0;
}

}  // namespace

std::vector<std::string> split_command_line(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string word;
    bool quoted = false;
    for (; i < line.size(); ++i) {
      const char c = line[i];
      if (!quoted && (c == ' ' || c == '\t')) break;
      if (c == '\\') {
        std::size_t n = 0;
        while (i < line.size() && line[i] == '\\') ++n, ++i;
        if (i < line.size() && line[i] == '"') {
          word.append(n / 2, '\\');
          if (n % 2 == 1) {
            word += '"';
            continue;
          }
          quoted = !quoted;
        } else {
          word.append(n, '\\');
          --i;
        }
        continue;
      }
      if (c == '"') {
        quoted = !quoted;
        continue;
      }
      word += c;
    }
    words.push_back(std::move(word));
  }
  return words;
}

ProgramStarter set_program_starter(ProgramStarter replacement, void* context) {
  Starter& s = starter();
  std::lock_guard lock(s.mutex);
  const ProgramStarter previous = s.starter;
  s.starter = replacement;
  s.context = context;
  return previous;
}

std::uint32_t WinExec(const char* command_line, std::uint32_t show) {
  if (command_line == nullptr || *command_line == '\0') return 0;
  {
    Starter& s = starter();
    std::unique_lock lock(s.mutex);
    if (s.starter != nullptr) {
      const ProgramStarter call = s.starter;
      void* context = s.context;
      lock.unlock();
      return call(context, command_line, show);
    }
  }
  const std::vector<std::string> words = split_command_line(command_line);
  if (words.empty()) return 0;
  std::string program;
  bool exists = false;
  const std::uint32_t error = resolve_dos_path(words.front(), program, &exists);
  if (error != kErrorSuccess) return error == kErrorFileNotFound ? 2 : 3;
  if (!exists) return 2;
  return start_detached(program, words);
}

}  // namespace corva::platform
