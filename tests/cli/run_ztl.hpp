// Runs the `ztl` command as a user does, and replays transcripts of it: shell sessions
// (transcripts/*.sh.txt) and `ztl serve` sessions (transcripts/*.rpc.txt).
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

using Args = std::vector<std::string>;

struct Outcome {
  int status = -1;  // the exit status, or -1 when the program did not exit normally
  std::string out;
  std::string err;
};

inline std::string TempPath(const std::string& content, bool folder = false) {
  std::string path = testing::TempDir() + "ztl_cli_XXXXXX";
  if (folder) return mkdtemp(path.data()) != nullptr ? path : std::string();
  const int fd = mkstemp(path.data());
  if (fd >= 0) close(fd);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Runs ARGV (a path, then the arguments) with INPUT on standard input and ENV as environment.
inline Outcome Run(Args argv, const std::string& input, Args env = {}) {
  const std::string in = TempPath(input), out = TempPath(""), err = TempPath("");
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_TRUNC, 0);
  std::vector<char*> arg_pointers, env_pointers;
  for (std::string& a : argv) arg_pointers.push_back(a.data());
  for (std::string& e : env) env_pointers.push_back(e.data());
  arg_pointers.push_back(nullptr);
  env_pointers.push_back(nullptr);
  Outcome outcome;
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0].c_str(), &files, nullptr, arg_pointers.data(),
                  env.empty() ? environ : env_pointers.data()) == 0) {
    int wait_status = 0;
    if (waitpid(pid, &wait_status, 0) == pid && WIFEXITED(wait_status)) outcome.status = WEXITSTATUS(wait_status);
  }
  posix_spawn_file_actions_destroy(&files);
  outcome.out = ReadAll(out);
  outcome.err = ReadAll(err);
  for (const std::string& path : {in, out, err}) unlink(path.c_str());
  return outcome;
}

// A transcript's lines, comments ("#") and blank lines left out, each with its line number.
inline std::vector<std::pair<int, std::string>> TranscriptLines(const std::string& name) {
  std::istringstream text(ReadAll(std::string(ZTL_SOURCE_DIR "/tests/cli/transcripts/") + name));
  EXPECT_FALSE(text.str().empty()) << name;
  std::vector<std::pair<int, std::string>> lines;
  int number = 1;
  for (std::string line; std::getline(text, line); ++number) {
    if (!line.empty() && line[0] != '#') lines.emplace_back(number, line);
  }
  return lines;
}

// A shell transcript: "$ COMMAND" is run by bash in a work folder that the file's commands
// share, with `ztl` first on PATH, $ROOT the source tree and $ZTL_VERSION the library version;
// the lines after it are what it writes on standard output, "! LINE" on standard error, and
// "? N" its exit status (0 when left out).
inline void ReplayShellTranscript(const std::string& name) {
  const std::string work = TempPath("", true), ztl = ZTL_COMMAND;
  Args env{"PATH=" + ztl.substr(0, ztl.rfind('/')) + ":" + std::getenv("PATH"), "ROOT=" ZTL_SOURCE_DIR,
           "ZTL_VERSION=" ZTL_LIBRARY_VERSION, "LC_ALL=C.UTF-8", "HOME=" + work};
  const auto lines = TranscriptLines(name);
  for (std::size_t i = 0; i < lines.size();) {
    const auto& [number, command] = lines[i++];
    ASSERT_EQ(command.rfind("$ ", 0), 0u) << name << ":" << number << ": a command must start with \"$ \"";
    Outcome expected{0, "", ""};
    for (; i < lines.size() && lines[i].second.rfind("$ ", 0) != 0; ++i) {
      const std::string& line = lines[i].second;
      if (line.rfind("? ", 0) == 0) {
        expected.status = std::atoi(line.c_str() + 2);
      } else {
        (line.rfind("! ", 0) == 0 ? expected.err += line.substr(2) : expected.out += line) += "\n";
      }
    }
    const Outcome got = Run({"/bin/bash", "-c", "cd '" + work + "' && " + command.substr(2)}, "", env);
    if (got.status != expected.status || got.out != expected.out || got.err != expected.err) {
      ADD_FAILURE() << name << ":" << number << ": $ " << command.substr(2) << "\nexpected (status "
                    << expected.status << "):\n" << expected.out << expected.err << "got (status " << got.status
                    << "):\n" << got.out << got.err;
    }
  }
  Run({"/bin/rm", "-rf", work}, "");
}

// A `ztl serve` transcript: "> REQUEST" lines go to the server, "< RESPONSE" lines are what it
// must answer, in order; "---" ends a session, and the next starts a new server.
inline void ReplayServeTranscript(const std::string& name) {
  auto lines = TranscriptLines(name);
  lines.emplace_back(0, "---");
  std::string input;
  std::vector<std::pair<int, std::string>> expected;
  for (const auto& [number, line] : lines) {
    if (line.rfind(">", 0) == 0) {
      input += line.substr(line.size() > 1 ? 2 : 1) + "\n";
    } else if (line.rfind("< ", 0) == 0) {
      expected.emplace_back(number, line.substr(2));
    } else {
      ASSERT_EQ(line, "---") << name << ":" << number;
      const Outcome got = Run({ZTL_COMMAND, "serve"}, input);
      EXPECT_EQ(got.status, 0) << name << ":" << number << ": " << got.err;
      std::istringstream responses(got.out);
      for (const auto& [where, response] : expected) {
        std::string answer;
        std::getline(responses, answer);
        EXPECT_EQ(answer, response) << name << ":" << where;
      }
      EXPECT_EQ(responses.peek(), EOF) << name << ":" << number << ": more responses than expected";
      input.clear();
      expected.clear();
    }
  }
}

}  // namespace ztl_cli_test
