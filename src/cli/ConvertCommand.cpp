#include "cli/ConvertCommand.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <new>
#include <set>

#include "app/Form1.h"
#include "app/Messages.h"
#include "platform/RealFiles.h"

namespace orv {
namespace {

// The model knows files by their paths only: standard input and output stand in it under names no file
// has, put back into the user's words wherever a message shows them.
constexpr TextView kInputText = u"/dev/stdin.txt";
constexpr TextView kInputWorkbook = u"/dev/stdin.xlsx";
constexpr TextView kOutputDocument = u"/dev/stdout.xml";

// Whether the progress line stands on the terminal, to be wiped before anything else is printed.
bool gProgressShown = false;

void wipeProgress() {
  if (gProgressShown) std::fputs("\r\033[K", stderr);
  gProgressShown = false;
}

std::string inUsersWords(TextView text) {
  Text words = shownName(text);
  replaceAllInPlace(words, kInputText, msg::inLanguage(msg::kCliStandardInput));
  replaceAllInPlace(words, kInputWorkbook, msg::inLanguage(msg::kCliStandardInput));
  replaceAllInPlace(words, kOutputDocument, msg::inLanguage(msg::kCliStandardOutput));
  return toUtf8(words);
}

void printLine(TextView text) {
  wipeProgress();
  std::string line = inUsersWords(text);
  std::replace(line.begin(), line.end(), '\r', '\n');
  std::fprintf(stderr, "%s\n", line.c_str());
}

// A large input shows the step it is at on a terminal; a script's log gets no such line. Below a few
// megabytes every step ends before a user would wonder.
constexpr std::uint64_t kProgressFrom = std::uint64_t{4} << 20;

class Progress {
 public:
  Progress(const Text& input, std::uint64_t bytes, bool quiet)
      : input_(input), bytes_(bytes), shown_(!quiet && bytes > kProgressFrom && ::isatty(STDERR_FILENO)) {}
  ~Progress() { wipeProgress(); }
  void step(int step) {
    if (!shown_) return;
    wipeProgress();
    std::fputs(inUsersWords(msg::cliProgress(input_, bytes_, step)).c_str(), stderr);
    std::fflush(stderr);
    gProgressShown = true;
  }

 private:
  Text input_;
  std::uint64_t bytes_;
  bool shown_;
};

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

// The real files, standard input and output among them, noting which were written whole. A page the
// command was told to write is never replaced without leave, not even one made while the save runs.
class CommandFiles : public RealTextFiles {
 public:
  CommandFiles(const ConvertRequest& request) : page_(request.page), replacePage_(request.replace) {}
  /// Standard input read whole, before the load asks for it; the name it stands under.
  Text readStandardInput() {
    std::string bytes;
    inputName_ = kInputText;
    try {
      input_.error = readStream(STDIN_FILENO, inputName_, bytes);
      // A workbook is told by its bytes: the archive's first signature.
      if (bytes.starts_with("PK\x03\x04")) inputName_ = kInputWorkbook;
      if (!input_.error) input_ = listText(inputName_, bytes, loadLimit(), false);
    } catch (const std::bad_alloc&) {
      input_.error = fileError(FileError::Kind::TooLarge, inputName_);
    }
    inputSize_ = bytes.size();
    return inputName_;
  }
  std::uint64_t inputSize() const { return inputSize_; }
  ReadResult readText(const Text& path) override {
    if (path != inputName_) return RealTextFiles::readText(path);
    // Handed over once, not copied: what stays behind tells a later question what went wrong.
    ReadResult whole = std::move(input_);
    input_ = ReadResult{};
    input_.error = whole.error;
    return whole;
  }
  ReadResult readFirstLine(const Text& path) override {
    if (path != inputName_) return RealTextFiles::readFirstLine(path);
    ReadResult first = input_;
    first.emptyFile = !first.error && first.text.empty();
    return first;
  }
  using RealTextFiles::writeBytes;
  FileError writeBytes(const Text& path, std::string_view bytes, Replace replace) override {
    if (path == page_ && !replacePage_) replace = Replace::Never;
    FileError err = path == kOutputDocument ? writeStream(STDOUT_FILENO, path, bytes)
                                            : RealTextFiles::writeBytes(path, bytes, replace);
    if (!err) written.insert(path);
    return err;
  }
  std::set<Text> written;

 private:
  Text page_;
  bool replacePage_;
  Text inputName_;
  ReadResult input_;
  std::uint64_t inputSize_ = 0;
};

// The real file system, in which standard output is always there to be written and holds nothing.
class CommandFileSystem : public RealFileSystem {
 public:
  bool fileExists(const Text& path) override {
    return path != kOutputDocument && RealFileSystem::fileExists(path);
  }
  FileError::Kind writeRefusal(const Text& target, const Text& source) override {
    return target == kOutputDocument ? FileError::Kind::None : RealFileSystem::writeRefusal(target, source);
  }
};

class Nobody : public Opener, public Pointer {
 public:
  void open(const Text&) override {}
  void setBusy(bool) override {}
};

// The window's steps, for one input.
ExitStatus convertOne(const ConvertRequest& request) {
  ConsoleDialogs dialogs(request.replace, request.header);
  CommandFiles files(request);
  CommandFileSystem fs;
  Nobody nobody;
  Form1 form(Platform{dialogs, files, fs, nobody, nobody});
  form.windowLoad();
  // No window shows the document: the conversion keeps it encoded, so a large list's document never
  // stands whole in UTF-16 beside the text.
  form.keepDocumentEncoded = true;
  // A page given by name is not replaced without leave: told before anything is read or written.
  if (!request.page.empty() && !request.replace && fs.fileExists(request.page)) {
    printLine(msg::notReplaced(request.page));
    return kRefused;
  }
  form.searchPageTarget = request.page;

  const Text input = request.input == kStandardStream ? files.readStandardInput() : request.input;
  std::error_code ec;
  const std::uintmax_t size = request.input == kStandardStream
                                  ? files.inputSize()
                                  : std::filesystem::file_size(nativePath(input), ec);
  Progress progress(input, ec ? 0 : size, request.quiet);
  progress.step(0);
  form.textEdited(kPathBox, input);
  // Without names the load counts the fields of the first record, which names them.
  if (!request.fields.empty())
    form.textEdited(kFieldCountBox, decimal(static_cast<std::int64_t>(request.fields.size())));
  form.click(kLoadButton);
  if (form.workingText().empty()) {
    // A file the window cannot open, or an empty one, leaves an empty text without a word; here a
    // word is due.
    if (!dialogs.printTold()) {
      const ReadResult first = files.readFirstLine(input);
      printLine(first.error ? msg::fileProblem(first.error) : msg::emptyFile(input, first.sheetName));
    }
    return kRefused;
  }
  dialogs.printTold();
  progress.step(1);
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
  if (!request.output.empty())
    form.textEdited(kPathBox, request.output == kStandardStream ? Text(kOutputDocument) : request.output);
  progress.step(2);
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
  if (!request.quiet)
    printLine(msg::cliSaved(xmlPath, form.recordCount, pageWritten ? form.searchPagePath : Text()));
  return kWritten;
}

}  // namespace

ExitStatus convertCommand(const ConvertRequest& request) {
  const ExitStatus status = convertOne(request);
  if (status != kWritten && request.several) printLine(msg::cliNotSaved(request.input));
  return status;
}

}  // namespace orv
