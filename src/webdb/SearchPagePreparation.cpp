// The search page text: the template read from the program's files, its table rows filled; and the
// search field chosen in WEB_DB mode.
#include "app/Form1.h"
#include "app/Messages.h"
#include "text/Lines.h"
#include "webdb/SearchPage.h"

namespace orv {

bool Form1::prepareSearchPage() {
  searchPageText = Text();
  const Text path = joinPath(platform_.fs.resourceFolder(), u"search.mvo");
  ReadResult read = platform_.files.readText(path);
  if (read.error) {
    // The conversion goes on without a page; the user learns why there will be none.
    Text why = read.error.kind == FileError::Kind::NotFound ? msg::templateMissing(path)
                                                            : msg::fileProblem(read.error);
    message(msg::withoutSearchPage(why));
  } else {
    searchPageText = linesWithCrLf(std::move(read.text)).text;
  }
  if (fieldCount < 1 || fieldCount > 9) return false;
  std::vector<Text> names;
  for (int i = 0; i < fieldCount; ++i) names.push_back(text(fieldNameBox(i)));
  searchPageText = fillTableRows(searchPageText, names);
  return true;
}

void Form1::chooseSearchField(int item) {
  if (item < 0 || item >= static_cast<int>(comboItems().size())) return;
  setText(kSearchFieldList, comboItems()[static_cast<std::size_t>(item)]);
  const Text field = text(kSearchFieldList);
  if (field.empty()) {
    message(msg::kNoSearchField);
    return;
  }
  message(msg::searchFieldSet(field));
  searchPageText = fillSearchField(searchPageText, field, lineCount);
}

}  // namespace orv
