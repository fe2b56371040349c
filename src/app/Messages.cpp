#include "app/Messages.h"

#include "text/ShiftJis.h"

namespace orv::msg {

Text fieldNameLabel(int i) { return u"要素" + decimal(i + 1); }

Text fileProblem(const FileError& e) {
  auto reason = [&] { return e.reason.empty() ? Text() : u"（" + fromUtf8(e.reason) + u"）"; };
  switch (e.kind) {
    case FileError::Kind::None:
      return {};
    case FileError::Kind::NotFound:
      return u"ファイルが見つかりません：" + e.path;
    case FileError::Kind::Unreadable:
      return u"ファイルを読み込めません：" + e.path + reason();
    case FileError::Kind::NotShiftJis:
      if (e.binary)
        return u"テキストファイルではありません（0x00 のバイトを含むバイナリファイルです）：" + e.path +
               u"\r何も変更していません。";
      if (e.control)
        return u"XMLに入れられない制御文字を含むファイルです：" + e.path + u"\r" + decimal(e.line) +
               u"行目に制御文字 " + hexBytes(e.bytes) +
               u" があります。取り除いてから読み込んでください。何も変更していません。";
      return (e.utf8 ? u"UTF-8" : u"Shift_JIS") + Text(u"のテキストとして読めないファイルです：") + e.path +
             u"\r" + decimal(e.line) + u"行目のバイト " + hexBytes(e.bytes) +
             u" を読み込めません。何も変更していません。";
    case FileError::Kind::Unencodable:
      return cannotHoldInShiftJis(e.character) + u"\r保存先：" + e.path + u"\r何も保存していません。";
    case FileError::Kind::Unwritable:
      return u"ファイルを書き込めません：" + e.path + reason() +
             (e.replacing ? u"\r元のファイルはそのままです。" : u"");
    case FileError::Kind::NotRegular:
      return u"通常のファイルではないため読み込めません（フォルダ、名前付きパイプ、デバイスなど）：" +
             e.path + u"\r何も変更していません。";
    case FileError::Kind::TooLarge:
      // Without a size, memory ran out while the file was being read.
      return u"ファイルが大きすぎて読み込めません：" + e.path + u"\r" +
             (e.size > 0 ? u"ファイルの大きさは " + decimal(e.size) + u" バイトで、" : Text()) +
             u"使えるメモリが足りません。何も変更していません。";
    case FileError::Kind::ReadOnly:
      return u"読み取り専用のファイルのため保存できません：" + e.path + u"\r元のファイルはそのままです。";
  }
  return {};
}

Text emptyFile(const Text& path) { return u"空のファイルです：" + path + u"\r読み込むデータがありません。"; }

Text lineCountStatus(std::int64_t lineEnds) { return u"行数は" + decimal(lineEnds) + u"行です。"; }

Text cannotHoldInShiftJis(char32_t c) { return u"Shift_JISで保存できない文字があります：" + describeChar(c); }

Text fieldName(int i) { return u"要素" + decimal(i + 1) + u"の名前"; }

Text notUsable(const Text& name) { return name + u"は使用できません。他の名称にして下さい！"; }

Text notAnXmlName(const Text& name, const Text& what) {
  return what + u"「" + name + u"」はXMLの要素名に使えません。\r" +
         u"空白・記号（\" < > & など）を含まない名前、数字で始まらない名前にして下さい！";
}

Text nameNotWritable(const Text& name, const Text& what, char32_t c) {
  return what + u"「" + name + u"」に" + cannotHoldInShiftJis(c) + u"\r別の名前にして下さい！";
}

Text recordsOpening(std::size_t fieldsPerRecord) {
  return u"レコードとして読めない行があるため変換できません（1レコード" +
         decimal(static_cast<std::int64_t>(fieldsPerRecord)) + u"項目）：";
}

Text wrongFieldCount(std::int64_t line, std::int64_t fields) {
  return u"\r" + decimal(line) + u"行目：" + decimal(fields) + u"項目";
}

Text unclosedQuote(std::int64_t line, std::int64_t field) {
  return u"\r" + decimal(line) + u"行目：" + decimal(field) + u"項目目の\"が閉じていません";
}

Text textAfterQuote(std::int64_t line, std::int64_t fields) {
  return u"\r" + decimal(line) + u"行目：" + decimal(fields) +
         u"項目（\"で閉じた値の後に文字が続いています）";
}

Text moreRecords(std::int64_t count) { return u"\rほか" + decimal(count) + u"件"; }

Text templateMissing(const Text& path) {
  return u"検索ページのテンプレート（search.mvo）が見つかりません：" + path;
}

Text withoutSearchPage(const Text& why) { return why + u"\r検索ページなしで変換を続けます。"; }

Text searchFieldSet(const Text& field) {
  return u"検索対象ﾌｨｰﾙﾄﾞを【" + field + u"】に設定しました。ﾌｧｲﾙのsaveを実行してください。";
}

Text parentNameNotSavable(const Text& name) {
  return u"親要素名「" + name + u"」はXMLの要素名に使えません。親要素名を入力し直してから保存して下さい！";
}

Text cannotSave(char32_t c, const Text& what) {
  return cannotHoldInShiftJis(c) + u"\r（" + what + u"）\r何も保存していません。";
}

Text savedPageIn(const Text& pagePath) { return u"保存しました！\r検索ページの保存先：" + pagePath; }

Text notReplaced(const Text& path) {
  return u"同名ファイルがあるため保存しませんでした（上書きするには --yes を付けて下さい）：" + path;
}

const Bilingual kCliHelp = {
    u"使い方:\n"
    u"  orvessa                    ウィンドウを開きます\n"
    u"  orvessa convert 入力.txt --parent 親要素 --fields 要素1,要素2,... [オプション]\n"
    u"                             ウィンドウと同じ手順でテキストファイルをXMLに変換して保存します\n"
    u"                             （ウィンドウは開きません。メッセージは標準エラーに出ます）\n"
    u"\n"
    u"オプション:\n"
    u"  --parent 名前              親要素（ルート要素）の名前\n"
    u"  --fields A,B,C             要素1〜の名前（1〜9個、カンマ区切り）\n"
    u"  --web-db                   WEB_DB作成：検索ページ XmlSearchTemp.htm も保存します\n"
    u"  --search-field 名前        検索対象ﾌｨｰﾙﾄﾞ（--fields の名前のひとつ、--web-db と一緒に）\n"
    u"  --output 文書.xml          XML文書の保存先（省略時はテキストファイルの隣の .xml）\n"
    u"  --yes                      同名ファイルを上書きします（省略時は上書きせずに終了します）\n"
    u"  -h, --help                 この説明を表示します\n"
    u"  -v, --version              版を表示します\n"
    u"\n"
    u"終了コード: 0 保存しました / 1 入力・名前を受け付けなかった、または書き込めなかった / 2 引数の誤り\n",
    u"Usage:\n"
    u"  orvessa                    open the window\n"
    u"  orvessa convert INPUT.txt --parent NAME --fields A,B,C [options]\n"
    u"                             convert a text file to XML and save it, by the window's own steps\n"
    u"                             (no window opens; its messages go to standard error)\n"
    u"\n"
    u"Options:\n"
    u"  --parent NAME              the parent (root) element's name\n"
    u"  --fields A,B,C             the field elements' names (1 to 9, separated by commas)\n"
    u"  --web-db                   WEB_DB mode: save the search page XmlSearchTemp.htm too\n"
    u"  --search-field NAME        the field to search on (one of --fields, with --web-db)\n"
    u"  --output FILE.xml          where the XML document goes (default: beside the input, as .xml)\n"
    u"  --yes                      replace a file of the same name (default: replace nothing and stop)\n"
    u"  -h, --help                 show this help\n"
    u"  -v, --version              show the version\n"
    u"\n"
    u"Exit status: 0 saved / 1 input or a name refused, or a file not written / 2 usage error\n"};

Text pageNotSaved(const Text& xmlPath, const FileError& error) {
  return u"XML文書は保存しました：" + xmlPath + u"\r検索ページは保存できませんでした。" + fileProblem(error);
}

}  // namespace orv::msg
