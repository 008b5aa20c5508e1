#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

// The user's files are edited by hand now and then, so a stray byte that is not code page 932
// must survive a load and a save unchanged. These helpers decode such a byte to a private-use
// character (U+F700 + byte, a range code page 932 never maps to) and encode it back to the byte.

// Decodes code-page-932 bytes to UTF-8; never fails.
std::string DecodeCp932Lossless(std::string_view bytes);
// Encodes UTF-8 to code page 932, turning the escape characters back into their bytes. nullopt
// (with `error` naming the text) when a character has no code-page-932 form.
std::optional<std::string> EncodeCp932Lossless(std::string_view utf8, std::string* error = nullptr);

// Reads a code-page-932 text file into UTF-8 lines (CR LF or LF ends). nullopt when the file does
// not exist or cannot be read; `exists` tells the two apart.
std::optional<std::vector<std::string>> ReadCp932LinesLossless(const std::string& path,
                                                               bool* exists = nullptr);
// Replaces a whole file; WriteFileAtomic unless a caller (a test) puts its own in.
using FileWriter =
    std::function<bool(const std::string& path, std::string_view bytes, std::string* error)>;

// Writes UTF-8 lines as a code-page-932 CR LF file, atomically (the old file stays intact on any
// failure).
bool WriteCp932LinesLossless(const std::string& path, const std::vector<std::string>& lines,
                             std::string* error = nullptr, const FileWriter& writer = {});

}  // namespace velkaro
