// The field count box and the load command: reading the text file into the working text and
// settling how many fields a record has.
#include <algorithm>
#include <new>
#include <optional>

#include "app/Form1.h"
#include "app/Messages.h"
#include "convert/HeaderRow.h"
#include "convert/Records.h"
#include "text/Lines.h"
#include "text/ListFiles.h"
#include "text/Numeric.h"

namespace orv {
namespace {

// The field count box's string range test: "1" <= text <= "9", code unit by code unit.
bool inDigitRange(const Text& text) { return text >= Text(u"1") && text <= Text(u"9"); }

// A list exported with its column titles in the first record: asked once whether they name the
// fields, when no name is typed yet. The guided sample has none.
void offerHeader(Form1& form) {
  if (form.sampleFlag == kSampleFlagSet || form.fieldCount < 1) return;
  for (int i = 0; i < form.fieldCount; ++i)
    if (!form.text(fieldNameBox(i)).empty()) return;
  const LeadingValues leading = leadingValues(form.workingText(), kHeaderSample, form.separator);
  if (!looksLikeHeader(leading.records) ||
      static_cast<int>(leading.records.front().size()) != form.fieldCount)
    return;
  if (form.ask(msg::headerQuestion(leading.records.front()), msg::kHeaderCaption))
    form.takeNamesFromFirstRecord();
}

// A semicolon-separated list reads as one field a line: told which separators the tool reads.
void adviseOnSemicolons(Form1& form) {
  if (form.fieldCount == 1 && semicolonSeparated(form.workingText(), form.separator))
    form.message(msg::semicolons());
}

// The whole file read and put into lines before anything changes: bytes that are not Shift_JIS, a
// folder or pipe, a file too big for memory, a workbook that cannot be read, and running out of memory
// on the way are refused with a message and leave the window as it was, rather than loading garbled or
// partial text. Nothing when refused.
struct LoadedList {
  ReadResult read;
  CrLfLines lines;
};
std::optional<LoadedList> readWhole(Form1& form, const Text& path) {
  LoadedList loaded;
  try {
    loaded.read = form.platform().files.readText(path);
    if (!loaded.read.error) loaded.lines = linesWithCrLf(std::move(loaded.read.text));
  } catch (const std::bad_alloc&) {
    loaded.read.error = fileError(FileError::Kind::TooLarge, path);
  }
  using Kind = FileError::Kind;
  const Kind refused = loaded.read.error.kind;
  if (refused == Kind::NotShiftJis || refused == Kind::NotRegular || refused == Kind::TooLarge ||
      refused == Kind::Workbook) {
    form.setBusy(false);
    form.message(msg::fileProblem(loaded.read.error));
    return std::nullopt;
  }
  return loaded;
}

// The text of the last load goes, and with it every name box: a new text is not a document until it
// is converted, and saving it now would write it as one.
void forgetLastLoad(Form1& form) {
  form.setWorkingText(Text());
  form.workingTextConverted = false;
  form.workingTextIsPreview = false;
  form.setEnabled(kSaveButton, false);
  form.placeholderRestore();
  form.lineCount = 0;
  for (int i = 0; i < kNameBoxes; ++i) {
    form.setBackground(fieldNameBox(i), form.savedFieldBoxColour);
    form.setEnabled(fieldNameBox(i), false);
    form.setEnabled(fieldNameLabel(i), false);
  }
}

// The field count: the one typed, or else the fields of the first record as the conversion reads it,
// however the values are quoted. The status line says how many lines were read, and what as. False
// when there is nothing to name.
bool settleFieldCount(Form1& form, const ReadResult& read) {
  const Text& work = form.workingText();
  const std::int64_t lineEnds = std::count(work.begin(), work.end(), kCr);
  if (inDigitRange(form.text(kFieldCountBox))) {
    // A list chosen with its count still says what it was read as when that is not Shift_JIS and commas.
    if (read.encoding != Encoding::CodePage932 || form.separator == u'\t' || !read.sheetName.empty())
      form.setText(kStatusLine, msg::lineCountStatus(lineEnds, form.separator, read));
    auto count = roundToInt16(numericValue(form.text(kFieldCountBox)));
    if (!count) return false;
    form.fieldCount = *count;
    return true;
  }
  form.setText(kFieldCountBox, Text());
  form.fieldCount = 0;
  if (!work.empty()) form.setText(kStatusLine, msg::lineCountStatus(lineEnds, form.separator, read));
  if (lineEnds == 0) return false;
  // Counts are wide, so a huge count is simply "more than nine", not an overflow.
  form.fieldCount =
      static_cast<std::int16_t>(std::min<std::int64_t>(fieldsOfFirstRecord(work, form.separator), 32767));
  if (form.fieldCount > 9) {
    form.setBusy(false);
    form.message(msg::kTooManyFields);
    return false;
  }
  return true;
}

}  // namespace

void Form1::fieldCountChanged() {
  setEnabled(kConvertButton, !workingText().empty());
  double v = numericValue(text(kFieldCountBox));
  if (v < 1 || v > 9) setText(kFieldCountBox, Text());
  setEnabled(kLoadButton, !text(kFieldCountBox).empty());
}

void Form1::loadCommand() {
  if (listFormatOf(text(kPathBox)) == ListFormat::None) {
    message(msg::kNotATextFile);
    return;
  }
  BusyScope busy(*this);
  const Text path = text(kPathBox);
  std::optional<LoadedList> loaded = readWhole(*this, path);
  if (!loaded) return;
  forgetLastLoad(*this);
  // A file that cannot be opened or read ends the load here, silently, as the other failures do.
  if (loaded->read.error) return;

  lineCount = loaded->lines.count;
  loadedFile = path;
  separator = separatorOf(loaded->lines.text);
  firstRecordIsHeader = false;
  setWorkingText(std::move(loaded->lines.text));
  if (!settleFieldCount(*this, loaded->read)) return;
  for (int i = 0; i < fieldCount; ++i) {
    setEnabled(fieldNameBox(i), true);
    setBackground(fieldNameBox(i), kTextBackground);
    setEnabled(fieldNameLabel(i), true);
  }
  setBusy(false);
  setFocus(kParentNameBox);
  setEnabled(kConvertButton, true);
  setEnabled(kLoadButton, workingText().empty());
  adviseOnSemicolons(*this);
  offerHeader(*this);
}

}  // namespace orv
