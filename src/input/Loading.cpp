// The field count box and the load command: reading the text file into the working text and
// settling how many fields a record has.
#include <algorithm>
#include <new>

#include "app/Form1.h"
#include "app/Messages.h"
#include "convert/Records.h"
#include "text/Lines.h"
#include "text/Numeric.h"

namespace orv {
namespace {

bool endsInTextExtension(const Text& path) {
  if (path.size() < 3) return false;
  TextView last = TextView(path).substr(path.size() - 3);
  return last == u"txt" || last == u"TXT" || last == u"csv" || last == u"CSV";
}

// The field count box's string range test: "1" <= text <= "9", code unit by code unit.
bool inDigitRange(const Text& text) { return text >= Text(u"1") && text <= Text(u"9"); }

}  // namespace

void Form1::fieldCountChanged() {
  setEnabled(kConvertButton, !workingText().empty());
  double v = numericValue(text(kFieldCountBox));
  if (v < 1 || v > 9) setText(kFieldCountBox, Text());
  setEnabled(kLoadButton, !text(kFieldCountBox).empty());
}

void Form1::loadCommand() {
  if (!endsInTextExtension(text(kPathBox))) {
    message(msg::kNotATextFile);
    return;
  }
  BusyScope busy(*this);
  // The file is read and put into lines before anything changes: bytes that are not Shift_JIS, a
  // folder or pipe, a file too big for memory, and running out of memory on the way are refused
  // with a message and leave the window as it was, rather than loading garbled or partial text.
  const Text path = text(kPathBox);
  ReadResult read;
  CrLfLines lines;
  try {
    read = platform_.files.readText(path);
    if (!read.error) lines = linesWithCrLf(std::move(read.text));
  } catch (const std::bad_alloc&) {
    read.error = fileError(FileError::Kind::TooLarge, path);
  }
  using Kind = FileError::Kind;
  const Kind refused = read.error.kind;
  if (refused == Kind::NotShiftJis || refused == Kind::NotRegular || refused == Kind::TooLarge) {
    setBusy(false);
    message(msg::fileProblem(read.error));
    return;
  }

  setWorkingText(Text());
  workingTextConverted = false;
  workingTextIsPreview = false;
  // A new text is not a document until it is converted: saving it now would write it as one.
  setEnabled(kSaveButton, false);
  placeholderRestore();
  lineCount = 0;
  for (int i = 0; i < kNameBoxes; ++i) {
    setBackground(fieldNameBox(i), savedFieldBoxColour);
    setEnabled(fieldNameBox(i), false);
    setEnabled(fieldNameLabel(i), false);
  }
  // A file that cannot be opened or read ends the load here, silently, as the other failures do.
  if (read.error) return;

  lineCount = lines.count;
  loadedFile = path;
  setWorkingText(std::move(lines.text));

  if (inDigitRange(text(kFieldCountBox))) {
    auto count = roundToInt16(numericValue(text(kFieldCountBox)));
    if (!count) return;
    fieldCount = *count;
  } else {
    setText(kFieldCountBox, Text());
    fieldCount = 0;
    const Text& work = workingText();
    std::int64_t lineEnds = std::count(work.begin(), work.end(), kCr);
    std::int64_t quotes = std::count(work.begin(), work.end(), kQuote);
    if (!work.empty()) setText(kStatusLine, msg::lineCountStatus(lineEnds));
    if (lineEnds == 0) return;
    // A text with quotes counts them; one without (a spreadsheet quotes only the values that need it)
    // has as many fields as its first record.
    const double average = quotes > 0 ? static_cast<double>(quotes) / static_cast<double>(lineEnds) / 2.0
                                      : static_cast<double>(fieldsOfFirstRecord(work));
    // Counts are wide, so a huge average is simply "more than nine", not an overflow.
    fieldCount = roundToInt16(std::min(average, 32767.0)).value_or(32767);
    if (fieldCount > 9) {
      setBusy(false);
      message(msg::kTooManyFields);
      return;
    }
  }
  for (int i = 0; i < fieldCount; ++i) {
    setEnabled(fieldNameBox(i), true);
    setBackground(fieldNameBox(i), kTextBackground);
    setEnabled(fieldNameLabel(i), true);
  }
  setBusy(false);
  setFocus(kParentNameBox);
  setEnabled(kConvertButton, true);
  setEnabled(kLoadButton, workingText().empty());
}

}  // namespace orv
