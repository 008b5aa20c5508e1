#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velkaro {

// --- Code page 932 at the file boundary; UTF-8 inside ---------------------------------------

// Converts code-page-932 bytes to UTF-8. Bytes that are not valid code page 932 give nullopt and,
// when `error` is given, a message naming the offending position.
std::optional<std::string> Cp932ToUtf8(std::string_view bytes, std::string* error = nullptr);
// Converts UTF-8 to code page 932. A character that code page 932 cannot hold is an error, never
// a silent replacement.
std::optional<std::string> Utf8ToCp932(std::string_view text, std::string* error = nullptr);

// Width of a text as the fixed-pitch list shows it: the number of code-page-932 bytes, so a
// half-width character counts 1 and a full-width one 2 (a character outside the code page counts 2).
int Cp932Width(std::string_view utf8);

// Number of Unicode characters in a UTF-8 text, and a slice by characters.
size_t Utf8Length(std::string_view utf8);
std::string Utf8Substr(std::string_view utf8, size_t firstChar, size_t count = std::string::npos);

// --- Fields ----------------------------------------------------------------------------------

// Trims characters up to and including ' ' (blanks and control characters) at both ends.
std::string Trim(std::string_view s);

// One line split at `separator`: the text before each separator, trimmed, is the next field; the
// rest after it is trimmed and searched again; what remains is the last field. A line without any
// separator is one field, untrimmed.
std::vector<std::string> SplitFields(std::string_view line, char separator = ',');
// The list dialog's variant: an empty field reads as "0".
std::vector<std::string> SplitFieldsZero(std::string_view line, char separator = ',');

// Field n (1-based) of a split line, or "" when the line has fewer fields.
const std::string& Field(const std::vector<std::string>& fields, size_t n);

// The usual decimal reading: optional blanks, sign, digits with "." and an exponent. Returns
// nullopt when the text is not a number.
std::optional<double> ParseNumber(std::string_view text);
std::optional<long long> ParseInteger(std::string_view text);

// Removes every ideographic blank (U+3000) and every ASCII blank, also inside the text.
std::string StripBlanks(std::string_view text);

// Full-width katakana to hiragana; everything else unchanged.
std::string KatakanaToHiragana(std::string_view text);

// --- Visibility grades -----------------------------------------------------------------------

// Percentage grade of a visibility value (127..255 -> 0..100), truncated towards zero.
int VisibilityGrade(int value);
// "●" (75 and above), "◎" (50..74), "○" (25..49), "△" (below 25).
const char* GradeSymbol(int grade);
inline const char* kVisibilityLegend =
    "見え具合　（●＝良好　◎＝上半分以上　○＝半分以下　△＝僅か）";

// --- Numbers as text -------------------------------------------------------------------------

// The general decimal form: up to 15 significant digits, no trailing zeros, scientific only for
// very large or very small magnitudes. A float is widened first, so 35.45472f is written
// 35.454719543457.
std::string FormatGeneral(double value);
inline std::string FormatGeneral(float value) { return FormatGeneral(static_cast<double>(value)); }

// v + 0.5·10^-n in the general form, cut n characters after the decimal point.
std::string FormatDecimals(int n, double value);

// --- Lines and files -------------------------------------------------------------------------

// Splits text at CR LF (a lone LF also ends a line); a last line without an end is kept.
std::vector<std::string> SplitLines(std::string_view text);
// Joins lines, each ended with CR LF.
std::string JoinCrLf(const std::vector<std::string>& lines);

std::optional<std::string> ReadFileBytes(const std::string& path);
// Reads a code-page-932 text file into UTF-8 lines. nullopt when the file cannot be read; a line
// that is not valid code page 932 makes the whole read fail with `error` set, so nothing is
// silently dropped or mangled.
std::optional<std::vector<std::string>> ReadCp932Lines(const std::string& path,
                                                        std::string* error = nullptr);

// Replaces a file as a whole: writes `path`.tmp, flushes it to disk, then renames it over `path`.
// A failure at any point leaves the old file untouched. Returns false with `error` set.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);
// UTF-8 lines written as a code-page-932 CR LF file, atomically.
bool WriteCp932Lines(const std::string& path, const std::vector<std::string>& lines,
                     std::string* error = nullptr);

}  // namespace velkaro
