// The `ztl` command: picks the command named by the first argument and runs it.
// See help.cpp for what each command does; `ztl --help` prints the overview.

#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "coding_commands.hpp"
#include "commands.hpp"
#include "help.hpp"
#include "resources_command.hpp"
#include "ztldata/frame/about.hpp"
#include "ztldata/frame/typelib.hpp"

namespace {

using namespace ztl::cli;

int Run(std::span<const std::string_view> args) {
  if (args.empty()) return UsageError("no command given: list, describe, call, serve or help (see 'ztl --help')");
  const std::string_view command = args[0];
  const auto rest = args.subspan(1);
  if (command == "--help" || command == "-h") {
    std::cout << kMainHelp;
    return kExitOk;
  }
  if (command == "--version") {
    const ztl::LibraryInfo& library = ztl::Library();
    std::cout << "ztl, for the " << library.name << " type library " << library.major << "." << library.minor << "\n";
    return kExitOk;
  }
  if (command == "help") {
    if (rest.empty()) {
      std::cout << kMainHelp;
      return kExitOk;
    }
    std::string_view text = CommandHelp(rest[0]);
    if (text.empty()) text = CodingCommandHelp(rest[0]);
    if (text.empty()) return UsageError("no command '" + std::string(rest[0]) + "' (see 'ztl --help')");
    std::cout << text;
    return kExitOk;
  }
  if (command == "list") return RunList(rest);
  if (command == "describe") return RunDescribe(rest);
  if (command == "call") return RunCall(rest);
  if (command == "serve") return RunServe(rest);
  if (command == "crc32") return RunCrc32(rest);
  if (command == "ebcdic") return RunEbcdic(rest);
  if (command == "rle") return RunRle(rest);
  if (command == "cipher") return RunCipher(rest);
  if (command == "rsa") return RunRsa(rest);
  if (command == "resources") return RunResources(rest);
  return UsageError("unknown command '" + std::string(command) + "' (see 'ztl --help')");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    // The about box of a component shows on standard output, except while serving, where
    // standard output carries nothing but protocol lines.
    const bool serving = argc > 1 && std::string_view(argv[1]) == "serve";
    ztl::SetAboutDisplay([serving](std::string_view text) { (serving ? std::cerr : std::cout) << text; });
    std::vector<std::string_view> args(argv + 1, argv + argc);
    return Run(args);
  } catch (const std::exception& e) {
    std::cerr << "ztl: internal error: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "ztl: internal error\n";
  }
  return 70;
}
