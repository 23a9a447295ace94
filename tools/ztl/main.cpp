// The `ztl` command: picks the command named by the first argument and runs it.
// See help.cpp for what each command does; `ztl --help` prints the overview.

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "coding_commands.hpp"
#include "commands.hpp"
#include "help.hpp"
#include "output.hpp"
#include "resources_command.hpp"
#include "ztldata/frame/about.hpp"
#include "ztldata/frame/typelib.hpp"

namespace {

using namespace ztl::cli;

// The library's version, from the build.
#ifndef ZTL_LIBRARY_VERSION
#error "the build defines ZTL_LIBRARY_VERSION"
#endif

// "ztl 0.1.0 (ZTLData type library 1.4)".
std::string VersionText() {
  const ztl::LibraryInfo& library = ztl::Library();
  return "ztl " ZTL_LIBRARY_VERSION " (" + std::string(library.name) + " type library " +
         std::to_string(library.major) + "." + std::to_string(library.minor) + ")\n";
}

int Run(std::span<const std::string_view> args) {
  if (args.empty()) {
    return UsageError("no command given: list, describe, call, serve, crc32, ebcdic, rle, cipher, rsa, resources "
                      "or help (see 'ztl --help')");
  }
  const std::string_view command = args[0];
  const auto rest = args.subspan(1);
  if (command == "--help" || command == "-h") {
    std::cout << kMainHelp;
    return kExitOk;
  }
  if (command == "--version") {
    if (!rest.empty()) return UsageError("'--version' takes no arguments");
    std::cout << VersionText();
    return kExitOk;
  }
  if (command == "help") {
    if (rest.empty() || rest[0] == "--help" || rest[0] == "-h") {
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
  ztl::cli::StandardOutput output;
  int status = ztl::cli::kExitInternalError;
  try {
    // The about box of a component shows on standard output, except while serving, where
    // standard output carries nothing but protocol lines.
    const bool serving = argc > 1 && std::string_view(argv[1]) == "serve";
    ztl::SetAboutDisplay([serving](std::string_view text) { (serving ? std::cerr : std::cout) << text; });
    std::vector<std::string_view> args(argv + 1, argv + argc);
    status = Run(args);
  } catch (const std::bad_alloc&) {
    status = ztl::cli::OutOfMemory("");
  } catch (const std::exception& e) {
    std::cerr << "ztl: internal error: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "ztl: internal error\n";
  }
  return output.Finish(status);
}
