// Loading, converting and saving a generated Shift_JIS address book in the model, without a window,
// beside the floor that reading, decoding, re-encoding and writing the same bytes costs.
#include <cstdio>
#include <filesystem>

#include "BenchCommon.h"
#include "platform/RealFiles.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using bench::secondsSince;

namespace {}  // namespace

int main(int argc, char** argv) {
  fs::path dir = fs::temp_directory_path() / "orv-bench";
  fs::create_directories(dir);
  std::vector<std::int64_t> sizes = {100000, 1000000};
  if (argc > 1) sizes = {std::stoll(argv[1])};
  std::printf("%9s %8s | %7s %7s | %7s %7s %7s %7s | %7s %6s | %9s %9s %9s\n", "lines", "MB", "floor s",
              "MB/s", "load s", "conv s", "save s", "total s", "MB/s", "xfloor", "load RSS", "conv RSS",
              "save RSS");
  for (std::int64_t lines : sizes) {
    fs::path input = dir / ("book" + std::to_string(lines) + ".txt");
    const double mb = static_cast<double>(bench::writeAddressBook(input, lines)) / 1e6;
    double floor = bench::iconvFloor(input, dir / "floor.out");

    bench::AnsweringDialogs dialogs;
    orv::RealTextFiles files;
    orv::RealFileSystem disk;
    bench::NoOpener opener;
    bench::NoPointer pointer;
    orv::Form1 form(orv::Platform{dialogs, files, disk, opener, pointer});
    fs::remove(dir / ("book" + std::to_string(lines) + ".xml"));

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
        "%9lld %8.1f | %7.2f %7.1f | %7.2f %7.2f %7.2f %7.2f | %7.1f %6.2f | %7.0fMB %7.0fMB %7.0fMB\n",
        static_cast<long long>(lines), mb, floor, mb / floor, load, convert, save, total, mb / total,
        total / floor, loadRss, convertRss, saveRss);
  }
  return 0;
}
