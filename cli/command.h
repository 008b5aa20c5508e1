#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/args.h"

namespace velkaro::cli {

struct Command {
  std::string name;
  std::string usage;  // one line: the arguments after the name
  std::function<int(const Args&)> run;
  bool takesWords = false;  // accepts plain words besides the options
};

std::vector<Command>& Commands();

// Each subcommand lives in its own file and registers itself here.
struct RegisterCommand {
  RegisterCommand(std::string name, std::string usage, std::function<int(const Args&)> run,
                  bool takesWords = false) {
    Commands().push_back({std::move(name), std::move(usage), std::move(run), takesWords});
  }
};

}  // namespace velkaro::cli
