#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace velkaro::cli {

using Json = nlohmann::ordered_json;

// A bad or missing argument: main() prints the message on stderr and exits with status 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "--name value" pairs and bare "--flag"s after the subcommand, and, for the commands that take
// them, plain words ("places find NAME").
class Args {
 public:
  Args(int argc, char** argv, int first, bool allowWords = false);

  const std::vector<std::string>& words() const { return words_; }
  // Word k (0-based), or "" when there are fewer.
  std::string word(size_t k) const { return k < words_.size() ? words_[k] : std::string(); }

  bool has(const std::string& name) const { return values_.count(name) != 0; }
  std::string text(const std::string& name) const;  // required
  std::string text(const std::string& name, const std::string& fallback) const;
  double number(const std::string& name) const;  // required
  double number(const std::string& name, double fallback) const;
  // A date "yyyy/mm/dd" as a date-time value.
  double date(const std::string& name) const;
  double date(const std::string& name, double fallback) const;
  // A date-time "yyyy/mm/dd hh:nn:ss".
  double dateTime(const std::string& name) const;

 private:
  std::map<std::string, std::string> values_;
  std::vector<std::string> words_;
};

// Prints one JSON object on stdout.
void PrintJson(const Json& j);

}  // namespace velkaro::cli
