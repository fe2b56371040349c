// Load, convert and save of a generated address book through the real window (offscreen platform
// unless a display is set): the time each click takes until the window has painted its result, and
// the peak memory, beside the floor of reading, decoding, re-encoding and writing the same bytes.
#include <QApplication>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "BenchCommon.h"
#include "gui/MainWindow.h"
#include "gui/QtPlatform.h"
#include "gui/WorkingTextView.h"
#include "platform/RealFiles.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using bench::secondsSince;

namespace {

double clickAndPaint(orv::MainWindow& window, orv::Ctl button) {
  auto start = Clock::now();
  qobject_cast<QPushButton*>(window.widget(button))->click();
  window.repaint();
  QCoreApplication::processEvents();
  return secondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::int64_t lines = argc > 1 ? std::stoll(argv[1]) : 1000000;
  fs::path dir = fs::temp_directory_path() / "orv-bench";
  fs::create_directories(dir);
  fs::path input = dir / ("window" + std::to_string(lines) + ".txt");
  const double mb = static_cast<double>(bench::writeAddressBook(input, lines)) / 1e6;
  fs::remove(dir / ("window" + std::to_string(lines) + ".xml"));

  const double floor = bench::iconvFloor(input, dir / "floor.out");

  bench::AnsweringDialogs dialogs;
  orv::RealTextFiles files;
  orv::RealFileSystem disk;
  bench::NoOpener opener;
  orv::QtPointer pointer;
  orv::Form1 form(orv::Platform{dialogs, files, disk, opener, pointer});
  form.startUp();
  orv::MainWindow window(form);
  window.show();
  QCoreApplication::processEvents();
  bench::resetPeakRss();

  form.setText(orv::kPathBox, orv::fromUtf8(input.string()));
  form.setText(orv::kFieldCountBox, u"5");
  window.refresh();
  const double load = clickAndPaint(window, orv::kLoadButton);
  const double loadPeak = bench::peakRssMb();
  const bool readOnly = window.textView()->isReadOnlyLarge();
  bench::nameAddressBook(form);
  window.refresh();
  bench::resetPeakRss();
  const double convert = clickAndPaint(window, orv::kConvertButton);
  const double convertPeak = bench::peakRssMb();
  bench::resetPeakRss();
  const double save = clickAndPaint(window, orv::kSaveButton);
  const double total = load + convert + save;
  const double savePeak = bench::peakRssMb();
  std::printf("%lld lines, %.1f MB, view %s; peak memory: load %.0f MB, convert %.0f MB, save %.0f MB\n",
              static_cast<long long>(lines), mb, readOnly ? "read-only (large)" : "editable", loadPeak,
              convertPeak, savePeak);
  std::printf(
      "floor %.2f s | load %.2f s  convert %.2f s  save %.2f s  total %.2f s | %.1f MB/s, %.2fx floor | "
      "highest peak %.1fx the file\n",
      floor, load, convert, save, total, mb / total, total / floor,
      std::max({loadPeak, convertPeak, savePeak}) / mb);
  return 0;
}
