// The search page text: the template read from the program's folder, its table rows filled; and the
// search field chosen in WEB_DB mode.
#include "app/Form1.h"
#include "text/Lines.h"
#include "webdb/SearchPage.h"

namespace orv {

bool Form1::prepareSearchPage() {
  searchPageText = Text();
  const Text path = platform_.fs.programFolder() + u"/search.mvo";
  ReadResult read = platform_.files.readText(path);
  if (read.error) {
    // The conversion goes on without a page; the user learns why there will be none.
    Text why = read.error.kind == FileError::Kind::NotFound
                   ? u"検索ページのテンプレート（search.mvo）が見つかりません：" + path
                   : describe(read.error);
    message(why + u"\r検索ページなしで変換を続けます。");
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
    message(u"検索対象ﾌｨｰﾙﾄﾞが設定されていません！");
    return;
  }
  message(u"検索対象ﾌｨｰﾙﾄﾞを【" + field + u"】に設定しました。ﾌｧｲﾙのsaveを実行してください。");
  searchPageText = fillSearchField(searchPageText, field, lineCount);
}

}  // namespace orv
