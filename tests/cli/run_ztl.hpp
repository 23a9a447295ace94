// Runs the `ztl` command as a user does: arguments, standard input from a text, and the
// exit status, standard output and standard error collected.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace ztl_cli_test {

struct Outcome {
  int status = -1;  // the exit status, or -1 when the command did not exit normally
  std::string out;
  std::string err;
};

inline std::string TempFile(const std::string& content) {
  std::string path = testing::TempDir() + "ztl_cli_XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd < 0) return {};
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = write(fd, content.data() + written, content.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  close(fd);
  return path;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Where standard output goes, and what standard input is.
enum class Output { kCaptured, kFull, kClosed };  // a file read back, /dev/full, closed (>&-)
struct Redirect {
  Output out = Output::kCaptured;
  std::string input_path;  // a file or folder to read instead of the input text
};

inline Outcome RunZtl(const std::vector<std::string>& args, const std::string& input = "",
                      const Redirect& redirect = {}) {
  const std::string in = TempFile(input), out = TempFile(""), err = TempFile("");
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  const std::string& in_path = redirect.input_path.empty() ? in : redirect.input_path;
  posix_spawn_file_actions_addopen(&files, 0, in_path.c_str(), O_RDONLY, 0);
  if (redirect.out == Output::kClosed) {
    posix_spawn_file_actions_addclose(&files, 1);
  } else {
    const char* out_path = redirect.out == Output::kFull ? "/dev/full" : out.c_str();
    posix_spawn_file_actions_addopen(&files, 1, out_path, O_WRONLY | O_TRUNC, 0);
  }
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_TRUNC, 0);
  std::vector<char*> argv;
  std::string program = ZTL_COMMAND;
  argv.push_back(program.data());
  std::vector<std::string> copies(args);
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  Outcome outcome;
  pid_t pid = 0;
  if (posix_spawn(&pid, ZTL_COMMAND, &files, nullptr, argv.data(), environ) == 0) {
    int wait_status = 0;
    if (waitpid(pid, &wait_status, 0) == pid && WIFEXITED(wait_status)) outcome.status = WEXITSTATUS(wait_status);
  }
  posix_spawn_file_actions_destroy(&files);
  outcome.out = ReadAll(out);
  outcome.err = ReadAll(err);
  unlink(in.c_str());
  unlink(out.c_str());
  unlink(err.c_str());
  return outcome;
}

// Runs `ztl call` with the given arguments.
inline Outcome RunCall(const std::vector<std::string>& args) {
  std::vector<std::string> all{"call"};
  all.insert(all.end(), args.begin(), args.end());
  return RunZtl(all);
}

// The lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

}  // namespace ztl_cli_test
