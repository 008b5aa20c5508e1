#include "cli/args.h"

#include <cmath>
#include <iostream>

#include "core/datetime.h"
#include "core/text.h"

namespace velkaro::cli {

Args::Args(int argc, char** argv, int first, bool allowWords) {
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    if (a.rfind("--", 0) != 0 && a != "-o") {
      if (!allowWords) throw UsageError("unexpected argument '" + a + "'");
      words_.push_back(a);
      continue;
    }
    const std::string name = a == "-o" ? "out" : a.substr(2);
    if (i + 1 < argc && std::string(argv[i + 1]).rfind("--", 0) != 0) {
      values_[name] = argv[++i];
    } else {
      values_[name] = "";
    }
  }
}

std::string Args::text(const std::string& name) const {
  const auto it = values_.find(name);
  if (it == values_.end() || it->second.empty()) throw UsageError("missing --" + name);
  return it->second;
}

std::string Args::text(const std::string& name, const std::string& fallback) const {
  return has(name) ? text(name) : fallback;
}

double Args::number(const std::string& name) const {
  const std::string t = text(name);
  const auto v = ParseNumber(t);
  if (!v || !std::isfinite(*v)) throw UsageError("--" + name + ": '" + t + "' is not a number");
  return *v;
}

double Args::number(const std::string& name, double fallback) const {
  return has(name) ? number(name) : fallback;
}

double Args::date(const std::string& name) const {
  const std::string t = text(name);
  DateTime d = 0;
  if (!ParseDateTime(t, d) || d != std::floor(d))
    throw UsageError("--" + name + ": '" + t + "' is not a date yyyy/mm/dd");
  return d;
}

double Args::date(const std::string& name, double fallback) const {
  return has(name) ? date(name) : fallback;
}

double Args::dateTime(const std::string& name) const {
  const std::string t = text(name);
  DateTime d = 0;
  if (!ParseDateTime(t, d))
    throw UsageError("--" + name + ": '" + t + "' is not a date-time yyyy/mm/dd hh:nn:ss");
  return d;
}

void PrintJson(const Json& j) { std::cout << j.dump(2) << std::endl; }

}  // namespace velkaro::cli
