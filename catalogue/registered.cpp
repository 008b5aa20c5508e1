#include "catalogue/registered.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <numeric>

#include "core/text.h"

namespace velkaro {
namespace {

std::u16string ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    unsigned cp = c;
    size_t len = 1;
    if (c >= 0xF0) {
      len = 4;
      cp = c & 0x07;
    } else if (c >= 0xE0) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xC0) {
      len = 2;
      cp = c & 0x1F;
    }
    if (i + len > s.size()) len = s.size() - i;
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string RowName(const std::string& row) {
  return Trim(Field(SplitFields(row), 1));
}

// Field n (from 1) of a row as SplitFields gives it, without splitting the whole row: the sorts
// read one field of every row.
std::string FieldAt(std::string_view row, size_t n) {
  size_t start = 0;
  size_t sep = row.find(',');
  if (sep == std::string_view::npos) return n == 1 ? std::string(row) : std::string();
  for (size_t k = 1; k < n; ++k) {
    if (sep == std::string_view::npos) return {};
    start = sep + 1;
    sep = row.find(',', start);
  }
  return Trim(
      row.substr(start, sep == std::string_view::npos ? std::string_view::npos : sep - start));
}

// The exchange sort on keys and row numbers packed into one word each (key in the high half), so
// that a pass is one branch-free sweep: place i carries the smallest key met so far and deposits
// the key it held wherever a strictly smaller one turns up.
void ExchangeSortPacked(std::vector<int>& keys, std::vector<int>& order) {
  const size_t n = keys.size();
  std::vector<uint32_t> packed(n);
  for (size_t i = 0; i < n; ++i)
    packed[i] = (static_cast<uint32_t>(keys[i]) << 16) | static_cast<uint32_t>(order[i] & 0xFFFF);
  uint32_t* q = packed.data();
  for (size_t i = 0; i + 1 < n; ++i) {
    uint32_t cur = q[i];
    uint32_t limit = cur & 0xFFFF0000u;
    for (size_t j = i + 1; j < n; ++j) {
      const uint32_t v = q[j];
      const bool smaller = v < limit;
      q[j] = smaller ? cur : v;
      cur = smaller ? v : cur;
      limit = cur & 0xFFFF0000u;
    }
    q[i] = cur;
  }
  for (size_t i = 0; i < n; ++i) {
    keys[i] = static_cast<int>(q[i] >> 16);
    order[i] = static_cast<int>(q[i] & 0xFFFF);
  }
}

// Dense ranks of the keys, so the exchange sort compares small integers.
template <typename Key>
std::vector<int> Ranks(const std::vector<Key>& keys) {
  std::vector<int> idx(keys.size());
  std::iota(idx.begin(), idx.end(), 0);
  std::sort(idx.begin(), idx.end(), [&](int a, int b) { return keys[a] < keys[b]; });
  std::vector<int> rank(keys.size());
  int r = 0;
  for (size_t k = 0; k < idx.size(); ++k) {
    if (k > 0 && keys[idx[k - 1]] < keys[idx[k]]) ++r;
    rank[idx[k]] = r;
  }
  return rank;
}

// The day of a field 7 text: its leading date, a time of day dropped; INT_MAX when it is no date.
int EventDay(const std::string& field) {
  DateTime t = 0;
  if (ParseDateTime(field, t)) return static_cast<int>(WholeDay(t));
  const size_t blank = field.find(' ');
  if (blank != std::string::npos && ParseDateTime(field.substr(0, blank), t))
    return static_cast<int>(WholeDay(t));
  return INT_MAX;
}

}  // namespace

const std::vector<std::string>& DefaultRegisteredRows() {
  static const std::vector<std::string> kRows = {
      "鵠沼海岸,クゲヌマカイガン,神奈川県藤沢市鵠沼海岸４丁目４-１,35.315790,139.465682,4,2013/04/"
      "03,2013/09/09",
      "蛭ヶ岳(丹沢山),ヒルガダケ,神奈川県  (百名山),35.48628,139.1388,1673,2012/11/02,2013/02/08",
      "スカイツリー第1展望台,スカイツリーダイイチテンボウダイ,"
      "東京スカイツリータウン（バス）（東京）,35.710018,139.810716,356,2012/11/07,2013/02/03",
      "スカイツリー第2展望台,スカイツリーダイニテンボウダイ,東京スカイツリータウン（バス）（東京）,"
      "35.710018,139.810716,456,2012/11/07,2013/02/03",
      "稲村ガ崎,イナムラガサキ,〒248-0024 神奈川県鎌倉市稲村ガ崎１丁目 "
      "国道134号線,35.301912,139.525324,10,2013/04/03,2013/09/09",
      "田貫湖キャンプ場,タヌキコキャンプジョウ,静岡県Zorv宮市猪之頭２９２９,35.345873,138.558366,"
      "669,2013/04/21,2013/08/22",
      "高尾山,たかおさん,東京都八王子市高尾町２１７６,35.624582,139.244070,591,2012/12/22",
      "諸磯湾,もろいそわん,神奈川県三浦市三崎町諸磯１８９５,35.155442,139.616446,10,2012/04/"
      "29,2012/08/14",
      "湘南平,しょうなんだいら,神奈川県大磯町, 35.32055, 139.30972, 180 ,2012/04/29,2012/08/14",
      "東京タワー　大展望台（150ｍ）,とうきょうたわー　だいてんぼうだい,東京都港区芝公園４丁目２,"
      "35.658578,139.745394,150,2013/04/03,2013/09/09",
      "東京タワー特別展望台（250ｍ）,とうきょうたわー　とくべつてんぼうだい,"
      "東京都港区芝公園４丁目２,35.658578,139.745394,250,2013/04/03,2013/09/09",
      "東京都庁展望台,とうきょうとちょうてんぼうだい,東京都新宿区西新宿２丁目８,35.68937,139."
      "691763,229,2012/11/02,2013/02/08",
      "横浜ランドマークタワー,よこはまらんどまーくたわー,横浜市西区みなとみらい２丁目,35.454719,"
      "139.630617,273,2012/11/07,2013/02/03",
      "横浜マリンタワー展望台,よこはままりんたわーてんぼうだい,横浜市中区山下町15,35.443938,139."
      "650988,94,2012/11/07,2013/02/03",
      "江ノ島シーキャンドル,えのしましーきゃんどる, "
      "神奈川県藤沢市江の島２丁目３-４６,35.299693,139.478624,101.5,2013/04/03,2013/09/09",
  };
  return kRows;
}

CatalogueLoad LoadRegisteredViewpoints(const std::string& path) {
  CatalogueLoad r;
  bool exists = false;
  auto lines = ReadCp932LinesLossless(path, &exists);
  if (exists && !lines) {
    r.ok = false;
    r.error = "cannot read " + path;
    return r;
  }
  if (lines) {
    r.list.rows.reserve(lines->size());
    for (auto& l : *lines)
      if (Utf8Length(l) > 10) r.list.rows.push_back(std::move(l));
  }
  if (r.list.rows.empty()) {
    r.list.rows = DefaultRegisteredRows();
    r.wroteDefaults = WriteRegisteredViewpoints(path, r.list, &r.error);
    r.ok = r.wroteDefaults;
  }
  return r;
}

bool WriteRegisteredViewpoints(const std::string& path, const RegisteredViewpoints& list,
                               std::string* error, const FileWriter& writer) {
  return WriteCp932LinesLossless(path, list.rows, error, writer);
}

bool SaveRegisteredViewpoints(const std::string& path, RegisteredViewpoints& list,
                              const EventDateUpdater& updater, std::string* error,
                              const FileWriter& writer) {
  if (updater) list.rows = updater(list.rows);
  return WriteRegisteredViewpoints(path, list, error, writer);
}

std::u16string ReadingKey(const std::string& row) {
  std::u16string key = ToUtf16(KatakanaToHiragana(FieldAt(row, 2)));
  if (key.size() > 255) key.resize(255);
  return key;
}

namespace {

void ExchangeSortAll(std::vector<int>& keys, std::vector<int>& order) {
  const size_t n = keys.size();
  if (n < 2) return;
  const auto fits = [](int v) { return v >= 0 && v <= 0xFFFF; };
  if (std::all_of(keys.begin(), keys.end(), fits) && std::all_of(order.begin(), order.end(), fits))
    return ExchangeSortPacked(keys, order);
  for (size_t i = 0; i + 1 < n; ++i)
    for (size_t j = i + 1; j < n; ++j)
      if (keys[i] > keys[j]) {
        std::swap(keys[i], keys[j]);
        std::swap(order[i], order[j]);
      }
}

}  // namespace

void ExchangeSort(std::vector<int>& keys, std::vector<int>& order) {
  const size_t n = keys.size();
  if (n < 2) return;
  // Where equal keys end depends only on the keys up to theirs: the places of the elements with
  // keys up to some value evolve in the same relative order whatever larger keys lie between them.
  // So only the elements up to the largest repeated key need the quadratic exchange; the others
  // have distinct keys and simply follow in key order.
  std::vector<int> sorted = keys;
  std::sort(sorted.begin(), sorted.end());
  bool repeated = false;
  int largestRepeated = 0;
  for (size_t k = 1; k < n; ++k)
    if (sorted[k] == sorted[k - 1]) {
      repeated = true;
      largestRepeated = sorted[k];
    }
  std::vector<int> lowKeys, lowOrder;
  std::vector<std::pair<int, int>> high;
  for (size_t i = 0; i < n; ++i) {
    if (repeated && keys[i] <= largestRepeated) {
      lowKeys.push_back(keys[i]);
      lowOrder.push_back(order[i]);
    } else {
      high.emplace_back(keys[i], order[i]);
    }
  }
  ExchangeSortAll(lowKeys, lowOrder);
  std::sort(high.begin(), high.end());
  for (size_t i = 0; i < lowKeys.size(); ++i) {
    keys[i] = lowKeys[i];
    order[i] = lowOrder[i];
  }
  for (size_t i = 0; i < high.size(); ++i) {
    keys[lowKeys.size() + i] = high[i].first;
    order[lowKeys.size() + i] = high[i].second;
  }
}

void SortByReading(RegisteredViewpoints& list) {
  std::vector<std::u16string> keys;
  keys.reserve(list.rows.size());
  for (const auto& row : list.rows) keys.push_back(ReadingKey(row));
  std::vector<int> rank = Ranks(keys);
  list.readingOrder.resize(list.rows.size());
  std::iota(list.readingOrder.begin(), list.readingOrder.end(), 1);
  ExchangeSort(rank, list.readingOrder);
}

void SortByEventDate(RegisteredViewpoints& list) {
  std::vector<int> days;
  std::vector<int> order;
  for (int i = 1; i <= list.count(); ++i) {
    const std::string field7 = FieldAt(list.row(i), 7);
    if (Utf8Length(field7) <= 6) continue;
    days.push_back(EventDay(field7));
    order.push_back(i);
  }
  std::vector<int> rank = Ranks(days);
  ExchangeSort(rank, order);
  list.datedCount = static_cast<int>(order.size());
  order.resize(list.rows.size(), -1);
  list.eventDateOrder = std::move(order);
}

bool StoreEventDates(const std::string& path, RegisteredViewpoints& list, const std::string& name,
                     const std::vector<DateTime>& events, std::string* error) {
  for (auto& row : list.rows) {
    std::vector<std::string> f = SplitFields(row);
    if (Field(f, 1) != name) continue;
    f.resize(8);
    f[6] = events.size() > 0 ? FormatDateTime(WholeDay(events[0])) : std::string();
    f[7] = events.size() > 1 ? FormatDateTime(WholeDay(events[1])) : std::string();
    std::string rebuilt = f[0];
    for (size_t k = 1; k < 8; ++k) rebuilt += "," + f[k];
    row = std::move(rebuilt);
    break;
  }
  return WriteRegisteredViewpoints(path, list, error);
}

FoundViewpoint FindRegisteredViewpoint(const RegisteredViewpoints& list, const std::string& text) {
  FoundViewpoint r;
  const std::string name = text.substr(0, text.find(','));
  for (int i = 1; i <= list.count(); ++i) {
    const std::vector<std::string> f = SplitFields(list.row(i));
    if (Trim(Field(f, 1)) != name) continue;
    Viewpoint& vp = r.viewpoint;
    bool numbersRead = true;
    auto number = [&](size_t n, double& out) {
      if (n > f.size()) return;
      if (const auto v = ParseNumber(f[n - 1]))
        out = *v;
      else
        numbersRead = false;
    };
    double elevation = 0;
    number(4, vp.latitude);
    number(5, vp.longitude);
    number(6, elevation);
    vp.elevation = static_cast<float>(elevation);
    vp.baseElevation = vp.elevation;
    vp.name = name;
    vp.reading = Field(f, 2);
    vp.remark = Field(f, 3);
    r.firstEvent = Field(f, 7);
    r.secondEvent = Field(f, 8);
    r.found = true;
    r.complete = numbersRead;
    for (size_t n = 2; n <= 6; ++n)
      if (Trim(Field(f, n)).empty()) r.complete = false;
    r.rowNumber = i;
    r.rowText = list.row(i);
    break;
  }
  return r;
}

bool DeleteRegisteredViewpoint(const std::string& path, RegisteredViewpoints& list,
                               const std::string& name, std::string* error) {
  const std::string key = Trim(name);
  std::erase_if(list.rows, [&](const std::string& row) { return RowName(Trim(row)) == key; });
  SortByReading(list);
  SortByEventDate(list);
  return WriteRegisteredViewpoints(path, list, error);
}

void AppendRegisteredRow(RegisteredViewpoints& list, std::string row) {
  list.rows.push_back(std::move(row));
}

bool IsNameRegistered(const RegisteredViewpoints& list, const std::string& name,
                      bool ignoreBlanks) {
  const std::string key = ignoreBlanks ? StripBlanks(name) : Trim(name);
  for (const auto& row : list.rows) {
    const std::string rowName = RowName(row);
    if ((ignoreBlanks ? StripBlanks(rowName) : rowName) == key) return true;
  }
  return false;
}

}  // namespace velkaro
