#include "cli/ConvertCommand.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <set>

#include "app/Form1.h"
#include "app/Messages.h"
#include "platform/RealFiles.h"

namespace orv {
namespace {

void printLine(TextView text) {
  std::string line = toUtf8(shownName(text));
  std::replace(line.begin(), line.end(), '\r', '\n');
  std::fprintf(stderr, "%s\n", line.c_str());
}

// The boxes of the window, answered as the command was told: the save is what was asked for; a file is
// replaced only with leave to. What the model tells is kept until the step that told it is done, so
// that the window's own instructions ("press 通常…", "saved!") can be left out of what is printed.
class ConsoleDialogs : public Dialogs {
 public:
  ConsoleDialogs(bool replace, bool header) : replace_(replace), header_(header) {}
  Answer show(const Text& text, Buttons buttons, const Text&) override {
    if (buttons == Buttons::Ok) {
      told_.push_back(text);
      return Answer::Ok;
    }
    if (text == msg::kSaveQuestion) return Answer::Ok;
    if (text != msg::kOverwriteQuestion)
      return header_ ? Answer::Ok : Answer::Cancel;  // the first record's names
    declinedOverwrite = !replace_;
    return replace_ ? Answer::Ok : Answer::Cancel;
  }
  /// Prints what was told since the last call, but for the window's instructions in `windowOnly`; true
  /// when something was printed.
  bool printTold(std::initializer_list<Text> windowOnly = {}) {
    bool printed = false;
    for (const Text& text : told_) {
      if (std::find(windowOnly.begin(), windowOnly.end(), text) != windowOnly.end()) continue;
      printLine(text);
      printed = true;
    }
    told_.clear();
    return printed;
  }
  bool declinedOverwrite = false;

 private:
  bool replace_, header_;
  std::vector<Text> told_;
};

// The real files, noting which were written whole.
class NotedFiles : public RealTextFiles {
 public:
  using RealTextFiles::writeBytes;
  FileError writeBytes(const Text& path, std::string_view bytes, Replace replace) override {
    FileError err = RealTextFiles::writeBytes(path, bytes, replace);
    if (!err) written.insert(path);
    return err;
  }
  std::set<Text> written;
};

class Nobody : public Opener, public Pointer {
 public:
  void open(const Text&) override {}
  void setBusy(bool) override {}
};

}  // namespace

ExitStatus convertCommand(const ConvertRequest& request) {
  ConsoleDialogs dialogs(request.replace, request.header);
  NotedFiles files;
  RealFileSystem fs;
  Nobody nobody;
  Form1 form(Platform{dialogs, files, fs, nobody, nobody});
  form.windowLoad();

  form.textEdited(kPathBox, request.input);
  // Without names the load counts the fields of the first record, which names them.
  if (!request.fields.empty())
    form.textEdited(kFieldCountBox, decimal(static_cast<std::int64_t>(request.fields.size())));
  form.click(kLoadButton);
  if (form.workingText().empty()) {
    // A file the window cannot open, or an empty one, leaves an empty text without a word; here a
    // word is due.
    if (!dialogs.printTold()) {
      const ReadResult first = files.readFirstLine(request.input);
      printLine(first.error ? msg::fileProblem(first.error) : msg::emptyFile(request.input, first.sheetName));
    }
    return kRefused;
  }
  dialogs.printTold();
  if (request.header && !form.firstRecordIsHeader) form.takeNamesFromFirstRecord();
  form.textEdited(kParentNameBox, request.parent);
  for (std::size_t i = 0; i < request.fields.size(); ++i)
    form.textEdited(fieldNameBox(static_cast<int>(i)), request.fields[i]);
  form.click(kConvertButton);
  dialogs.printTold({Text(msg::kConversionDone), msg::conversionDoneWithHeader()});
  if (!form.enabled(kSaveButton)) return kRefused;

  if (request.webDb) {
    form.click(kModeButton);
    const auto& items = form.comboItems();
    const auto item = std::find(items.begin(), items.end(), request.searchField);
    if (item == items.end()) {
      printLine(msg::inLanguage(msg::kCliSearchField));
      return kUsageError;
    }
    form.chooseSearchField(static_cast<int>(item - items.begin()));
    dialogs.printTold({msg::searchFieldSet(request.searchField)});
  }
  // The path box takes the document's name, as a user would type it before saving.
  if (!request.output.empty()) form.textEdited(kPathBox, request.output);
  form.click(kSaveButton);

  const Text& xmlPath = form.text(kPathBox);
  const bool pageWritten = !form.searchPagePath.empty() && files.written.count(form.searchPagePath);
  const bool explained = dialogs.printTold(
      {Text(msg::kSaved), msg::savedPageIn(form.searchPagePath), Text(msg::kSavedWithoutPage)});
  if (dialogs.declinedOverwrite) printLine(msg::notReplaced(xmlPath));
  if (!files.written.count(xmlPath)) return kRefused;
  if (request.webDb && !pageWritten) {
    if (!explained) printLine(msg::cliDocumentWithoutPage(xmlPath));
    return kRefused;
  }
  printLine(msg::cliSaved(xmlPath, form.recordCount, pageWritten ? form.searchPagePath : Text()));
  return kWritten;
}

}  // namespace orv
