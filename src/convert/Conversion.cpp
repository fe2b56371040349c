// The conversion driver: checks the names, prepares the text and the search page, runs the writer.
#include "app/Form1.h"
#include "convert/Records.h"
#include "convert/XmlName.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

Text notUsable(const Text& name) { return name + u"は使用できません。他の名称にして下さい！"; }

Text notWritable(const Text& name, const Text& what, char32_t c) {
  return what + u"「" + name + u"」にShift_JISで保存できない文字があります：" + describeChar(c) +
         u"\r別の名前にして下さい！";
}

Text notAnXmlName(const Text& name, const Text& what) {
  return what + u"「" + name +
         u"」はXMLの要素名に使えません。\r空白・記号（\" < > & など）を含まない名前、数字で始まらない名前にして下さい！";
}

// A name a document in Shift_JIS cannot carry is as unusable as one XML does not allow; told with the
// character, so the user knows what to change. Empty when the name can be used.
Text nameProblem(const Text& name, const Text& what) {
  if (!isXmlName(name)) return notAnXmlName(name, what);
  EncodeResult e = encodeCp932(name);
  if (!e.ok) return notWritable(name, what, e.errorChar);
  return {};
}

Text recordProblems(const RecordCheck& check, std::size_t fieldsPerRecord) {
  Text m = u"レコードとして読めない行があるため変換できません（1レコード" + decimal(static_cast<std::int64_t>(fieldsPerRecord)) +
           u"項目）：";
  for (const RecordProblem& p : check.problems) {
    m += u"\r" + decimal(p.line) + u"行目：";
    switch (p.kind) {
      case RecordProblem::Kind::FieldCount:
        m += decimal(p.fields) + u"項目";
        break;
      case RecordProblem::Kind::UnclosedQuote:
        m += decimal(p.fields) + u"項目目の\"が閉じていません";
        break;
      case RecordProblem::Kind::TextAfterQuote:
        m += decimal(p.fields) + u"項目（\"で閉じた値の後に文字が続いています）";
        break;
    }
  }
  const auto shown = static_cast<std::int64_t>(check.problems.size());
  if (check.problemCount > shown) m += u"\rほか" + decimal(check.problemCount - shown) + u"件";
  return m + u"\r値の中の\"は\"\"と二つ重ねてください。何も変更していません。";
}

}  // namespace

void Form1::runConversion() {
  // The button stays as the file choice left it; the action is what refuses the one-line preview.
  if (workingTextIsPreview) {
    message(
        u"ファイルの先頭行だけが表示されています。"
        u"「OK」ボタンでファイル全体を読み込んでから変換してください。");
    return;
  }
  setEnabled(kConvertButton, false);
  const Text parent = text(kParentNameBox);
  if (parent.empty()) {
    setEnabled(kConvertButton, true);
    return;
  }
  if (parent == kRecordElement) {
    message(notUsable(parent));
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
  if (Text problem = nameProblem(parent, u"親要素名"); !problem.empty()) {
    message(problem);
    setEnabled(kConvertButton, true);
    return;
  }
  std::vector<Text> names;
  for (int i = 0; i < kNameBoxes; ++i) {
    if (!enabled(fieldNameBox(i))) continue;
    const Text& name = text(fieldNameBox(i));
    if (name == kRecordElement) {
      message(notUsable(name));
      setEnabled(kConvertButton, true);
      return;
    }
    if (Text problem = nameProblem(name, u"要素" + decimal(i + 1) + u"の名前"); !problem.empty()) {
      message(problem);
      setEnabled(kConvertButton, true);
      return;
    }
    names.push_back(name);
  }
  // A converted text holds no record quotes any more; converting it again would only add blank
  // lines around the record tags and, after a save, turn the declaration's quotes into fields.
  if (workingTextConverted) {
    message(u"このテキストは既に変換済みです。もう一度変換するにはﾌｧｲﾙを読み込み直してください。");
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
  message(u"変換終了しました！XMLﾃﾞｰﾀﾍﾞｰｽを作成するには「通常」ﾎﾞﾀﾝをｸﾘｯｸして\r「WEB_DB」に切り換えてください。");
  setEnabled(kModeButton, true);
  setEnabled(kSaveButton, true);
}

}  // namespace orv
