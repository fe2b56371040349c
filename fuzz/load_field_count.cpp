// The load command and the field count through the window's model, on an in-memory disk: arbitrary
// file bytes and an arbitrary field count box.
//
// Input: piece 0 is the file's bytes; piece 1 the field count box (UTF-8); piece 2, byte 0, bit 0: a
// good file was loaded first, so that a refused file must leave it in place.
#include <algorithm>

#include "FuzzInput.h"
#include "common/Fakes.h"
#include "convert/Records.h"
#include "text/Lines.h"
#include "text/Numeric.h"
#include "text/ShiftJis.h"

namespace {

using namespace orv;
using fuzz::check;

/// q / (2 lines), to the nearest whole number with halves to the even one, in whole-number arithmetic.
std::int64_t averageFields(std::int64_t quotes, std::int64_t lines) {
  const std::int64_t n = quotes / (2 * lines);
  const std::int64_t rest = quotes % (2 * lines);
  if (rest > lines || (rest == lines && n % 2 != 0)) return n + 1;
  return n;
}

/// The name boxes the load opened, and their labels: the first `count`, and no other.
void checkOpenBoxes(Form1& f, std::int64_t count) {
  for (int i = 0; i < kNameBoxes; ++i)
    check(f.enabled(fieldNameBox(i)) == (i < count) && f.enabled(fieldNameLabel(i)) == (i < count),
          "open boxes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fuzz::Pieces in(data, size);
  const std::string bytes(in.bytes(0));
  Harness h;
  Form1& f = h.f();
  if (in.byte(2, 0) & 1) {
    h.disk.put(u"/data/before.txt", u"\"ｱｵｷ\",\"青木\"\r\n\"ｲﾄｳ\",\"伊藤\"\r\n");
    f.setText(kPathBox, u"/data/before.txt");
    f.loadCommand();
    check(f.workingText().size() > 0 && f.fieldCount == 2, "the first file loads");
  }
  h.disk.putBytes(u"/data/in.txt", bytes);
  f.setText(kPathBox, u"/data/in.txt");
  f.setText(kFieldCountBox, in.text(1));

  const Text box = f.text(kFieldCountBox);
  const double boxValue = numericValue(box);
  check(box.empty() || (boxValue >= 1 && boxValue <= 9), "the field count box keeps only 1 to 9");
  check(f.enabled(kLoadButton) == !box.empty(), "OK is open with a field count");

  const Snapshot before = snapshot(f);
  const std::size_t boxesShown = h.dialogs.shown.size();
  f.loadCommand();
  check(!f.busy(), "the busy pointer is gone after the load");
  check(h.pointer.changes.empty() || !h.pointer.changes.back(), "the pointer was last set to normal");

  const DecodeResult d = decodeText(bytes);
  if (!d.ok) {
    check(before.str() == snapshot(f).str(), "a refused file changes nothing");
    check(h.dialogs.shown.size() == boxesShown + 1, "a refused file is told once");
    return 0;
  }

  const CrLfLines lines = linesWithCrLf(Text(d.text));
  const Text& work = f.workingText();
  check(work == lines.text, "the working text is the file by lines");
  check(f.lineCount == lines.count, "line count");
  check(countOf(work, kCr) == f.lineCount, "one CR a line");
  for (std::size_t i = 0; i < work.size(); ++i)
    if (work[i] == kCr) check(i + 1 < work.size() && work[i + 1] == kLf, "every CR is followed by LF");

  if (box >= Text(u"1") && box <= Text(u"9")) {
    const std::optional<std::int16_t> typed = roundToInt16(boxValue);
    check(typed && *typed >= 1 && *typed <= 9, "a typed count is a field count");
    check(f.fieldCount == *typed, "the typed count is taken");
    checkOpenBoxes(f, f.fieldCount);
    return 0;
  }
  check(f.text(kFieldCountBox).empty(), "a count not typed as 1 to 9 is cleared");
  if (work.empty()) {
    check(f.fieldCount == 0, "an empty file has no fields");
    checkOpenBoxes(f, 0);
    return 0;
  }
  check(contains(f.text(kStatusLine), decimal(f.lineCount)), "the line count is shown");
  // Quotes give the average per line; a text without any gives the fields of its first record.
  const std::int64_t quotes = countOf(work, kQuote);
  const std::int64_t expected = std::min<std::int64_t>(
      quotes > 0 ? averageFields(quotes, f.lineCount) : fieldsOfFirstRecord(work), 32767);
  check(f.fieldCount == expected, "field count from the quotes per line or the first record");
  if (expected > 9) {
    check(h.dialogs.shown.size() == boxesShown + 1, "more than nine fields are told");
    checkOpenBoxes(f, 0);
  } else {
    check(h.dialogs.shown.size() == boxesShown, "a good file loads without a message");
    checkOpenBoxes(f, expected);
  }
  return 0;
}
