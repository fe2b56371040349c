// Loading, converting and saving a generated address book in the model, without a window, beside the
// floor that reading, decoding, re-encoding and writing the same bytes costs: the same records as a
// Shift_JIS .txt, as a UTF-8 .csv with its byte order mark, and tab-separated in UTF-16 LE with its
// mark, as spreadsheets write "CSV UTF-8" and "Unicode text", and as a workbook of shared strings.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "BenchCommon.h"
#include "platform/RealFiles.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using bench::secondsSince;

int main(int argc, char** argv) {
  fs::path dir = fs::temp_directory_path() / "orv-bench";
  fs::create_directories(dir);
  std::vector<std::int64_t> sizes = {100000, 1000000};
  if (argc > 1) sizes = {std::stoll(argv[1])};
  std::printf("%9s %5s %8s | %7s %7s | %7s %7s %7s %7s | %7s %6s | %9s %9s %9s\n", "lines", "file", "MB",
              "floor s", "MB/s", "load s", "conv s", "save s", "total s", "MB/s", "xfloor", "load RSS",
              "conv RSS", "save RSS");
  for (std::int64_t lines : sizes) {
    const fs::path sjis = dir / ("book" + std::to_string(lines) + ".txt");
    bench::writeAddressBook(sjis, lines);
    const double floor = bench::iconvFloor(sjis, dir / "floor.out");
    const fs::path utf8 = dir / ("book" + std::to_string(lines) + ".csv");
    std::ofstream(utf8, std::ios::binary) << "\xEF\xBB\xBF" << orv::toUtf8(bench::addressBook(lines));
    const fs::path utf16 = dir / ("book" + std::to_string(lines) + "-utf16.txt");
    bench::writeTabSeparatedUtf16(utf16, lines);
    const fs::path workbook = dir / ("book" + std::to_string(lines) + ".xlsx");
    bench::writeWorkbook(workbook, lines);
    for (const fs::path& input : {sjis, utf8, utf16, workbook}) {
      const double mb = static_cast<double>(fs::file_size(input)) / 1e6;

      bench::AnsweringDialogs dialogs;
      orv::RealTextFiles files;
      orv::RealFileSystem disk;
      bench::NoOpener opener;
      bench::NoPointer pointer;
      orv::Form1 form(orv::Platform{dialogs, files, disk, opener, pointer});
      fs::remove(fs::path(input).replace_extension(".xml"));

      bench::resetPeakRss();
      auto start = Clock::now();
      form.setText(orv::kPathBox, orv::fromUtf8(input.string()));
      form.loadCommand();  // counts the fields: the box is empty
      double load = secondsSince(start);
      double loadRss = bench::peakRssMb();
      if (form.fieldCount != 5 || form.lineCount != lines) std::fprintf(stderr, "load went wrong\n");

      bench::nameAddressBook(form);
      bench::resetPeakRss();
      start = Clock::now();
      form.runConversion();
      double convert = secondsSince(start);
      double convertRss = bench::peakRssMb();

      bench::resetPeakRss();
      start = Clock::now();
      form.saveCommand();
      double save = secondsSince(start);
      double saveRss = bench::peakRssMb();
      double total = load + convert + save;
      std::printf(
          "%9lld %5s %8.1f | %7.2f %7.1f | %7.2f %7.2f %7.2f %7.2f | %7.1f %6.2f | %7.0fMB %7.0fMB %7.0fMB\n",
          static_cast<long long>(lines),
          input == utf8       ? "csv8"
          : input == utf16    ? "tsv16"
          : input == workbook ? "xlsx"
                              : "txt",
          mb, floor, mb / floor, load, convert, save, total, mb / total, total / floor, loadRss, convertRss,
          saveRss);
    }
  }
  std::printf(
      "txt: Shift_JIS; csv8: the same records in UTF-8 with the mark; tsv16: tab-separated in UTF-16 LE\n"
      "with the mark; xlsx: a workbook of one sheet, every value a shared string; floor: the Shift_JIS\n"
      "file's.\n");
  return 0;
}
