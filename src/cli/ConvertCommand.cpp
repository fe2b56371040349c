#include "cli/ConvertCommand.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "app/Form1.h"
#include "app/Messages.h"
#include "platform/RealFiles.h"

namespace orv {
namespace {

void printLine(TextView text) {
  std::string line = toUtf8(text);
  std::replace(line.begin(), line.end(), '\r', '\n');
  std::fprintf(stderr, "%s\n", line.c_str());
}

// Every box goes to standard error. Only the save question and the overwrite question can come up on
// this road: the save is what was asked for; a file is replaced only when the user said so.
class ConsoleDialogs : public Dialogs {
 public:
  explicit ConsoleDialogs(bool replace) : replace_(replace) {}
  Answer show(const Text& text, Buttons buttons, const Text&) override {
    ++shown;
    if (buttons == Buttons::Ok) {
      printLine(text);
      return Answer::Ok;
    }
    const bool ok = text == msg::kSaveQuestion || (text == msg::kOverwriteQuestion && replace_);
    if (text == msg::kOverwriteQuestion && !replace_) declinedOverwrite = true;
    printLine(text + (ok ? u" [OK]" : u" [Cancel]"));
    return ok ? Answer::Ok : Answer::Cancel;
  }
  int shown = 0;
  bool declinedOverwrite = false;

 private:
  bool replace_;
};

// The real files, noting which were written whole.
class NotedFiles : public RealTextFiles {
 public:
  FileError writeParts(const Text& path, const std::vector<WritePart>& parts, Replace replace) override {
    FileError err = RealTextFiles::writeParts(path, parts, replace);
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
  ConsoleDialogs dialogs(request.replace);
  NotedFiles files;
  RealFileSystem fs;
  Nobody nobody;
  Form1 form(Platform{dialogs, files, fs, nobody, nobody});
  form.windowLoad();

  form.textEdited(kPathBox, request.input);
  form.textEdited(kFieldCountBox, decimal(static_cast<std::int64_t>(request.fields.size())));
  form.click(kLoadButton);
  if (form.workingText().empty()) {
    // A file the window cannot open, or an empty one, leaves an empty text without a word; here a
    // word is due.
    if (dialogs.shown == 0) {
      const ReadResult first = files.readFirstLine(request.input);
      printLine(first.error ? msg::fileProblem(first.error) : msg::emptyFile(request.input));
    }
    return kRefused;
  }
  form.textEdited(kParentNameBox, request.parent);
  for (std::size_t i = 0; i < request.fields.size(); ++i)
    form.textEdited(fieldNameBox(static_cast<int>(i)), request.fields[i]);
  form.click(kConvertButton);
  if (!form.enabled(kSaveButton)) return kRefused;

  if (request.webDb) {
    form.click(kModeButton);
    const auto& items = form.comboItems();
    const auto item = std::find(items.begin(), items.end(), request.searchField);
    form.chooseSearchField(static_cast<int>(item - items.begin()));
  }
  // The path box takes the document's name, as a user would type it before saving.
  if (!request.output.empty()) form.textEdited(kPathBox, request.output);
  form.click(kSaveButton);

  const bool pageWritten = !form.searchPagePath.empty() && files.written.count(form.searchPagePath);
  if (files.written.count(form.text(kPathBox)) && (!request.webDb || pageWritten)) return kWritten;
  if (dialogs.declinedOverwrite) printLine(msg::notReplaced(form.text(kPathBox)));
  return kRefused;
}

}  // namespace orv
