#include "catalogue/cp932_text.h"

#include <sys/stat.h>

#include "core/text.h"

namespace velkaro {
namespace {

constexpr unsigned kEscapeBase = 0xF700;

void AppendEscape(std::string& out, unsigned char byte) {
  const unsigned cp = kEscapeBase + byte;
  out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
  out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
  out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
}

bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Slow path for text that does not convert as a whole: character by character.
std::string DecodeByCharacter(std::string_view bytes) {
  std::string out;
  size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const size_t len = (IsLeadByte(c) && i + 1 < bytes.size()) ? 2 : 1;
    const auto utf8 = Cp932ToUtf8(bytes.substr(i, len));
    if (utf8) {
      out += *utf8;
      i += len;
    } else {
      AppendEscape(out, c);
      ++i;
    }
  }
  return out;
}

// Decodes the escape character at `s[i]` (three UTF-8 bytes), or returns -1.
int EscapedByte(std::string_view s, size_t i) {
  if (i + 2 >= s.size() || static_cast<unsigned char>(s[i]) != 0xEF) return -1;
  const unsigned cp = ((static_cast<unsigned char>(s[i]) & 0x0F) << 12) |
                      ((static_cast<unsigned char>(s[i + 1]) & 0x3F) << 6) |
                      (static_cast<unsigned char>(s[i + 2]) & 0x3F);
  if (cp < kEscapeBase || cp > kEscapeBase + 0xFF) return -1;
  return static_cast<int>(cp - kEscapeBase);
}

}  // namespace

std::string DecodeCp932Lossless(std::string_view bytes) {
  if (auto whole = Cp932ToUtf8(bytes)) return *whole;
  // Convert line by line so only the lines with stray bytes take the slow path.
  std::string out;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t nl = bytes.find('\n', start);
    const size_t end = nl == std::string_view::npos ? bytes.size() : nl + 1;
    const std::string_view line = bytes.substr(start, end - start);
    if (auto utf8 = Cp932ToUtf8(line))
      out += *utf8;
    else
      out += DecodeByCharacter(line);
    start = end;
  }
  return out;
}

std::optional<std::string> EncodeCp932Lossless(std::string_view utf8, std::string* error) {
  std::string out;
  size_t runStart = 0;
  auto flush = [&](size_t end) -> bool {
    if (end <= runStart) return true;
    std::string why;
    const auto enc = Utf8ToCp932(utf8.substr(runStart, end - runStart), &why);
    if (!enc) {
      if (error)
        *error = "cannot write \"" + std::string(utf8.substr(runStart, end - runStart)) +
                 "\" in code page 932: " + why;
      return false;
    }
    out += *enc;
    return true;
  };
  for (size_t i = 0; i < utf8.size();) {
    const int b = EscapedByte(utf8, i);
    if (b < 0) {
      ++i;
      continue;
    }
    if (!flush(i)) return std::nullopt;
    out.push_back(static_cast<char>(b));
    i += 3;
    runStart = i;
  }
  if (!flush(utf8.size())) return std::nullopt;
  return out;
}

std::optional<std::vector<std::string>> ReadCp932LinesLossless(const std::string& path,
                                                               bool* exists) {
  struct stat st {};
  const bool present = ::stat(path.c_str(), &st) == 0;
  if (exists) *exists = present;
  if (!present) return std::nullopt;
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return SplitLines(DecodeCp932Lossless(*bytes));
}

bool WriteCp932LinesLossless(const std::string& path, const std::vector<std::string>& lines,
                             std::string* error, const FileWriter& writer) {
  const auto bytes = EncodeCp932Lossless(JoinCrLf(lines), error);
  if (!bytes) return false;
  if (writer) return writer(path, *bytes, error);
  return WriteFileAtomic(path, *bytes, error);
}

}  // namespace velkaro
