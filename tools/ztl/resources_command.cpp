// `ztl resources export DIR`: writes every embedded picture of the library into a folder.

#include "resources_command.hpp"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "commands.hpp"
#include "help.hpp"
#include "ztldata/frame/resources.hpp"

namespace ztl::cli {

int RunResources(std::span<const std::string_view> args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << CommandHelp("resources");
    return kExitOk;
  }
  if (args.size() != 2 || args[0] != "export") return UsageError("usage: ztl resources export DIR");
  const std::filesystem::path folder(args[1]);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return UsageError("cannot make the folder " + folder.string() + ": " + error.message());
  for (const ResourceFile& file : ResourceFiles()) {
    const std::filesystem::path path = folder / std::string(file.name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out) return UsageError("cannot write " + path.string());
    std::cout << path.string() << '\n';
  }
  return kExitOk;
}

}  // namespace ztl::cli
