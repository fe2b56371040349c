// The drive list, the folder list and the file list, and what choosing a file does.
#include <algorithm>
#include <new>

#include "app/Form1.h"
#include "app/Messages.h"
#include "convert/Records.h"
#include "text/ListFiles.h"
#include "text/Numeric.h"

namespace orv {
/// The file list's patterns "*.txt;*.csv;*.xml;*htm" and the workbooks, letter case ignored; "htm" has
/// no dot. A spreadsheet's ".csv" is a text file like any other; an old ".xls" is listed so that
/// choosing it says what it is.
bool matchesFilePattern(const Text& name) {
  return listFormatOf(name) != ListFormat::None || endsWithIgnoringCase(name, u".xml") ||
         endsWithIgnoringCase(name, u"htm");
}

Text Form1::driveHolding(const Text& path) const {
  Text best;
  for (const Text& d : driveList) {
    const bool holds = path.compare(0, d.size(), d) == 0 &&
                       (path.size() == d.size() || d.back() == u'/' || path[d.size()] == u'/');
    if (holds && d.size() >= best.size()) best = d;
  }
  return best.empty() ? drive : best;
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
    message(msg::emptyFile(path, first.sheetName));
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
  firstRecordIsHeader = false;
  setEnabled(kSaveButton, false);
  // The fields of the first record as the conversion reads them, however the values are quoted.
  separator = separatorOf(workingText());
  setText(kFieldCountBox, decimal(fieldsOfFirstRecord(workingText(), separator)));
  if (numericValue(text(kFieldCountBox)) < 1) {
    message(msg::kCannotConvertFormat);
    viewCommand();
  }
}

void Form1::openFile(const Text& absolutePath) {
  if (platform_.fs.folders(absolutePath)) {
    drive = driveHolding(absolutePath);
    folderChange(absolutePath);
    return;
  }
  const std::size_t slash = absolutePath.rfind(u'/');
  const Text parent = slash == 0 ? Text(u"/") : absolutePath.substr(0, slash == Text::npos ? 0 : slash);
  const Text name = slash == Text::npos ? absolutePath : absolutePath.substr(slash + 1);
  Result<std::vector<Text>> names = platform_.fs.files(parent);
  if (!names || std::find(names->begin(), names->end(), name) == names->end()) {
    message(msg::fileProblem(fileError(FileError::Kind::NotFound, absolutePath)));
    return;
  }
  drive = driveHolding(parent);
  folderChange(parent);
  if (std::find(fileList.begin(), fileList.end(), name) == fileList.end()) {
    message(msg::notAList(absolutePath));
    return;
  }
  chosenFile = name;
  fileChoice(name);
}

}  // namespace orv
