// What the NSF tests share: claim trees filled from name/value lists, a clock the tests set, the
// records a writer produced, and columns of a record.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model/file_header.h"
#include "model/model_support.h"
#include "nsf/nsf_format.h"
#include "test_util.h"
#include "vb/files.h"

namespace claimfile::nsftest {

using Values = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;

inline void Fill(const com::Ptr<OutputFields>& store, Values values) {
  for (auto [name, value] : values) StoreField(store, name, value);
}
inline Batch& AddBatch(FileHeader& h, const wchar_t* key, Values values = {}) {
  Batch& b = *h.Batchs->Add(key);
  Fill(b.OutFields, values);
  return b;
}
// A new item of one of the unkeyed collections, filled.
template <class Items>
auto& AddFilled(Items& items, Values values) {
  auto& item = *items.Add();
  Fill(item.OutFields, values);
  return item;
}
inline Claim& AddClaim(Batch& b, Values values = {}) { return AddFilled(*b.Claims, values); }
inline InsurancePolicy& AddPolicy(Claim& c, Values values = {}) { return AddFilled(*c.InsurancePolicies, values); }
inline ServiceLine& AddLine(Claim& c, Values values = {}) { return AddFilled(*c.ServiceLines, values); }

// A moment as a date: year, month, day, hour, minute, second.
inline DATE Moment(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
  SYSTEMTIME t{};
  t.wYear = y, t.wMonth = mo, t.wDay = d, t.wHour = h, t.wMinute = mi, t.wSecond = s;
  DATE date = 0;
  SystemTimeToVariantTime(&t, &date);
  return date;
}

// The clock of the writers on this thread: each read takes the next moment of the list (the last
// one stays); ClockReads counts the reads.
inline std::vector<DATE>& ClockMoments() {
  static std::vector<DATE> moments;
  return moments;
}
inline int& ClockReads() {
  static int reads = 0;
  return reads;
}
class FixedClock {
 public:
  explicit FixedClock(std::vector<DATE> moments) {
    ClockMoments() = std::move(moments);
    ClockReads() = 0;
    NSFFormat::SetClock([]() -> DATE {
      auto& m = ClockMoments();
      const size_t i = static_cast<size_t>(ClockReads()++);
      return m[i < m.size() ? i : m.size() - 1];
    });
  }
  ~FixedClock() { NSFFormat::SetClock(nullptr); }
};

// The lines of a file of CR LF ended records, each checked to be 320 characters.
inline std::vector<std::string> Records(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the file does not end in CR LF";
      end = bytes.size();
    }
    lines.push_back(bytes.substr(at, end - at));
    EXPECT_EQ(320u, lines.back().size()) << "record " << lines.size() << ": " << lines.back();
    at = end + 2;
  }
  return lines;
}

// The record ids (columns 1-3) of the records, joined by blanks.
inline std::string Ids(const std::vector<std::string>& records) {
  std::string ids;
  for (const auto& r : records) {
    if (!ids.empty()) ids += ' ';
    ids.append(r, 0, 3);
  }
  return ids;
}

// Columns from..to (1-based, inclusive) of a record.
inline std::string Cols(const std::string& record, size_t from, size_t to) {
  return record.size() < to ? std::string() : record.substr(from - 1, to - from + 1);
}

// Writes the header with a new NSFFormat (or the one given) into a file of the folder and returns
// the file's bytes and the error number the writing raised (0: none).
inline std::pair<std::string, long> WriteNsf(FileHeader& header, const testutil::TempDir& dir,
                                             com::Ptr<NSFFormat> writer = nullptr, int times = 1) {
  if (!writer) writer = NSFFormat::New();
  const std::wstring path = dir.file(L"out.nsf");
  const short fn = vb::FreeFile();
  vb::OpenForOutput(fn, path);
  const long error = testutil::ErrorNumberOf([&] {
    for (int i = 0; i < times; ++i) writer->PrintMe(fn, header);
  });
  vb::Close(fn);
  return {testutil::ReadBytes(path), error};
}

}  // namespace claimfile::nsftest
