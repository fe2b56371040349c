// The conversion driver: checks the names, prepares the text and the search page, runs the writer.
#include "app/Form1.h"
#include "app/Messages.h"
#include "convert/Records.h"
#include "convert/XmlName.h"
#include "text/Result.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

// A name a document in Shift_JIS cannot carry is as unusable as one XML does not allow; told with the
// character, so the user knows what to change.
Result<void> usableName(const Text& name, const Text& what) {
  if (!isXmlName(name)) return fail(msg::notAnXmlName(name, what));
  EncodeResult e = encodeCp932(name);
  if (!e.ok) return fail(msg::nameNotWritable(name, what, e.errorChar));
  return {};
}

Text recordProblems(const RecordCheck& check, std::size_t fieldsPerRecord) {
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
  return m.append(msg::kRecordsClosing);
}

}  // namespace

void Form1::runConversion() {
  // The button stays as the file choice left it; the action is what refuses the one-line preview.
  if (workingTextIsPreview) {
    message(msg::kPreviewNotConvertible);
    return;
  }
  setEnabled(kConvertButton, false);
  const Text parent = text(kParentNameBox);
  if (parent.empty()) {
    setEnabled(kConvertButton, true);
    return;
  }
  if (parent == kRecordElement) {
    message(msg::notUsable(parent));
    return;
  }
  for (int i = 0; i < kNameBoxes; ++i) {
    if (enabled(fieldNameBox(i)) && text(fieldNameBox(i)).empty()) {
      setEnabled(kConvertButton, true);
      return;
    }
  }
  // Names that are not XML names would make a document no reader accepts (and a name holding a
  // double quote would confuse the writer): refuse them before anything changes.
  if (auto usable = usableName(parent, Text(msg::kParentName)); !usable) {
    message(usable.error());
    setEnabled(kConvertButton, true);
    return;
  }
  std::vector<Text> names;
  for (int i = 0; i < kNameBoxes; ++i) {
    if (!enabled(fieldNameBox(i))) continue;
    const Text& name = text(fieldNameBox(i));
    if (name == kRecordElement) {
      message(msg::notUsable(name));
      setEnabled(kConvertButton, true);
      return;
    }
    if (auto usable = usableName(name, msg::fieldName(i)); !usable) {
      message(usable.error());
      setEnabled(kConvertButton, true);
      return;
    }
    names.push_back(name);
  }
  // A converted text holds no record quotes any more; converting it again would only add blank
  // lines around the record tags and, after a save, turn the declaration's quotes into fields.
  if (workingTextConverted) {
    message(msg::kAlreadyConverted);
    return;
  }
  // The text is read as records before anything changes: a record that cannot be written as it stands
  // would shift every later one, so it refuses the conversion and the text stays as it is.
  RecordCheck check;
  if (!names.empty()) {
    BusyScope busy(*this);
    check = checkRecords(workingText(), names.size());
  }
  if (!check.ok()) {
    message(recordProblems(check, names.size()));
    setEnabled(kConvertButton, true);
    return;
  }
  setFocus(kTextView);
  if (!prepareSearchPage()) return;
  setFocus(kTextView);
  // The writer takes as many fields as the last load opened boxes for; with none there is nothing
  // to write.
  if (names.empty()) return;
  {
    BusyScope busy(*this);
    // The loaded text and the body are the only two copies of a large text alive at once.
    const Text loaded = takeWorkingText();
    Text body = writeDocumentBody(loaded, names, check);
    setWorkingText(std::move(body));
    workingTextConverted = true;
  }
  setEnabled(kConvertButton, false);
  message(msg::kConversionDone);
  setEnabled(kModeButton, true);
  setEnabled(kSaveButton, true);
}

}  // namespace orv
