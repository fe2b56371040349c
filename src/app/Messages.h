#pragma once
// Every text the user reads: the captions the controls start with, the messages, the questions and
// their captions, the status line. Fixed texts are constants; texts with a part that varies are small
// functions. A line break inside a message is a single CR.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Files.h"
#include "text/Text.h"

namespace orv::msg {

/// The language of the messages below that a command line may print: the window's are Japanese; the
/// command line follows the user's locale.
enum class Language { Japanese, English };
Language language();
void setLanguage(Language language);
/// The user's locale's language: the first of LC_ALL, LC_MESSAGES and LANG that is set decides.
Language localeLanguage();

// --- Window and start captions -------------------------------------------------------------------
inline constexpr TextView kAppTitle = u"Orvessa108";
inline constexpr TextView kWindowTitle = u"Orvessa Ver1.08　簡易ﾃﾞｰﾀﾍﾞｰｽHTMLﾌｧｲﾙ自動生成";
/// The line under the buttons that says which build this is.
inline constexpr TextView kCredit = u"Orvessa108 — Linux/Qt版";
/// Above a working text too large to edit.
inline constexpr TextView kLargeTextNotice = u"大きなテキストのため表示のみ（編集不可・400万文字超）";
inline constexpr TextView kLoadButtonTip = u"テキストファイル以外は読みこめません！";
inline constexpr TextView kViewButtonTip = u"htmやxmlファイルはここから開いてください！";
inline constexpr TextView kTextFileFrame = u"ﾃｷｽﾄﾌｧｲﾙ指定";
inline constexpr TextView kTitleLabel = u"簡易データベースHTML自動生成ツール";
inline constexpr TextView kFieldCountLabel = u"ﾌｨｰﾙﾄﾞ数";
inline constexpr TextView kLoadButton = u"OK";
inline constexpr TextView kFirstTimeButton = u"初めての方はｸﾘｯｸ！";
inline constexpr TextView kSearchFieldLabel = u"検索対象ﾌｨｰﾙﾄﾞ選択";
inline constexpr TextView kSearchFieldList = u"Combo1";
inline constexpr TextView kParentNameLabel = u"親要素";
inline constexpr TextView kConvertButton = u"変換実行";
inline constexpr TextView kHowToButton = u"使い方";
inline constexpr TextView kSaveButton = u"Save";
inline constexpr TextView kCancelButton = u"Cancel";
inline constexpr TextView kViewButton = u"確認";
inline constexpr TextView kExitButton = u"終了";
/// The mode button's captions: normal mode, and WEB_DB mode.
inline constexpr TextView kNormalMode = u"通常";
inline constexpr TextView kWebDbMode = u"WEB_DB作成";
/// "要素1" to "要素9": the label of field name box `i` (0 to 8).
Text fieldNameLabel(int i);

// --- Files and folders ---------------------------------------------------------------------------
/// A user-facing description of a file error.
Text fileProblem(const FileError& error);
/// The system's reason for an error number, worded for the common ones.
Text systemReason(int errorNumber);
/// A file with nothing to load; a workbook's empty `sheet` is named.
Text emptyFile(const Text& path, const Text& sheet = {});
/// A file named at start-up that the file list does not show, so it is not opened.
Text notAList(const Text& path);
inline constexpr TextView kCannotConvertFormat = u"変換出来ない形式です！「確認」ボタンで開きます！";
inline constexpr TextView kNotATextFile =
    u"ﾃｷｽﾄﾌｧｲﾙを指定してください。それ以外のﾌｧｲﾙは「確認」ﾎﾞﾀﾝで開いてください。";
/// The name of an encoding as the messages give it: "Shift_JIS", "UTF-8", "UTF-16".
Text encodingName(Encoding encoding);
/// The status line after a load: how many lines the text has and, where they are not Shift_JIS
/// and commas, what it was read as and what separates its fields: "（UTF-16、タブ区切り）"; for a
/// workbook, its sheet and how many more it has: "（シート「名簿」、ほか2シート）".
Text lineCountStatus(std::int64_t lineEnds, char16_t separator, const ReadResult& read);
/// The question whether the first record's values name the fields, showing the first few.
Text headerQuestion(const std::vector<Text>& titles);
inline constexpr TextView kHeaderCaption = u"項目名の確認";
/// A first record of one field that holds semicolons: the separators the tool reads.
Text semicolons();
inline constexpr TextView kTooManyFields = u"要素が9個以上になります！対応していません！";
inline constexpr TextView kNoXmlFile = u"xmlﾌｧｲﾙを指定して下さい．";
inline constexpr TextView kHowToMissing = u"ファイルが見つかりません！";

// --- Names and conversion ------------------------------------------------------------------------
/// The one wording of a character that code page 932 cannot hold, with the character.
Text cannotHoldInShiftJis(char32_t c);
/// How the parent element's name is called in a message.
Text parentName();
/// How a field's element name is called in a message: "要素3の名前" for box 2.
Text fieldName(int i);
Text notUsable(const Text& name);
Text notAnXmlName(const Text& name, const Text& what);
Text nameNotWritable(const Text& name, const Text& what, char32_t c);
inline constexpr TextView kPreviewNotConvertible =
    u"ファイルの先頭行だけが表示されています。"
    u"「OK」ボタンでファイル全体を読み込んでから変換してください。";
/// A text without a single record: blank lines only.
Text noRecords();
inline constexpr TextView kAlreadyConverted =
    u"このテキストは既に変換済みです。もう一度変換するにはﾌｧｲﾙを読み込み直してください。";
/// The message of a text with records that cannot be written: the opening for a writer of
/// `fieldsPerRecord` fields, one line per record shown, the count of those not shown, the closing.
Text recordsOpening(std::size_t fieldsPerRecord);
Text wrongFieldCount(std::int64_t line, std::int64_t fields);
Text unclosedQuote(std::int64_t line, std::int64_t field);
Text textAfterQuote(std::int64_t line, std::int64_t fields);
Text moreRecords(std::int64_t count);
/// What to do about lines that are not records: how to write a quote, or, for a semicolon-separated
/// list, which separators the tool reads.
Text recordsClosing(bool semicolons);
/// The conversion done, the first record left out as the titles that named the fields.
Text conversionDoneWithHeader();
inline constexpr TextView kConversionDone =
    u"変換終了しました！XMLﾃﾞｰﾀﾍﾞｰｽを作成するには「通常」ﾎﾞﾀﾝをｸﾘｯｸして\r「WEB_DB」に切り換えてください。";

// --- Search page ---------------------------------------------------------------------------------
Text templateMissing(const Text& path);
/// Any reason the template could not be read, with the conversion going on.
Text withoutSearchPage(const Text& why);
inline constexpr TextView kNoSearchField = u"検索対象ﾌｨｰﾙﾄﾞが設定されていません！";
Text searchFieldSet(const Text& field);

// --- Saving --------------------------------------------------------------------------------------
inline constexpr TextView kPreviewNotSavable =
    u"ファイルの先頭行だけが表示されています。"
    u"「OK」ボタンでファイル全体を読み込み、変換してから保存してください。";
/// The end of every save refusal: "\r何も保存していません。"
Text nothingSaved();
/// A save refused for a character of `what`: the document, the page or the parent name.
Text cannotSave(char32_t c, const Text& what);
Text xmlDocument();
Text searchPage();
inline constexpr TextView kNothingToSave = u"ﾌｧｲﾙを選択し、XML変換を行ってください！";
inline constexpr TextView kNoHeader =
    u"XML宣言とルート要素（親要素）のない文書は保存できません。\r"
    u"「OK」ボタンでファイルを読み込み直し、変換してから保存してください。何も保存していません。";
inline constexpr TextView kSaveQuestion = u"保存しますか？";
inline constexpr TextView kSaveCaption = u"保存確認";
inline constexpr TextView kCancelled = u"中止しました！";
inline constexpr TextView kOverwriteQuestion = u"同名ファイルがあります！上書きしますか？";
inline constexpr TextView kOverwriteCaption = u"上書き確認";
inline constexpr TextView kSavedWithoutPage =
    u"保存しました！\r検索ページのテンプレートがなかったため、検索ページは作成していません。";
Text pageNotSaved(const Text& xmlPath, const FileError& error);
inline constexpr TextView kSaved = u"保存しました！";
/// Saved, the page in a folder other than the program's.
Text savedPageIn(const Text& pagePath);

// --- The command line ---------------------------------------------------------------------------
/// A text of the command line in Japanese and in English, for a user whose locale is not Japanese.
struct Bilingual {
  TextView ja;
  TextView en;
};
/// The text in the language of the messages.
Text inLanguage(const Bilingual& text);
/// The overwrite question answered no, because the command line was not told to replace files.
Text notReplaced(const Text& path);
/// The one line of a command that saved: the document, its records and the page when one was written.
Text cliSaved(const Text& xmlPath, std::int64_t records, const Text& pagePath);
/// The document saved in WEB_DB mode, but no page (its template was missing).
Text cliDocumentWithoutPage(const Text& xmlPath);
extern const Bilingual kCliHelp;
inline constexpr Bilingual kCliUsageLine = {
    u"使い方: orvessa convert 入力... --parent 親要素 (--fields 要素1,要素2,... | --header) [--web-db "
    u"--search-field 要素 [--page ページ.htm]] [--output 文書.xml|-] [--yes] [--quiet]",
    u"Usage: orvessa convert INPUT... --parent NAME (--fields A,B,C | --header) [--web-db --search-field B "
    u"[--page FILE.htm]] [--output FILE.xml|-] [--yes] [--quiet]"};
inline constexpr Bilingual kCliSeeHelp = {u"使い方は orvessa --help で表示します。",
                                          u"Run orvessa --help for usage."};
inline constexpr Bilingual kCliNoCommand = {u"コマンドは convert だけです：",
                                            u"The only command is convert: "};
inline constexpr Bilingual kCliNoInput = {u"変換するテキストファイルを指定してください。",
                                          u"Name a text file to convert."};
inline constexpr Bilingual kCliUnknownOption = {u"知らないオプションです：", u"Unknown option: "};
inline constexpr Bilingual kCliMissingValue = {u"値がありません：", u"A value is missing after "};
inline constexpr Bilingual kCliNoValue = {u"値を取らないオプションです：", u"The option takes no value: "};
inline constexpr Bilingual kCliStdinOutput = {
    u"標準入力（-）から読むときは、--output で保存先を指定してください（標準出力なら --output -）。",
    u"Reading standard input (-) needs --output FILE.xml (or --output - for standard output)."};
inline constexpr Bilingual kCliOneInput = {
    u"--output と --page は入力がひとつのときだけ使えます（複数のときはそれぞれの隣に保存します）。",
    u"--output and --page take a single input (several inputs are each saved beside themselves)."};
inline constexpr Bilingual kCliPage = {
    u"--page には .htm または .html で終わるファイル名を、--web-db と一緒に指定してください。",
    u"--page takes a file name ending in .htm or .html, with --web-db."};
inline constexpr Bilingual kCliStandardInput = {u"標準入力", u"standard input"};
inline constexpr Bilingual kCliStandardOutput = {u"標準出力", u"standard output"};
/// The last line about an input of several that was not saved.
Text cliNotSaved(const Text& input);
/// The line on a terminal while a large input goes through its steps (0 load, 1 conversion, 2 save).
Text cliProgress(const Text& input, std::uint64_t bytes, int step);
inline constexpr Bilingual kCliNames = {
    u"--parent に親要素名、--fields に要素名を1〜9個、カンマで区切って指定してください（--header なら1行目の"
    u"項目名を使います）。",
    u"Give the parent element's name with --parent and 1 to 9 field names, separated by commas, with "
    u"--fields (or --header to take them from the first line)."};
inline constexpr Bilingual kCliSearchField = {
    u"--web-db と --search-field は一緒に指定し、検索対象ﾌｨｰﾙﾄﾞは --fields の名前のひとつにしてください。",
    u"--web-db and --search-field go together, and the search field is one of the --fields names."};
inline constexpr Bilingual kNoDisplay = {
    u"orvessa: ウィンドウを表示する画面がありません（DISPLAY が設定されていません）。画面なしでは "
    u"\"orvessa convert\" を使ってください（\"orvessa --help\" を参照）。",
    u"orvessa: no display to show the window on (DISPLAY is not set); without a window, use \"orvessa "
    u"convert\" (see \"orvessa --help\")."};
inline constexpr Bilingual kCliNoCurrentFolder = {
    u"現在のフォルダの場所をシステムから得られない（深すぎる）ため、相対パスは使えません。絶対パスで指定して"
    u"ください：",
    u"The current folder's location cannot be had from the system (it is too deep), so a relative path "
    u"cannot be used; give an absolute path: "};
inline constexpr Bilingual kCliEmptyName = {u"空の名前は使えません（--parent、--fields の各名前）。",
                                            u"A name cannot be empty (--parent, and each of --fields)."};
inline constexpr Bilingual kCliInputKind = {
    u"入力には .txt または .csv のテキストファイルか、.xlsx のブックを指定してください：",
    u"The input is a text file ending in .txt or .csv, or a workbook ending in .xlsx: "};
inline constexpr Bilingual kCliOutput = {u"--output には .xml で終わるファイル名か - を指定してください。",
                                         u"--output takes a file name ending in .xml, or -."};

// --- The guided sample ---------------------------------------------------------------------------
inline constexpr TextView kSampleQuestion =
    u"一体何が出来るツールか分からない方へ\rサンプル自動実行を用意しました。\rご覧になりますか？？";
inline constexpr TextView kSampleCaption = u"確認";
inline constexpr TextView kSampleNames = u"次に各要素を設定します。";
inline constexpr TextView kSampleConvert = u"次に「変換実行」をｸﾘｯｸしてXMLへの変換が開始されます。";

}  // namespace orv::msg
