// The load command and the field count through the window's model on an in-memory disk. Input: piece 0
// is the file's bytes; piece 1 the field count box (UTF-8); piece 2, byte 0, bit 0: a good file was
// loaded first, so that a refused file must leave it in place.
#include <algorithm>
#include <cmath>

#include "FuzzInput.h"
#include "app/Messages.h"
#include "common/Fakes.h"
#include "convert/Records.h"
#include "text/Lines.h"
#include "text/Numeric.h"
#include "text/ShiftJis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Pieces in(data, size);
  Harness h;
  Form1& f = h.f();
  if (in.number(2, 0) & 1) {
    h.disk.put(u"/data/before.txt", u"\"ｱｵｷ\",\"青木\"\r\n\"ｲﾄｳ\",\"伊藤\"\r\n");
    f.setText(kPathBox, u"/data/before.txt");
    f.loadCommand();
    check(f.workingText().size() > 0 && f.fieldCount == 2, "the first file loads");
  }
  h.disk.putBytes(u"/data/in.txt", std::string(in.bytes(0)));
  f.setText(kPathBox, u"/data/in.txt");
  f.setText(kFieldCountBox, in.text(1));
  const Text box = f.text(kFieldCountBox);
  const double boxValue = numericValue(box);
  check(box.empty() || (boxValue >= 1 && boxValue <= 9), "the field count box keeps only 1 to 9");
  check(f.enabled(kLoadButton) == !box.empty(), "OK is open with a field count");

  const Snapshot before = snapshot(f);
  const std::size_t boxesShown = h.dialogs.shown.size();
  f.loadCommand();
  check(!f.busy() && (h.pointer.changes.empty() || !h.pointer.changes.back()), "the pointer is normal again");
  const DecodeResult d = decodeText(in.bytes(0));
  if (!d.ok) {
    check(before.str() == snapshot(f).str() && h.dialogs.shown.size() == boxesShown + 1,
          "a refused file is told once and changes nothing");
    return 0;
  }
  // The line rule itself is checked on every readable file by the shiftjis_decode target.
  const CrLfLines lines = linesWithCrLf(Text(d.text));
  const Text& work = f.workingText();
  check(work == lines.text && f.lineCount == lines.count, "the working text is the file by lines");

  std::int64_t open = f.fieldCount;  // the first `open` name boxes are open, and no other
  if (box >= Text(u"1") && box <= Text(u"9")) {
    check(roundToInt16(boxValue) == f.fieldCount, "the typed count is taken");
  } else {
    check(f.text(kFieldCountBox).empty(), "a count not typed as 1 to 9 is cleared");
    check(work.empty() || contains(f.text(kStatusLine), decimal(f.lineCount)), "the line count is shown");
    // The fields of the first record, however its values are quoted.
    const auto expected = std::min<std::int64_t>(fieldsOfFirstRecord(work, separatorOf(work)), 32767);
    check(f.fieldCount == expected, "field count from the first record");
    const auto& shown = h.dialogs.shown;
    const bool toldTooMany = std::any_of(shown.begin() + static_cast<std::ptrdiff_t>(boxesShown), shown.end(),
                                         [](const ShownBox& b) { return b.text == msg::kTooManyFields; });
    check(toldTooMany == (expected > 9), "more than nine fields are told");
    open = expected > 9 ? 0 : expected;
  }
  for (int i = 0; i < kNameBoxes; ++i)
    check(f.enabled(fieldNameBox(i)) == (i < open) && f.enabled(fieldNameLabel(i)) == (i < open), "boxes");
  return 0;
}
