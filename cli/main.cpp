// velkaro-cli: the computations of Velkaro for scripting. Each subcommand prints one JSON object.
#include <algorithm>
#include <exception>
#include <iostream>

#include "cli/command.h"

namespace velkaro::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

}  // namespace velkaro::cli

namespace {

void PrintUsage(std::ostream& out) {
  auto cmds = velkaro::cli::Commands();
  std::sort(cmds.begin(), cmds.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  out << "usage: velkaro-cli COMMAND [--option value ...]\n";
  for (const auto& c : cmds) out << "  velkaro-cli " << c.name << " " << c.usage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
    PrintUsage(argc < 2 ? std::cerr : std::cout);
    return argc < 2 ? 2 : 0;
  }
  const std::string name = argv[1];
  for (const auto& c : velkaro::cli::Commands()) {
    if (c.name != name) continue;
    try {
      velkaro::cli::Args args(argc, argv, 2, c.takesWords);
      return c.run(args);
    } catch (const velkaro::cli::UsageError& e) {
      std::cerr << "velkaro-cli " << name << ": " << e.what() << "\n";
      std::cerr << "usage: velkaro-cli " << name << " " << c.usage << "\n";
      return 2;
    } catch (const std::exception& e) {
      std::cerr << "velkaro-cli " << name << ": " << e.what() << "\n";
      return 1;
    }
  }
  std::cerr << "velkaro-cli: unknown command '" << name << "'\n";
  PrintUsage(std::cerr);
  return 2;
}
