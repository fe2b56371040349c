// Throughput and memory of the conversion on large generated working texts: reading the records (the
// check that refuses a text before anything changes) and writing the document body, at 100k and 1M
// lines, so that the time can be seen to grow linearly with the text.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "convert/Records.h"
#include "text/Text.h"

namespace {

using bench::addressBook;
using bench::megabytes;
using bench::peakRssMb;
using bench::shiftJisBytes;
using orv::Text;
using Clock = std::chrono::steady_clock;

struct Stages {
  double check = 0, write = 0;
  double total() const { return check + write; }
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
  const orv::RecordCheck check = orv::checkRecords(input, names.size());
  s.check = lap();
  const Text body = orv::writeDocumentBody(input, names, check);
  s.write = lap();
  s.outUnits = body.size();
  s.records = check.ok() ? check.records : -1;
  return s;
}

}  // namespace

int main() {
  const std::vector<Text> names = {u"番号", u"氏名", u"ﾌﾘｶﾞﾅ", u"住所", u"電話"};
  std::printf("%9s %9s %9s %9s %9s %8s %8s %9s   %s\n", "lines", "SJIS B/l", "in MB", "out MB", "seconds",
              "MB/s", "ns/line", "peak RSS", "stages: check write (s)");
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
    std::printf("%9lld %9.1f %9.1f %9.1f %9.3f %8.0f %8.0f %6.0f MB   %.3f %.3f\n",
                static_cast<long long>(lines),
                static_cast<double>(shiftJisBytes(input)) / static_cast<double>(lines), inMb,
                megabytes(best.outUnits), best.total(), inMb / best.total(),
                best.total() * 1e9 / static_cast<double>(lines), peakRssMb(), best.check, best.write);
    if (previous > 0) std::printf("time ratio 1M / 100k: %.2f (linear: 10)\n", best.total() / previous);
    previous = best.total();
  }
  std::printf(
      "MB = UTF-16 bytes of the working text (2 per unit); MB/s against the input size; best of 3.\n");
  return 0;
}
