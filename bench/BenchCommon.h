#pragma once
// Shared by the benchmarks: a generated address book as large as asked, and the process's peak memory.
#include <malloc.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "text/Text.h"

namespace bench {

using orv::Text;

/// A loaded address book: five quoted fields per line, each line followed by CR LF.
inline Text addressBook(std::int64_t lines) {
  const std::vector<Text> surnames = {u"山田", u"佐藤", u"鈴木", u"高橋", u"田中", u"渡辺", u"伊藤", u"中村"};
  const std::vector<Text> givenNames = {u"太郎", u"花子", u"一郎", u"美咲", u"健", u"由美子", u"翔太"};
  const std::vector<Text> kana = {u"ﾔﾏﾀﾞ ﾀﾛｳ", u"ｻﾄｳ ﾊﾅｺ", u"ｽｽﾞｷ ｲﾁﾛｳ", u"ﾀｶﾊｼ ﾐｻｷ", u"ﾀﾅｶ ｹﾝ"};
  const std::vector<Text> towns = {u"東京都港区芝公園", u"大阪府大阪市北区梅田", u"愛知県名古屋市中区栄",
                                   u"福岡県福岡市博多区博多駅前", u"北海道札幌市中央区北一条西"};
  const std::vector<Text> buildings = {u"", u"ｻﾝﾗｲｽﾞ", u"ｸﾞﾘｰﾝﾊｲﾂ", u"ﾒｿﾞﾝ"};
  const std::vector<Text> notes = {u"", u"A&B商事", u"<重要>", u"1,000円", u"備考なし", u"要連絡"};
  std::mt19937 engine(42);
  auto pick = [&engine](const std::vector<Text>& pool) -> const Text& {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(engine)];
  };
  auto number = [&engine](int low, int high) {
    const auto s = std::to_string(std::uniform_int_distribution<int>(low, high)(engine));
    return Text(s.begin(), s.end());
  };
  Text text;
  text.reserve(static_cast<std::size_t>(lines) * 80);
  for (std::int64_t i = 0; i < lines; ++i) {
    text += u"\"K" + number(1000000, 9999999) + u"\",";
    text += u"\"" + pick(surnames) + u"\u3000" + pick(givenNames) + u"\",";
    text += u"\"" + pick(kana) + u"\",";
    text += u"\"" + pick(towns) + number(1, 9) + u"丁目" + number(1, 30) + u"-" + number(1, 20) +
            pick(buildings) + number(101, 909) + u"\",";
    text += u"\"0" + number(3, 99) + u"-" + number(1000, 9999) + u"-" + number(1000, 9999) + pick(notes) +
            u"\"\r\n";
  }
  return text;
}

/// Bytes the text would take in Shift_JIS: one for ASCII and half-width katakana, two otherwise.
inline std::int64_t shiftJisBytes(const Text& text) {
  std::int64_t bytes = 0;
  for (const char16_t c : text) bytes += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
  return bytes;
}

inline double megabytes(std::size_t units) { return static_cast<double>(units) * sizeof(char16_t) / 1e6; }

/// Peak resident set size of the process so far, in MB.
inline double peakRssMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

/// Resets the peak memory figure so that the next phase is measured on its own.
/// Memory the allocator keeps from earlier phases (generating the inputs) is given back first.
inline void resetPeakRss() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace bench

#include <iconv.h>

#include <chrono>
#include <filesystem>
#include <unordered_map>

#include "app/Form1.h"
#include "common/Workbooks.h"
#include "text/Markup.h"
#include "text/ShiftJis.h"

namespace bench {

/// Answers OK to every box, as a user clicking through would.
class AnsweringDialogs : public orv::Dialogs {
 public:
  orv::Answer show(const Text&, orv::Buttons, const Text&) override { return orv::Answer::Ok; }
};
class NoOpener : public orv::Opener {
 public:
  void open(const Text&) override {}
};
class NoPointer : public orv::Pointer {
 public:
  void setBusy(bool) override {}
};

/// The floor every figure is compared with: read the file, decode it and encode it again with the
/// system's converter (iconv, code page 932), write the bytes out. Returns the seconds it took.
inline double iconvFloor(const std::filesystem::path& in, const std::filesystem::path& out) {
  auto start = std::chrono::steady_clock::now();
  std::ifstream file(in, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), {});
  auto convert = [](const char* to, const char* from, std::string& data) {
    iconv_t cd = iconv_open(to, from);
    std::string result(data.size() * 2 + 16, '\0');
    char* src = data.data();
    std::size_t srcLeft = data.size();
    char* dst = result.data();
    std::size_t dstLeft = result.size();
    iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    result.resize(result.size() - dstLeft);
    data.swap(result);
  };
  convert("UTF-16LE", "CP932", bytes);
  convert("CP932", "UTF-16LE", bytes);
  std::ofstream(out, std::ios::binary) << bytes;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/// Writes a generated address book of `lines` lines as a Shift_JIS file; returns its size in bytes.
inline std::int64_t writeAddressBook(const std::filesystem::path& path, std::int64_t lines) {
  std::string bytes = orv::encodeCp932(addressBook(lines)).bytes;
  std::ofstream(path, std::ios::binary) << bytes;
  return static_cast<std::int64_t>(bytes.size());
}

/// Writes the same address book tab-separated, without quotes, in UTF-16 LE after its byte order mark.
inline void writeTabSeparatedUtf16(const std::filesystem::path& path, std::int64_t lines) {
  const Text book = addressBook(lines);
  std::string bytes = "\xFF\xFE";
  bytes.reserve(book.size() * 2 + 2);
  for (std::size_t i = 0; i < book.size(); ++i) {
    char16_t c = book[i];
    if (c == u'"') continue;
    if (c == u',' && i > 0 && book[i - 1] == u'"' && i + 1 < book.size() && book[i + 1] == u'"') c = u'\t';
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  std::ofstream(path, std::ios::binary) << bytes;
}

/// Writes the same address book as a workbook of one sheet, every value a shared string, as a
/// spreadsheet saves typed text: the sheet and its strings deflated in a zip archive.
inline void writeWorkbook(const std::filesystem::path& path, std::int64_t lines) {
  const Text book = addressBook(lines);
  std::unordered_map<Text, std::size_t> index;
  orv::test::WorkbookParts workbook("住所録", "");
  std::string& sheet = workbook.sheets.front().second;
  std::int64_t row = 0;
  for (std::size_t start = 0; start < book.size();) {
    const std::size_t end = book.find(u"\r\n", start);
    const Text line = book.substr(start + 1, end - start - 2);  // without the outer quotes
    sheet += "<row r=\"" + std::to_string(++row) + "\">";
    char column = 'A';
    for (std::size_t from = 0;; ++column) {
      const std::size_t cut = line.find(u"\",\"", from);
      const Text value = line.substr(from, cut == Text::npos ? Text::npos : cut - from);
      const auto [it, added] = index.emplace(value, index.size());
      if (added) workbook.sharedStrings.push_back("<t>" + orv::toUtf8(orv::escapeMarkup(value)) + "</t>");
      sheet += std::string("<c r=\"") + column + std::to_string(row) + "\" t=\"s\"><v>" +
               std::to_string(it->second) + "</v></c>";
      if (cut == Text::npos) break;
      from = cut + 3;
    }
    sheet += "</row>";
    start = end + 2;
  }
  sheet += "</sheetData>";
  std::ofstream(path, std::ios::binary) << workbook.bytes();
}

inline double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/// Names the parent and the five fields of the generated address book.
inline void nameAddressBook(orv::Form1& form) {
  form.setText(orv::kParentNameBox, u"住所録");
  const char16_t* names[] = {u"番号", u"名前", u"読み", u"住所", u"電話"};
  for (int i = 0; i < 5; ++i) form.setText(orv::fieldNameBox(i), names[i]);
}

}  // namespace bench
