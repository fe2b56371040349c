// The drive list, the folder list and the file list, and what choosing a file does.
#include <algorithm>
#include <new>

#include "app/Form1.h"
#include "app/Messages.h"
#include "convert/Records.h"
#include "text/Numeric.h"

namespace orv {
namespace {

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool endsWithIgnoringCase(const Text& name, TextView suffix) {
  if (name.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i)
    if (lower(name[name.size() - suffix.size() + i]) != suffix[i]) return false;
  return true;
}

}  // namespace

/// The file list's patterns "*.txt;*.csv;*.xml;*htm", letter case ignored; the last has no dot. A
/// spreadsheet's ".csv" is a text file like any other.
bool matchesFilePattern(const Text& name) {
  return endsWithIgnoringCase(name, u".txt") || endsWithIgnoringCase(name, u".csv") ||
         endsWithIgnoringCase(name, u".xml") || endsWithIgnoringCase(name, u"htm");
}

void Form1::driveChange(const Text& newDrive) {
  drive = newDrive;
  // A drive that cannot be read leaves the folder list where it was, without a message.
  if (platform_.fs.folders(newDrive)) folderChange(newDrive);
}

void Form1::folderChange(const Text& path) {
  Result<std::vector<Text>> subFolders = platform_.fs.folders(path);
  Result<std::vector<Text>> names = platform_.fs.files(path);
  // A folder that cannot be listed is not entered: the lists keep showing the last good folder.
  if (!subFolders || !names) return;
  folder = path;
  folderList = std::move(*subFolders);
  fileList.clear();
  std::copy_if(names->begin(), names->end(), std::back_inserter(fileList), matchesFilePattern);
  chosenFile.clear();
}

void Form1::fileChoice(const Text& name) {
  const Text path = joinPath(folder, name);
  // The file is read before anything changes: a file that cannot be read, or is not Shift_JIS, is
  // not used at all and the user is told why.
  ReadResult first;
  try {
    first = platform_.files.readFirstLine(path);
  } catch (const std::bad_alloc&) {
    first.error = fileError(FileError::Kind::TooLarge, path);
  }
  if (first.error) {
    message(msg::fileProblem(first.error));
    return;
  }
  if (first.emptyFile) {
    message(msg::emptyFile(path));
    return;
  }
  chosenFile = name;
  setText(kFieldCountBox, Text());
  // A new file starts in normal mode, shown as such: the search-field list would offer the old names.
  enterNormalMode();
  setText(kPathBox, path);
  setWorkingText(std::move(first.text));
  workingTextConverted = false;
  workingTextIsPreview = true;
  setEnabled(kSaveButton, false);
  // A first line without quotes (as spreadsheets write values that need none) offers its own fields.
  const std::int64_t quotes = countOf(workingText(), kQuote);
  setText(kFieldCountBox, decimal(quotes > 0 ? quotes / 2 : fieldsOfFirstRecord(workingText())));
  if (numericValue(text(kFieldCountBox)) < 1) {
    message(msg::kCannotConvertFormat);
    viewCommand();
  }
}

}  // namespace orv
