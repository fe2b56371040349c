#include "app/Messages.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "text/ShiftJis.h"

namespace orv::msg {
namespace {
Language gLanguage = Language::Japanese;

/// The text in the language of the messages.
Text say(TextView ja, TextView en) { return Text(gLanguage == Language::English ? en : ja); }
}  // namespace

Language language() { return gLanguage; }
void setLanguage(Language language) { gLanguage = language; }

Language localeLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value)
      return std::string_view(value).starts_with("ja") ? Language::Japanese : Language::English;
  }
  return Language::English;
}

Text systemReason(int errorNumber) {
  switch (errorNumber) {
    case ENOENT:
      return say(u"ファイルまたはフォルダがありません", u"no such file or folder");
    case EACCES:
    case EPERM:
      return say(u"アクセスが許可されていません", u"permission denied");
    case EISDIR:
      return say(u"フォルダです", u"it is a folder");
    case EBADF:
      return say(u"閉じているか、書き込めません", u"it is closed or cannot be written");
    case ENOSPC:
    case EDQUOT:
      return say(u"ディスクに空きがありません", u"no space left on the disk");
    case ENAMETOOLONG:
      return say(u"名前が長すぎます", u"name too long");
    case EROFS:
      return say(u"読み取り専用のファイルシステムです", u"read-only file system");
    default:
      return fromUtf8(std::strerror(errorNumber));
  }
}

Text fieldNameLabel(int i) { return u"要素" + decimal(i + 1); }

namespace {
Text unreadableBytes(const FileError& e) {
  if (e.binary)
    return say(u"テキストファイルではありません（0x00 のバイトを含むバイナリファイルです）：",
               u"Not a text file (it holds 0x00 bytes, as binary files do): ") +
           e.path + say(u"\r何も変更していません。", u"\rNothing was changed.");
  if (e.utf16WithoutMark)
    return say(u"バイト順マーク（BOM）のないUTF-16のファイルです：",
               u"A UTF-16 file without a byte-order mark: ") +
           e.path +
           say(u"\rBOM付きのUTF-16、UTF-8、Shift_JISのどれかで保存し直してください。何も変更していません。",
               u"\rSave it again as UTF-16 with the mark, as UTF-8 or as Shift_JIS. Nothing was changed.");
  const Text line = decimal(e.line), bytes = hexBytes(e.bytes);
  if (e.mixed) {
    const Text before = decimal(e.line - 1);
    return say(u"UTF-8とShift_JISが混ざったファイルです：", u"The file mixes UTF-8 and Shift_JIS: ") +
           e.path +
           say(u"\r" + before + u"行目まではUTF-8ですが、" + line + u"行目からUTF-8として読めません。" +
                   u"ひとつの文字コードで保存し直してください。何も変更していません。",
               u"\rUp to line " + before + u" it is UTF-8, but from line " + line +
                   u" on it cannot be read as UTF-8. Save it again in one encoding. Nothing was changed.");
  }
  if (e.control)
    return say(u"XMLに入れられない制御文字を含むファイルです：",
               u"The file holds a control character XML cannot carry: ") +
           e.path +
           say(u"\r" + line + u"行目に制御文字 " + bytes +
                   u" があります。取り除いてから読み込んでください。何も変更していません。",
               u"\rLine " + line + u" holds the control character " + bytes +
                   u". Remove it and load the file again. Nothing was changed.");
  const Text encoding = encodingName(e.encoding);
  return say(encoding + u"のテキストとして読めないファイルです：",
             u"The file cannot be read as " + encoding + u" text: ") +
         e.path +
         say(u"\r" + line + u"行目のバイト " + bytes + u" を読み込めません。何も変更していません。",
             u"\rLine " + line + u": the bytes " + bytes + u" cannot be read. Nothing was changed.");
}

Text tooLarge(const FileError& e) {
  // Without a size, memory ran out while the file was being read.
  const Text size = decimal(e.size);
  return say(u"ファイルが大きすぎて読み込めません：", u"The file is too large to load: ") + e.path + u"\r" +
         (e.size > 0 ? say(u"ファイルの大きさは " + size + u" バイトで、", u"It holds " + size + u" bytes; ")
                     : Text()) +
         say(u"使えるメモリが足りません。何も変更していません。",
             u"there is not enough free memory. Nothing was changed.");
}

// A workbook refused: what it is, and what the user can do about it.
Text workbookProblem(const FileError& e) {
  using Problem = WorkbookText::Problem;
  const Text unchanged = say(u"何も変更していません。", u"Nothing was changed.");
  const Text part = fromUtf8(e.part), cell = fromUtf8(e.cell);
  switch (e.workbook) {
    case Problem::Protected:
      return say(u"パスワードで保護されたブックのため読み込めません：",
                 u"The workbook is protected with a password, so it cannot be read: ") +
             e.path +
             say(u"\r保護を解除して保存し直してから選んでください。",
                 u"\rRemove the password, save it and choose it again. ") +
             unchanged;
    case Problem::OldFormat:
      return say(u"古い形式（.xls）のブックは読み込めません：",
                 u"A workbook of the old format (.xls) cannot be read: ") +
             e.path +
             say(u"\r「Excel ブック（*.xlsx）」の形式で保存し直してください。",
                 u"\rSave it again as an \"Excel Workbook (*.xlsx)\". ") +
             unchanged;
    case Problem::TooLarge:
      return say(u"ブックが大きすぎて読み込めません：", u"The workbook is too large to load: ") + e.path +
             say(u"\r部品 " + part + u" を展開すると使えるメモリを超えます。",
                 u"\rIts part " + part + u" inflates beyond the free memory. ") +
             unchanged;
    case Problem::Doctype:
      return say(u"文書型宣言（DTD）を含むブックのため読み込みません：",
                 u"The workbook declares a document type (DTD), so it is not read: ") +
             e.path +
             say(u"\r部品 " + part + u" の実体や外部参照は読まない決まりです。",
                 u"\rEntities and external references in its part " + part + u" are never read. ") +
             unchanged;
    case Problem::BeyondGrid:
      return say(u"シートの大きさ（1,048,576行×16,384列）を超えるセル " + cell + u" があります：",
                 u"The cell " + cell + u" lies beyond the sheet's 1,048,576 rows and 16,384 columns: ") +
             e.path + u"\r" + unchanged;
    case Problem::ControlCharacter:
      return say(u"XMLに入れられない制御文字を含むブックです：",
                 u"The workbook holds a control character XML cannot carry: ") +
             e.path +
             say(u"\rセル " + cell + u" に制御文字 " + describeChar(e.character) +
                     u" があります。取り除いてから選んでください。",
                 u"\rThe cell " + cell + u" holds " + describeChar(e.character) +
                     u". Remove it and choose the file again. ") +
             unchanged;
    case Problem::Broken:
      return say(u"ブックが壊れているため読み込めません：", u"The workbook is damaged and cannot be read: ") +
             e.path + u"\r" + part + (e.reason.empty() ? Text() : u": " + fromUtf8(e.reason)) + u"\r" +
             unchanged;
    case Problem::None:
    case Problem::NotWorkbook:
      break;
  }
  return say(u"Excelブック（.xlsx）として読めないファイルです：",
             u"The file cannot be read as an Excel workbook (.xlsx): ") +
         e.path + u"\r" + unchanged;
}
}  // namespace

Text fileProblem(const FileError& e) {
  auto reason = [&] {
    const Text why = e.errorNumber != 0 ? systemReason(e.errorNumber) : fromUtf8(e.reason);
    return why.empty() ? Text() : say(u"（", u" (") + why + say(u"）", u")");
  };
  switch (e.kind) {
    case FileError::Kind::None:
      return {};
    case FileError::Kind::NotFound:
      return say(u"ファイルが見つかりません：", u"File not found: ") + e.path;
    case FileError::Kind::Unreadable:
      return say(u"ファイルを読み込めません：", u"Cannot read the file: ") + e.path + reason();
    case FileError::Kind::NotShiftJis:
      return unreadableBytes(e);
    case FileError::Kind::Unencodable:
      return cannotHoldInShiftJis(e.character) + say(u"\r保存先：", u"\rSaving to: ") + e.path +
             say(u"\r何も保存していません。", u"\rNothing was saved.");
    case FileError::Kind::Unwritable:
      return say(u"ファイルを書き込めません：", u"Cannot write the file: ") + e.path + reason() +
             (e.replacing ? say(u"\r元のファイルはそのままです。", u"\rThe file there is unchanged.")
                          : Text());
    case FileError::Kind::NotRegular:
      return say(u"通常のファイルではないため読み込めません（フォルダ、名前付きパイプ、デバイスなど）：",
                 u"Not a regular file, so it is not read (a folder, a named pipe, a device or the like): ") +
             e.path + say(u"\r何も変更していません。", u"\rNothing was changed.");
    case FileError::Kind::TooLarge:
      return tooLarge(e);
    case FileError::Kind::ReadOnly:
      return say(u"読み取り専用のファイルのため保存できません：",
                 u"The file is read-only, so it is not replaced: ") +
             e.path + say(u"\r元のファイルはそのままです。", u"\rThe file is unchanged.");
    case FileError::Kind::NotRegularTarget:
      return say(u"通常のファイルではないため書き込めません（フォルダ、名前付きパイプ、デバイスなど）：",
                 u"Not a regular file, so nothing is written there (a folder, a named pipe, a device or the "
                 u"like): ") +
             e.path + say(u"\rそこには何も書き込んでいません。", u"\rNothing was written there.");
    case FileError::Kind::SameAsInput:
      return say(u"保存先は読み込んだテキストファイルそのものです（リンクや別名）：",
                 u"The target is the text file being converted itself (by a link or another name): ") +
             e.path +
             say(u"\rテキストファイルを守るため保存しませんでした。別の名前を指定してください。",
                 u"\rNothing was saved, to keep the text file. Give another name.");
    case FileError::Kind::AppearedMeanwhile:
      return say(u"保存している間に同名ファイルが作られたため、上書きせずに中止しました：",
                 u"A file of that name was made during the save, so the save stopped without replacing "
                 u"it: ") +
             e.path + say(u"\rそのファイルはそのままです。", u"\rThat file is unchanged.");
    case FileError::Kind::Workbook:
      return workbookProblem(e);
  }
  return {};
}

Text notAList(const Text& path) {
  return say(u"一覧のファイル（.txt、.csv、.xlsx）ではないため開きません：",
             u"Not a list file (.txt, .csv, .xlsx), so it is not opened: ") +
         path;
}

Text emptyFile(const Text& path, const Text& sheet) {
  if (!sheet.empty())
    return say(u"シート「" + sheet + u"」にデータがありません：",
               u"The sheet \"" + sheet + u"\" holds no data: ") +
           path + say(u"\r読み込むデータがありません。", u"\rThere is nothing to load.");
  return say(u"空のファイルです：", u"The file is empty: ") + path +
         say(u"\r読み込むデータがありません。", u"\rThere is nothing to load.");
}

Text encodingName(Encoding encoding) {
  return encoding == Encoding::CodePage932 ? u"Shift_JIS" : encoding == Encoding::Utf8 ? u"UTF-8" : u"UTF-16";
}

Text lineCountStatus(std::int64_t lineEnds, char16_t separator, const ReadResult& read) {
  Text source;
  if (!read.sheetName.empty()) {
    source = u"シート「" + read.sheetName + u"」";
    if (read.sheetCount > 1) source += u"、ほか" + decimal(read.sheetCount - 1) + u"シート";
  } else {
    source = read.encoding == Encoding::CodePage932 ? Text() : encodingName(read.encoding);
    if (separator == u'\t') source += (source.empty() ? u"" : u"、") + Text(u"タブ区切り");
  }
  return u"行数は" + decimal(lineEnds) + u"行です。" + (source.empty() ? source : u"（" + source + u"）");
}

Text headerQuestion(const std::vector<Text>& titles) {
  Text shown;
  for (std::size_t i = 0; i < titles.size() && i < 3; ++i) shown += (i ? u", " : u"") + titles[i];
  if (titles.size() > 3) shown += u", …";
  return u"1行目（" + shown +
         u"）を項目名として使いますか？\r「OK」で要素名の欄に入れ、1行目は変換しません。";
}

Text semicolons() {
  return say(
      u"項目の区切りはカンマ（,）かタブです。このファイルの1行目はセミコロン（;）を含むひとつの項目として"
      u"読みました。\rセミコロンで区切ったファイルは、カンマかタブで区切って保存し直してください。",
      u"Fields are separated by commas (,) or tabs. The first line of this file holds semicolons (;) and "
      u"was read as one field.\rSave a semicolon-separated file again with commas or tabs.");
}

Text conversionDoneWithHeader() {
  return say(
      u"変換終了しました！（1行目は項目名として使い、変換していません）\rXMLﾃﾞｰﾀﾍﾞｰｽを作成するには「通常」ﾎﾞﾀ"
      u"ﾝを"
      u"ｸﾘｯｸして\r「WEB_DB」に切り換えてください。",
      u"Converted, the first line left out as the names of the fields.");
}

Text cannotHoldInShiftJis(char32_t c) {
  return say(u"Shift_JISで保存できない文字があります：", u"A character cannot be saved in Shift_JIS: ") +
         describeChar(c);
}

Text parentName() { return say(u"親要素名", u"The parent name"); }

Text fieldName(int i) {
  return say(u"要素" + decimal(i + 1) + u"の名前", u"The name of field " + decimal(i + 1));
}

Text notUsable(const Text& name) {
  return say(name + u"は使用できません。他の名称にして下さい！",
             u"\"" + name + u"\" cannot be used. Choose another name.");
}

Text notAnXmlName(const Text& name, const Text& what) {
  return say(
      what + u"「" + name + u"」はXMLの要素名に使えません。\r" +
          u"空白・記号（\" < > & など）を含まない名前、数字で始まらない名前にして下さい！",
      what + u" \"" + name + u"\" cannot be an XML element name.\r" +
          u"Use a name without blanks or marks (\" < > & and the like) that does not begin with a digit.");
}

Text nameNotWritable(const Text& name, const Text& what, char32_t c) {
  return say(what + u"「" + name + u"」に", what + u" \"" + name + u"\": ") + cannotHoldInShiftJis(c) +
         say(u"\r別の名前にして下さい！", u"\rChoose another name.");
}

Text noRecords() {
  return say(
      u"変換するレコードがありません（テキストが空か、空行だけです）。\r何も変更していません。",
      u"There is no record to convert (the text is empty or holds blank lines only).\rNothing was changed.");
}

namespace {
// "1 field", "3 fields": a count of fields in English.
Text fields(std::int64_t n) { return decimal(n) + (n == 1 ? u" field" : u" fields"); }
}  // namespace

Text recordsOpening(std::size_t fieldsPerRecord) {
  const Text n = decimal(static_cast<std::int64_t>(fieldsPerRecord));
  return say(u"レコードとして読めない行があるため変換できません（1レコード" + n + u"項目）：",
             u"Cannot convert: some lines cannot be read as records of " +
                 fields(static_cast<std::int64_t>(fieldsPerRecord)) + u":");
}

Text wrongFieldCount(std::int64_t line, std::int64_t fields) {
  return say(u"\r" + decimal(line) + u"行目：" + decimal(fields) + u"項目",
             u"\rline " + decimal(line) + u": " + msg::fields(fields));
}

Text unclosedQuote(std::int64_t line, std::int64_t field) {
  return say(u"\r" + decimal(line) + u"行目：" + decimal(field) + u"項目目の\"が閉じていません",
             u"\rline " + decimal(line) + u": the \" of field " + decimal(field) + u" does not close");
}

Text textAfterQuote(std::int64_t line, std::int64_t fields) {
  return say(
      u"\r" + decimal(line) + u"行目：" + decimal(fields) + u"項目（\"で閉じた値の後に文字が続いています）",
      u"\rline " + decimal(line) + u": " + msg::fields(fields) + u" (text follows a value closed by \")");
}

Text moreRecords(std::int64_t count) {
  return say(u"\rほか" + decimal(count) + u"件", u"\rand " + decimal(count) + u" more");
}

Text recordsClosing(bool semicolons) {
  if (semicolons) return u"\r" + msg::semicolons() + say(u"何も変更していません。", u" Nothing was changed.");
  return say(u"\r値の中の\"は\"\"と二つ重ねてください。何も変更していません。",
             u"\rWrite a \" inside a value as \"\". Nothing was changed.");
}

Text templateMissing(const Text& path) {
  return say(u"検索ページのテンプレート（search.mvo）が見つかりません：",
             u"The search page's template (search.mvo) is missing: ") +
         path;
}

Text withoutSearchPage(const Text& why) {
  return why + say(u"\r検索ページなしで変換を続けます。", u"\rThe conversion goes on without a search page.");
}

Text searchFieldSet(const Text& field) {
  return u"検索対象ﾌｨｰﾙﾄﾞを【" + field + u"】に設定しました。ﾌｧｲﾙのsaveを実行してください。";
}

Text cannotSave(char32_t c, const Text& what) {
  return cannotHoldInShiftJis(c) + say(u"\r（", u"\r(") + what + say(u"）", u")") + nothingSaved();
}

Text nothingSaved() { return say(u"\r何も保存していません。", u"\rNothing was saved."); }

Text xmlDocument() { return say(u"XML文書", u"the XML document"); }

Text searchPage() { return say(u"検索ページ", u"the search page"); }

Text savedPageIn(const Text& pagePath) { return u"保存しました！\r検索ページの保存先：" + pagePath; }

Text inLanguage(const Bilingual& text) { return say(text.ja, text.en); }

Text notReplaced(const Text& path) {
  return say(u"同名ファイルがあるため保存しませんでした（上書きするには --yes を付けて下さい）：",
             u"Not saved: a file of that name exists (add --yes to replace it): ") +
         path;
}

Text cliSaved(const Text& xmlPath, std::int64_t records, const Text& pagePath) {
  Text line = say(u"保存しました：", u"Saved ") + xmlPath + say(u"（", u" (") + decimal(records) +
              say(u"件）", records == 1 ? u" record)" : u" records)");
  if (!pagePath.empty()) line += say(u"、検索ページ：", u", search page ") + pagePath;
  return line;
}

Text cliDocumentWithoutPage(const Text& xmlPath) {
  return say(u"XML文書は保存しましたが、テンプレート（search.mvo）がないため検索ページは作成していません：",
             u"The XML document was saved, but no search page was made, for its template (search.mvo) is "
             u"missing: ") +
         xmlPath;
}

Text cliNotSaved(const Text& input) { return say(u"保存していません：", u"Not saved: ") + input; }

Text cliProgress(const Text& input, std::uint64_t bytes, int step) {
  static constexpr TextView ja[] = {u"読み込み中…", u"変換中…", u"保存中…"};
  static constexpr TextView en[] = {u"loading…", u"converting…", u"saving…"};
  const Text megabytes = decimal(static_cast<std::int64_t>(bytes >> 20));
  return input + say(u"（", u" (") + megabytes + say(u" MB）：", u" MB): ") + say(ja[step], en[step]);
}

const Bilingual kCliHelp = {
    u"使い方:\n"
    u"  orvessa                    ウィンドウを開きます\n"
    u"  orvessa ファイル           ウィンドウを開き、そのファイルを選んだ状態にします\n"
    u"  orvessa convert 入力... --parent 親要素 (--fields 要素1,要素2,... | --header) [オプション]\n"
    u"                             ウィンドウと同じ手順でテキストファイルをXMLに変換して保存します\n"
    u"                             （入力は .txt・.csv のテキストか、.xlsx のブックの最初のシート。\n"
    u"                             複数なら順に、それぞれの隣に保存します。- は標準入力）\n"
    u"                             （ウィンドウは開きません。メッセージは標準エラーに出ます）\n"
    u"\n"
    u"オプション:\n"
    u"  --parent 名前              親要素（ルート要素）の名前\n"
    u"  --fields A,B,C             要素1〜の名前（1〜9個、カンマ区切り）\n"
    u"  --header                   1行目を項目名として要素名に使い、変換しません（--fields "
    u"があればそちらの名前）\n"
    u"  --web-db                   WEB_DB作成：検索ページも保存します\n"
    u"  --search-field 名前        検索対象ﾌｨｰﾙﾄﾞ（--fields の名前のひとつ、--web-db と一緒に）\n"
    u"  --page ページ.htm          検索ページの保存先（省略時はウィンドウと同じ XmlSearchTemp.htm）\n"
    u"  --output 文書.xml          XML文書の保存先（省略時は入力の隣の .xml、- なら標準出力）\n"
    u"  --yes                      同名の XML文書と --page のページを上書きします（省略時は上書きせずに\n"
    u"                             終了します）。XmlSearchTemp.htm はウィンドウと同じく常に上書きします\n"
    u"  -q, --quiet                エラーだけを表示します\n"
    u"  -h, --help                 この説明を表示します\n"
    u"  -v, --version              版を表示します\n"
    u"\n"
    u"終了コード（複数の入力では最も悪いもの）: 0 保存しました / 1 入力・名前を受け付けなかった、\n"
    u"または書き込めなかった / 2 引数の誤り\n",
    u"Usage:\n"
    u"  orvessa                    open the window\n"
    u"  orvessa FILE               open the window with FILE chosen in its file list\n"
    u"  orvessa convert INPUT... --parent NAME (--fields A,B,C | --header) [options]\n"
    u"                             convert text files to XML and save them, by the window's own steps\n"
    u"                             (an input: .txt or .csv text, or an .xlsx workbook's first sheet;\n"
    u"                             several are saved one by one, each beside itself; - is standard input)\n"
    u"                             (no window opens; its messages go to standard error)\n"
    u"\n"
    u"Options:\n"
    u"  --parent NAME              the parent (root) element's name\n"
    u"  --fields A,B,C             the field elements' names (1 to 9, separated by commas)\n"
    u"  --header                   the first line names the fields and is not converted\n"
    u"                             (--fields overrides)\n"
    u"  --web-db                   WEB_DB mode: save the search page too\n"
    u"  --search-field NAME        the field to search on (one of --fields, with --web-db)\n"
    u"  --page FILE.htm            where the search page goes (default: the window's XmlSearchTemp.htm)\n"
    u"  --output FILE.xml          where the XML document goes (default: beside the input, as .xml;\n"
    u"                             - for standard output)\n"
    u"  --yes                      replace an XML document or a --page file of the same name (default:\n"
    u"                             replace nothing and stop); XmlSearchTemp.htm is always replaced, as\n"
    u"                             the window does\n"
    u"  -q, --quiet                print errors only\n"
    u"  -h, --help                 show this help\n"
    u"  -v, --version              show the version\n"
    u"\n"
    u"Exit status (the worst of several inputs): 0 saved / 1 input or a name refused, or a file not\n"
    u"written / 2 usage error\n"};

Text pageNotSaved(const Text& xmlPath, const FileError& error) {
  return say(u"XML文書は保存しました：", u"The XML document was saved: ") + xmlPath +
         say(u"\r検索ページは保存できませんでした。", u"\rThe search page could not be saved. ") +
         fileProblem(error);
}

}  // namespace orv::msg
