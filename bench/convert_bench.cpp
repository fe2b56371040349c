// Throughput and memory of the conversion on large generated working texts: comma removal, markup
// escaping, the record writer and both line-break steps, at 100k and 1M lines, so that the time can be
// seen to grow linearly with the text.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/Text.h"
#include "convert/Prepare.h"
#include "convert/RecordWriter.h"

namespace {

using orv::Text;
using Clock = std::chrono::steady_clock;

/// A loaded address book: five quoted fields per line, each line followed by CR LF.
Text addressBook(std::int64_t lines) {
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
std::int64_t shiftJisBytes(const Text& text) {
  std::int64_t bytes = 0;
  for (const char16_t c : text) bytes += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
  return bytes;
}

double megabytes(std::size_t units) { return static_cast<double>(units) * sizeof(char16_t) / 1e6; }

/// Peak resident set size of the process so far, in MB.
double peakRssMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

struct Stages {
  double commas = 0, escape = 0, write = 0, open = 0, close = 0;
  double total() const { return commas + escape + write + open + close; }
  std::size_t outUnits = 0;
  std::int64_t records = 0;
};

Stages convert(const Text& input, const std::vector<Text>& names) {
  Stages s;
  auto lap = [start = Clock::now()]() mutable {
    const auto now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - start).count();
    start = now;
    return seconds;
  };
  Text text = orv::removeCommasOutsideQuotes(input);
  s.commas = lap();
  text = orv::escapeMarkup(text);
  s.escape = lap();
  orv::WriterResult written = orv::writeRecords(std::move(text), names);
  s.write = lap();
  text = orv::breakRecordOpenTags(written.text);
  written.text = Text();
  s.open = lap();
  text = orv::breakRecordCloseTags(text);
  s.close = lap();
  s.outUnits = text.size();
  s.records = written.records;
  return s;
}

}  // namespace

int main() {
  const std::vector<Text> names = {u"番号", u"氏名", u"ﾌﾘｶﾞﾅ", u"住所", u"電話"};
  std::printf("%9s %9s %9s %9s %9s %8s %8s %9s   %s\n", "lines", "SJIS B/l", "in MB", "out MB", "seconds",
              "MB/s", "ns/line", "peak RSS", "stages: commas escape write open close (s)");
  double previous = 0;
  for (const std::int64_t lines : {std::int64_t{100'000}, std::int64_t{1'000'000}}) {
    const Text input = addressBook(lines);
    Stages best;
    for (int round = 0; round < 3; ++round) {
      const Stages s = convert(input, names);
      if (s.records != lines) {
        std::fprintf(stderr, "expected %lld records, got %lld\n", static_cast<long long>(lines),
                     static_cast<long long>(s.records));
        return 1;
      }
      if (round == 0 || s.total() < best.total()) best = s;
    }
    const double inMb = megabytes(input.size());
    std::printf("%9lld %9.1f %9.1f %9.1f %9.3f %8.0f %8.0f %6.0f MB   %.3f %.3f %.3f %.3f %.3f\n",
                static_cast<long long>(lines),
                static_cast<double>(shiftJisBytes(input)) / static_cast<double>(lines), inMb,
                megabytes(best.outUnits), best.total(), inMb / best.total(),
                best.total() * 1e9 / static_cast<double>(lines), peakRssMb(), best.commas, best.escape,
                best.write, best.open, best.close);
    if (previous > 0) std::printf("time ratio 1M / 100k: %.2f (linear: 10)\n", best.total() / previous);
    previous = best.total();
  }
  std::printf(
      "MB = UTF-16 bytes of the working text (2 per unit); MB/s against the input size; best of 3.\n");
  return 0;
}
