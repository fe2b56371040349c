// The field count box and the load command: reading the text file into the working text and
// settling how many fields a record has.
#include <algorithm>
#include <new>

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
  if (refused == Kind::NotShiftJis || refused == Kind::NotRegular || refused == Kind::TooLarge ||
      refused == Kind::Workbook) {
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
  separator = separatorOf(lines.text);
  firstRecordIsHeader = false;
  setWorkingText(std::move(lines.text));

  const Text& work = workingText();
  const std::int64_t lineEnds = std::count(work.begin(), work.end(), kCr);
  if (inDigitRange(text(kFieldCountBox))) {
    // A list chosen with its count still says what it was read as when that is not Shift_JIS and commas.
    if (read.encoding != Encoding::CodePage932 || separator == u'\t' || !read.sheetName.empty())
      setText(kStatusLine, msg::lineCountStatus(lineEnds, separator, read));
    auto count = roundToInt16(numericValue(text(kFieldCountBox)));
    if (!count) return;
    fieldCount = *count;
  } else {
    setText(kFieldCountBox, Text());
    fieldCount = 0;
    if (!work.empty()) setText(kStatusLine, msg::lineCountStatus(lineEnds, separator, read));
    if (lineEnds == 0) return;
    // The fields of the first record as the conversion reads it, however the values are quoted.
    // Counts are wide, so a huge count is simply "more than nine", not an overflow.
    fieldCount =
        static_cast<std::int16_t>(std::min<std::int64_t>(fieldsOfFirstRecord(work, separator), 32767));
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
  adviseOnSemicolons(*this);
  offerHeader(*this);
}

}  // namespace orv
