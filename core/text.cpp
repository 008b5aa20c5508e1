#include "core/text.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace velkaro {
namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   std::string* error) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    if (error) *error = std::string("no converter from ") + from + " to " + to;
    return std::nullopt;
  }
  std::string out(in.size() * 2 + 16, '\0');
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  std::optional<std::string> result;
  while (true) {
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r != static_cast<size_t>(-1)) {
      out.resize(out.size() - outLeft);
      result = std::move(out);
      break;
    }
    if (errno == E2BIG) {
      const size_t used = out.size() - outLeft;
      out.resize(out.size() * 2);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
      continue;
    }
    if (error) {
      const size_t pos = in.size() - inLeft;
      *error = std::string(errno == EILSEQ ? "a character that " : "an incomplete character that ") +
               "cannot be converted from " + from + " to " + to + " at byte " +
               std::to_string(pos + 1);
    }
    break;
  }
  iconv_close(cd);
  return result;
}

bool IsTrimmed(unsigned char c) { return c <= ' '; }

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view bytes, std::string* error) {
  return Convert("UTF-8", "CP932", bytes, error);
}

std::optional<std::string> Utf8ToCp932(std::string_view text, std::string* error) {
  return Convert("CP932", "UTF-8", text, error);
}

size_t Utf8Length(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string Utf8Substr(std::string_view s, size_t firstChar, size_t count) {
  size_t i = 0, ch = 0;
  while (i < s.size() && ch < firstChar) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    ++ch;
  }
  const size_t start = i;
  size_t taken = 0;
  while (i < s.size() && taken < count) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    ++taken;
  }
  return std::string(s.substr(start, i - start));
}

int Cp932Width(std::string_view utf8) {
  int width = 0;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t j = i + 1;
    while (j < utf8.size() && (static_cast<unsigned char>(utf8[j]) & 0xC0) == 0x80) ++j;
    const std::string_view ch = utf8.substr(i, j - i);
    if (ch.size() == 1) {
      width += 1;
    } else {
      const auto enc = Utf8ToCp932(ch);
      width += enc ? static_cast<int>(enc->size()) : 2;
    }
    i = j;
  }
  return width;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsTrimmed(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && IsTrimmed(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

std::vector<std::string> SplitFields(std::string_view line, char separator) {
  std::vector<std::string> fields;
  size_t pos = line.find(separator);
  if (pos == std::string_view::npos) {
    fields.emplace_back(line);
    return fields;
  }
  std::string rest(line);
  while (true) {
    pos = rest.find(separator);
    if (pos == std::string::npos) {
      fields.push_back(rest);
      break;
    }
    fields.push_back(Trim(std::string_view(rest).substr(0, pos)));
    rest = Trim(std::string_view(rest).substr(pos + 1));
  }
  return fields;
}

std::vector<std::string> SplitFieldsZero(std::string_view line, char separator) {
  std::vector<std::string> fields = SplitFields(line, separator);
  for (auto& f : fields)
    if (f.empty()) f.assign(1, '0');
  return fields;
}

const std::string& Field(const std::vector<std::string>& fields, size_t n) {
  static const std::string kEmpty;
  return (n >= 1 && n <= fields.size()) ? fields[n - 1] : kEmpty;
}

std::optional<double> ParseNumber(std::string_view text) {
  std::string t = Trim(text);
  std::string_view v = t;
  if (v.empty()) return std::nullopt;
  bool negative = false;
  if (v[0] == '+' || v[0] == '-') {
    negative = v[0] == '-';
    v.remove_prefix(1);
  }
  if (v.empty() || v[0] == '+' || v[0] == '-') return std::nullopt;
  // from_chars would accept "inf" and "nan"; a number here starts with a digit or a point.
  if (!(std::isdigit(static_cast<unsigned char>(v[0])) || v[0] == '.')) return std::nullopt;
  double value = 0;
  const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (ec != std::errc() || ptr != v.data() + v.size()) return std::nullopt;
  return negative ? -value : value;
}

std::optional<long long> ParseInteger(std::string_view text) {
  std::string t = Trim(text);
  std::string_view v = t;
  if (!v.empty() && v[0] == '+') v.remove_prefix(1);
  if (v.empty()) return std::nullopt;
  long long value = 0;
  const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (ec != std::errc() || ptr != v.data() + v.size()) return std::nullopt;
  return value;
}

std::string StripBlanks(std::string_view text) {
  static const std::string_view kIdeographicBlank = "\u3000";
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
    } else if (text.substr(i, kIdeographicBlank.size()) == kIdeographicBlank) {
      i += kIdeographicBlank.size();
    } else {
      out.push_back(text[i]);
      ++i;
    }
  }
  return out;
}

std::string KatakanaToHiragana(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto c0 = static_cast<unsigned char>(text[i]);
    if (c0 == 0xE3 && i + 2 < text.size()) {
      // U+30A1..U+30F6 (ァ..ヶ) and U+30FD..U+30FE (ヽヾ) sit 0x60 above their hiragana.
      const unsigned cp = ((c0 & 0x0F) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3F) << 6) |
                          (static_cast<unsigned char>(text[i + 2]) & 0x3F);
      if ((cp >= 0x30A1 && cp <= 0x30F6) || cp == 0x30FD || cp == 0x30FE) {
        const unsigned h = cp - 0x60;
        out.push_back(static_cast<char>(0xE0 | (h >> 12)));
        out.push_back(static_cast<char>(0x80 | ((h >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (h & 0x3F)));
        i += 3;
        continue;
      }
    }
    out.push_back(text[i]);
    ++i;
  }
  return out;
}

int VisibilityGrade(int value) { return static_cast<int>(std::trunc((value - 127) / 1.28)); }

const char* GradeSymbol(int grade) {
  if (grade >= 75) return "●";
  if (grade >= 50) return "◎";
  if (grade >= 25) return "○";
  return "△";
}

std::string FormatGeneral(double value) {
  if (value == 0) return "0";
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string s = buf;
  const size_t e = s.find('e');
  // Fixed notation up to 15 integer digits and down to 0.00001; otherwise a mantissa with an
  // exponent written as E+n / E-n.
  const double mag = std::fabs(value);
  if (e == std::string::npos && mag >= 0.00001) return s;
  if (e != std::string::npos && mag >= 0.00001 && mag < 1e15) {
    std::snprintf(buf, sizeof buf, "%.15f", value);
    s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
  }
  std::snprintf(buf, sizeof buf, "%.14e", value);
  s = buf;
  const size_t ep = s.find('e');
  std::string mant = s.substr(0, ep);
  if (mant.find('.') != std::string::npos) {
    while (mant.back() == '0') mant.pop_back();
    if (mant.back() == '.') mant.pop_back();
  }
  const int exp = std::atoi(s.c_str() + ep + 1);
  return mant + "E" + (exp < 0 ? "-" : "+") + std::to_string(std::abs(exp));
}

std::string FormatDecimals(int n, double value) {
  std::string s = FormatGeneral(value + 0.5 * std::pow(10.0, -n));
  const size_t dot = s.find('.');
  if (dot == std::string::npos || s.find('E') != std::string::npos) return s;
  if (n <= 0) return s.substr(0, dot);
  return s.substr(0, dot + 1 + static_cast<size_t>(n));
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    size_t end = nl;
    if (end > start && text[end - 1] == '\r') --end;
    lines.emplace_back(text.substr(start, end - start));
    start = nl + 1;
  }
  return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return ss.str();
}

std::optional<std::vector<std::string>> ReadCp932Lines(const std::string& path,
                                                        std::string* error) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) {
    if (error) *error = "cannot read " + path;
    return std::nullopt;
  }
  std::vector<std::string> lines = SplitLines(*bytes);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string why;
    auto utf8 = Cp932ToUtf8(lines[i], &why);
    if (!utf8) {
      if (error) *error = path + ", line " + std::to_string(i + 1) + ": " + why;
      return std::nullopt;
    }
    lines[i] = std::move(*utf8);
  }
  return lines;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error) {
  const std::string tmp = path + ".tmp";
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + " " + tmp + ": " + std::strerror(errno);
    return false;
  };
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return fail("cannot create");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      errno = saved;
      return fail("cannot write");
    }
    done += static_cast<size_t>(w);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int saved = errno;
    ::unlink(tmp.c_str());
    errno = saved;
    return fail("cannot flush");
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int saved = errno;
    ::unlink(tmp.c_str());
    errno = saved;
    return fail("cannot rename");
  }
  // Make the rename itself durable.
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool WriteCp932Lines(const std::string& path, const std::vector<std::string>& lines,
                     std::string* error) {
  const auto bytes = Utf8ToCp932(JoinCrLf(lines), error);
  if (!bytes) return false;
  return WriteFileAtomic(path, *bytes, error);
}

}  // namespace velkaro
