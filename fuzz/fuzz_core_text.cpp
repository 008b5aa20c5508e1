// Feeds arbitrary bytes to the text readers: code page 932 conversion, field splitting, numbers,
// dates and the altitude correction.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/datetime.h"
#include "core/text.h"
#include "core/viewpoint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  if (const auto utf8 = velkaro::Cp932ToUtf8(in)) {
    velkaro::Utf8ToCp932(*utf8);
    velkaro::Cp932Width(*utf8);
    velkaro::KatakanaToHiragana(*utf8);
    velkaro::StripBlanks(*utf8);
  }
  for (const auto& line : velkaro::SplitLines(in)) {
    for (const auto& f : velkaro::SplitFieldsZero(line)) {
      velkaro::ParseNumber(f);
      velkaro::ParseInteger(f);
    }
    velkaro::DateTime t;
    velkaro::ParseDateTime(line, t);
    double v;
    velkaro::ParseAltitudeCorrection(line, v);
  }
  return 0;
}
