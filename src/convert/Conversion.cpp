// The conversion driver: checks the names, prepares the text and the search page, runs the writer.
#include "app/Form1.h"
#include "app/Messages.h"
#include "convert/Records.h"
#include "convert/XmlName.h"
#include "text/LargeBuffer.h"
#include "text/Result.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

/// Bytes kept free after an encoded body for the header and the closing tag that the save puts around it.
constexpr std::size_t kEncodedHeaderRoom = 4096;

// The lines that are not records, and what to do: a semicolon-separated list is told its separator,
// any other is told how a quote is written inside a value.
Text recordProblems(const RecordCheck& check, std::size_t fieldsPerRecord, bool semicolons) {
  Text m = msg::recordsOpening(fieldsPerRecord);
  for (const RecordProblem& p : check.problems) {
    switch (p.kind) {
      case RecordProblem::Kind::FieldCount:
        m += msg::wrongFieldCount(p.line, p.fields);
        break;
      case RecordProblem::Kind::UnclosedQuote:
        m += msg::unclosedQuote(p.line, p.fields);
        break;
      case RecordProblem::Kind::TextAfterQuote:
        m += msg::textAfterQuote(p.line, p.fields);
        break;
    }
  }
  const auto shown = static_cast<std::int64_t>(check.problems.size());
  if (check.problemCount > shown) m += msg::moreRecords(check.problemCount - shown);
  return m.append(msg::recordsClosing(semicolons));
}

// Where the records begin: after the first record when it holds the titles that named the fields.
std::size_t headerEnd(const Form1& form) {
  return form.firstRecordIsHeader ? leadingValues(form.workingText(), 1, form.separator).firstEnd : 0;
}

// Line breaks as the record reader counts them: CR LF, CR alone, LF alone.
std::int64_t lineBreaks(TextView text) {
  std::int64_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    n += text[i] == kLf ? (i == 0 || text[i - 1] != kCr) : text[i] == kCr;
  return n;
}

// Why a conversion does not go ahead: what the user is told (nothing when empty), and whether the
// convert button is offered again. Most refusals offer it again at once; the record element's name as
// the parent name and a text converted already leave it off.
struct Refusal {
  Text message;
  bool offerAgain = true;
};

Refusal keepOff(Text message) { return {std::move(message), false}; }

// The names the document is written with: the parent's, then one per open field box. Checked before
// anything changes: a name that is not an XML name would make a document no reader accepts (and one
// holding a double quote would confuse the writer).
Result<std::vector<Text>, Refusal> elementNames(const Form1& form) {
  const Text& parent = form.text(kParentNameBox);
  if (parent.empty()) return fail(Refusal{});
  if (parent == kRecordElement) return fail(keepOff(msg::notUsable(parent)));
  for (int i = 0; i < kNameBoxes; ++i)
    if (form.enabled(fieldNameBox(i)) && form.text(fieldNameBox(i)).empty()) return fail(Refusal{});
  if (auto usable = usableName(parent, msg::parentName()); !usable) return fail(Refusal{usable.error()});
  std::vector<Text> names;
  for (int i = 0; i < kNameBoxes; ++i) {
    if (!form.enabled(fieldNameBox(i))) continue;
    const Text& name = form.text(fieldNameBox(i));
    if (name == kRecordElement) return fail(Refusal{msg::notUsable(name)});
    if (auto usable = usableName(name, msg::fieldName(i)); !usable) return fail(Refusal{usable.error()});
    names.push_back(name);
  }
  return names;
}

// The working text read as records of names.size() fields, before anything changes: a record that
// cannot be written as it stands would shift every later one, so it refuses the conversion.
Result<RecordCheck, Refusal> readableRecords(Form1& form, const std::vector<Text>& names) {
  // A converted text holds no record quotes any more; converting it again would only add blank
  // lines around the record tags and, after a save, turn the declaration's quotes into fields.
  if (form.workingTextConverted) return fail(keepOff(Text(msg::kAlreadyConverted)));
  const std::size_t start = headerEnd(form);
  RecordCheck check;
  if (!names.empty()) {
    BusyScope busy(form);
    check = checkRecords(TextView(form.workingText()).substr(start), names.size(), form.separator);
  }
  if (start > 0) {
    const std::int64_t titleLines = lineBreaks(TextView(form.workingText()).substr(0, start));
    for (RecordProblem& p : check.problems) p.line += titleLines;
  }
  if (!check.ok())
    return fail(Refusal{recordProblems(
        check, names.size(), names.size() == 1 && semicolonSeparated(form.workingText(), form.separator))});
  // Blank lines alone would make a document without a single record, and a save would offer it.
  if (!names.empty() && check.records == 0) return fail(Refusal{msg::noRecords()});
  return check;
}

// The working text replaced by the document body. The loaded text and the body are the only two
// copies of a large text alive at once.
void writeBody(Form1& form, const std::vector<Text>& names, const RecordCheck& check) {
  BusyScope busy(form);
  const std::size_t start = headerEnd(form);
  const Text loaded = form.takeWorkingText();
  const TextView records = TextView(loaded).substr(start);
  if (form.keepDocumentEncoded) {
    form.encodedBody.clear();
    form.encodedBodyRefused = 0;
    // Room for the header's bytes too, which the save puts in front in place.
    reserveLarge(form.encodedBody, 2 * bodyLengthBound(records, names, check) + kEncodedHeaderRoom);
    // The text already written is given back as the body grows: it is dropped once the body is done.
    const char16_t* keptFrom = records.data();
    writeDocumentBody(records, names, form.separator, [&](TextView piece, const char16_t* readThrough) {
      if (!form.encodedBodyRefused) appendCp932(form.encodedBody, piece, form.encodedBodyRefused);
      keptFrom = giveBackPages(keptFrom, readThrough);
    });
  } else {
    form.setWorkingText(writeDocumentBody(records, names, check, form.separator));
  }
  form.workingTextConverted = true;
  form.firstRecordIsHeader = false;
  form.recordCount = check.records;
}

}  // namespace

void Form1::runConversion() {
  // The button stays as the file choice left it; the action is what refuses the one-line preview.
  if (workingTextIsPreview) {
    message(msg::kPreviewNotConvertible);
    return;
  }
  setEnabled(kConvertButton, false);
  auto names = elementNames(*this);
  Result<RecordCheck, Refusal> check = names ? readableRecords(*this, *names) : fail(names.error());
  if (!check) {
    if (!check.error().message.empty()) message(check.error().message);
    if (check.error().offerAgain) setEnabled(kConvertButton, true);
    return;
  }
  setFocus(kTextView);
  if (!prepareSearchPage()) return;
  setFocus(kTextView);
  // The writer takes as many fields as the last load opened boxes for; with none there is nothing
  // to write.
  if (names->empty()) return;
  const bool header = firstRecordIsHeader;
  writeBody(*this, *names, *check);
  setEnabled(kConvertButton, false);
  message(header ? msg::conversionDoneWithHeader() : Text(msg::kConversionDone));
  setEnabled(kModeButton, true);
  setEnabled(kSaveButton, true);
}

}  // namespace orv
