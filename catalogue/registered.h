#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/cp932_text.h"
#include "core/datetime.h"
#include "core/viewpoint.h"

namespace velkaro {

// The user's registered places (location.csv), held as the file's row texts in file order.
// Fields of a row: 1 name, 2 reading, 3 remark, 4 latitude, 5 longitude, 6 elevation, 7 and on the
// coming diamond event date-times ("OB" in field 7 freezes a row).
struct RegisteredViewpoints {
  std::vector<std::string> rows;
  // readingOrder[k] = number (from 1) of the row at place k + 1 when sorted by reading.
  std::vector<int> readingOrder;
  // eventDateOrder[k] = number of the row at place k + 1 sorted by first event date; -1 from the
  // place after the last dated row on. datedCount = the number of dated rows.
  std::vector<int> eventDateOrder;
  int datedCount = 0;

  int count() const { return static_cast<int>(rows.size()); }
  // Row by its number from 1.
  const std::string& row(int number) const { return rows[static_cast<size_t>(number - 1)]; }
};

// The 15 rows a new catalogue starts with, character for character.
const std::vector<std::string>& DefaultRegisteredRows();

// Recomputes the event date-times of the rows (the diamond search over the registered places):
// takes the row texts and gives the rows to write, one per row.
using EventDateUpdater = std::function<std::vector<std::string>(const std::vector<std::string>&)>;

struct CatalogueLoad {
  RegisteredViewpoints list;
  bool wroteDefaults = false;
  bool ok = true;     // false: the file exists but could not be read, or the defaults not written
  std::string error;  // what went wrong, for the standard error dialog
};

// Reads location.csv; lines of 10 characters or fewer are skipped, others kept as they are. A
// missing file, or one without a usable line, is created anew with the default rows. A file that
// exists but cannot be read is left alone and reported.
CatalogueLoad LoadRegisteredViewpoints(const std::string& path);

// Runs the updater (when given) over the rows, then rewrites the whole file. False with `error`
// when the file could not be written; the old file is then intact.
bool SaveRegisteredViewpoints(const std::string& path, RegisteredViewpoints& list,
                              const EventDateUpdater& updater, std::string* error = nullptr,
                              const FileWriter& writer = {});

// Rewrites the file from the rows as they are.
bool WriteRegisteredViewpoints(const std::string& path, const RegisteredViewpoints& list,
                               std::string* error = nullptr, const FileWriter& writer = {});

// Field 2 with katakana turned into hiragana, at most 255 UTF-16 code units, as UTF-16 so that
// keys compare by code units.
std::u16string ReadingKey(const std::string& row);

// The exchange sort the catalogue has always used: for i < j, exchange places i and j whenever
// key[i] > key[j]. Equal keys end where this scheme leaves them (not necessarily in file order).
// `keys` are ranks (smaller sorts first); `order` is carried along.
void ExchangeSort(std::vector<int>& keys, std::vector<int>& order);

void SortByReading(RegisteredViewpoints& list);
// Rows whose field 7 is longer than 6 characters, by the day of field 7 (its time dropped). A
// field 7 that does not start with a date sorts after every dated row.
void SortByEventDate(RegisteredViewpoints& list);

// Writes the first two found events (as whole days, "yyyy/mm/dd 00:00:00") into fields 7 and 8 of
// the first row named `name`, dropping fields after 8; a single event leaves field 8 empty. The
// file is rewritten also when no row has that name.
bool StoreEventDates(const std::string& path, RegisteredViewpoints& list, const std::string& name,
                     const std::vector<DateTime>& events, std::string* error = nullptr);

struct FoundViewpoint {
  bool found = false;     // a row of that name exists
  bool complete = false;  // and its fields 2 to 6 are non-empty and its numbers read
  int rowNumber = 0;      // from 1; 0 when not found
  std::string rowText;
  Viewpoint viewpoint;  // 0, 0, 0 and empty texts when not found
  std::string firstEvent, secondEvent;
};

// Looks up the row whose trimmed name equals the text before the first ",".
FoundViewpoint FindRegisteredViewpoint(const RegisteredViewpoints& list, const std::string& text);

// Removes every row named `name` (trimmed), re-sorts both orders and rewrites the file.
bool DeleteRegisteredViewpoint(const std::string& path, RegisteredViewpoints& list,
                               const std::string& name, std::string* error = nullptr);

// Adds a row at the end; the caller then saves and sorts by reading.
void AppendRegisteredRow(RegisteredViewpoints& list, std::string row);

// True when some row's trimmed field 1 equals `name` (the entry panel's test), or, with
// `ignoreBlanks`, when StripBlanks of both are equal (the main panel's test).
bool IsNameRegistered(const RegisteredViewpoints& list, const std::string& name, bool ignoreBlanks);

}  // namespace velkaro
