// Loading, the file list and the header step. The field counting, the line rule and "a refused file
// changes nothing" over arbitrary files are checked by fuzz/load_field_count.cpp; these are the cases
// its oracle does not reach.
#include "app/Messages.h"
#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/Workbooks.h"

namespace orv {
namespace {

TEST(LoadCommand, CountsPastSixteenBitsReadsRelativePathsFromTheProgramFolderAndEndsSilentlyOnAMissingFile) {
  Harness h;
  putTemplate(h);
  Text big, wide;
  for (int i = 0; i < 40000; ++i) big += u"\"v\",\"w\"\r\n";
  for (int i = 0; i < 20; ++i) wide += u"\"x\",";
  h.disk.put(u"/data/big.txt", big);
  h.disk.put(u"/data/wide.txt", wide + u"\r\n");
  load(h, u"/data/big.txt");
  EXPECT_TEXT_EQ(h.f().text(kStatusLine), u"行数は40000行です。");
  load(h, u"/data/wide.txt");
  EXPECT_EQ(h.f().fieldCount, 21) << "the empty field after the last comma";
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{u"要素が9個以上になります！対応していません！"});
  h.f().textEdited(kParentNameBox, u"items");
  h.f().click(kConvertButton);  // open, but it stops without a word on more than nine fields
  EXPECT_EQ(h.dialogs.texts().size(), 1u);
  EXPECT_TEXT_EQ(h.f().workingText(), wide + u"\r\n");
  EXPECT_FALSE(h.f().enabled(kSaveButton));
  h.disk.put(u"/opt/orvessa/sample.Txt", u"\"a\",\"b\",\"c\"\r\n");  // ".Txt" is a text file name too
  h.pointer.changes.clear();
  load(h, u"sample.Txt", u"5");
  EXPECT_EQ(h.f().fieldCount, 5);
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(h.f().background(fieldNameBox(i)), i < 5 ? kTextBackground : 0x000000u) << i;
  EXPECT_EQ(h.f().focus(), kParentNameBox);
  EXPECT_EQ(h.pointer.changes, (std::vector<bool>{true, false}));
  // A missing file ends the load silently after emptying the text and closing the boxes.
  name(h, u"items", {u"code"});
  h.f().headerStep();
  load(h, u"/data/gone.txt", u"3");
  EXPECT_EQ(h.dialogs.texts().size(), 1u);
  EXPECT_TEXT_EQ(h.f().workingText(), u"");
  EXPECT_TRUE(h.f().headerArmed && !h.f().enabled(fieldNameBox(0)) && h.f().enabled(kLoadButton));
  EXPECT_TEXT_EQ(h.f().text(fieldNameBox(0)), u"code") << "names typed stay";
  // Semicolons read as one field a line: the separators read are named. Tabs show in the status line.
  h.disk.put(u"/data/semi.txt", u"\"a\";\"b\"\r\n\"c\";\"d\"\r\n");
  h.disk.put(u"/data/tabs.txt", u"a\tb\r\n");
  h.f().textEdited(kFieldCountBox, u"");
  load(h, u"/data/semi.txt");
  EXPECT_TRUE(h.f().fieldCount == 1 && contains(h.dialogs.texts().back(), u"セミコロン（;）"));
  h.disk.putBytes(u"/data/utf16.txt", std::string("\xff\xfe"
                                                  "a\0\t\0b\0\r\0\n\0",
                                                  12));
  h.disk.putBytes(u"/data/utf8.txt", "\xc3\xa9,b\r\n");
  for (const auto& [file, status] : {std::pair{u"tabs", u"（タブ区切り）"},
                                     {u"utf16", u"（UTF-16、タブ区切り）"},
                                     {u"utf8", u"（UTF-8）"},
                                     {u"semi", u""}}) {
    load(h, u"/data/" + Text(file) + u".txt");
    EXPECT_TEXT_EQ(h.f().text(kStatusLine),
                   u"行数は" + Text(file == Text(u"semi") ? u"2" : u"1") + u"行です。" + status);
  }
}

TEST(LoadAndFileChoice, AFileThatCannotBeTakenIsRefusedByOkAndByTheFileListAlikeAndChangesNothing) {
  using namespace std::string_literals;
  const Text kept = u"何も変更していません。";
  struct Row {
    const char* what;
    std::string bytes;
    FileError::Kind error;
    Text message;
    int ways = 3;  ///< 1: by OK, 2: in the list, 3: both
    Text name = u"bad.txt";
  };
  const Text notText = u"ﾃｷｽﾄﾌｧｲﾙを指定してください。それ以外のﾌｧｲﾙは「確認」ﾎﾞﾀﾝで開いてください。";
  const std::string compound = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"s + std::string(504, '\0');
  const Text control =
      u"XMLに入れられない制御文字を含むファイルです：/data/bad.txt\r1行目に制御文字 0x0B "
      u"があります。取り除いてから読み込んでください。";
  // OK takes an unreadable or missing file as missing and loads an empty one; the list reads a binary
  // file's first line only.
  // clang-format off
  const Row rows[] = {
      {"UTF-8 with a control character", "\"\xe6\x9d\xb1\x0b\",\"x\"\r\n", FileError::Kind::None, control + kept},
      {"a control character", "\"a\x0b\",\"b\"\r\n", FileError::Kind::None, control + kept},
      {"bytes that are not Shift_JIS", "\"ok\x85\x40\"\r\n", FileError::Kind::None,
       u"Shift_JISのテキストとして読めないファイルです：/data/bad.txt\r1行目のバイト 0x85 0x40 を読み込めません。" + kept},
      {"UTF-8 with its mark, then a byte UTF-8 lacks", "\xef\xbb\xbf\"\xff\"\r\n", FileError::Kind::None,
       u"UTF-8のテキストとして読めないファイルです：/data/bad.txt\r1行目のバイト 0xFF を読み込めません。" + kept},
      {"UTF-16 without its mark", "\"\0a\0\"\0\r\0\n\0"s, FileError::Kind::None,
       u"バイト順マーク（BOM）のないUTF-16のファイルです：/data/bad.txt\rBOM付きのUTF-16、UTF-8、Shift_JISのどれかで保存し直してください。" + kept},
      {"a UTF-8 line, then Shift_JIS", "\"\xe6\x9d\xb1\"\r\n\"\x93\x8c\"\r\n", FileError::Kind::None,
       u"UTF-8とShift_JISが混ざったファイルです：/data/bad.txt\r1行目まではUTF-8ですが、2行目からUTF-8として読めません。ひとつの文字コードで保存し直してください。" + kept, 1},
      {"a binary file", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), FileError::Kind::None,
       u"テキストファイルではありません（0x00 のバイトを含むバイナリファイルです）：/data/bad.txt\r" + kept, 1},
      {"a named pipe", "", FileError::Kind::NotRegular,
       u"通常のファイルではないため読み込めません（フォルダ、名前付きパイプ、デバイスなど）：/data/bad.txt\r" + kept},
      {"memory runs out", "\"a\"\r\n", FileError::Kind::TooLarge,
       u"ファイルが大きすぎて読み込めません：/data/bad.txt\r使えるメモリが足りません。" + kept},
      {"unreadable", "\"a\"\r\n", FileError::Kind::Unreadable,
       u"ファイルを読み込めません：/data/bad.txt（アクセスが許可されていません）", 2},
      {"gone from the folder", "", FileError::Kind::NotFound, u"ファイルが見つかりません：/data/bad.txt", 2},
      {"empty", "", FileError::Kind::None, u"空のファイルです：/data/bad.txt\r読み込むデータがありません。", 2},
      {"a name not ending in .txt or .csv", "\"a\"\r\n", FileError::Kind::None, notText, 1, u"bad.tsv"},
      {"another extension", "\"a\"\r\n", FileError::Kind::None, notText, 1, u"bad.dat"},
      {"a password-protected workbook", compound + "E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0"s, FileError::Kind::None,
       u"パスワードで保護されたブックのため読み込めません：/data/bad.xlsx\r保護を解除して保存し直してから選んでください。" + kept, 3, u"bad.xlsx"},
      {"a workbook of the old format", compound, FileError::Kind::None,
       u"古い形式（.xls）のブックは読み込めません：/data/bad.xls\r「Excel ブック（*.xlsx）」の形式で保存し直してください。" + kept, 3, u"bad.xls"},
      {"a workbook with a control character", test::workbookOf("<row r=\"3\"><c r=\"B3\" t=\"inlineStr\"><is><t>_x0007_</t></is></c></row>"),
       FileError::Kind::None, u"XMLに入れられない制御文字を含むブックです：/data/bad.xlsx\rセル B3 に制御文字 U+0007 があります。取り除いてから選んでください。" + kept, 3, u"bad.xlsx"},
      {"a text file named as a workbook", "\"a\"\r\n", FileError::Kind::None,
       u"Excelブック（.xlsx）として読めないファイルです：/data/bad.xlsx\r" + kept, 3, u"bad.xlsx"},
  };
  // clang-format on

  for (const Row& row : rows) {
    for (bool chosen : {false, true}) {
      if (!(row.ways & (chosen ? 2 : 1))) continue;
      SCOPED_TRACE(std::string(row.what) + (chosen ? ", chosen in the list" : ", loaded with OK"));
      Harness h;
      h.disk.put(u"/data/good.txt", u"\"a\",\"b\"\r\n");
      load(h, u"/data/good.txt");
      h.f().folderChange(u"/data");
      if (row.error != FileError::Kind::NotFound) h.disk.putBytes(u"/data/" + row.name, row.bytes);
      if (row.error != FileError::Kind::None) h.disk.readErrors[u"/data/" + row.name] = row.error;
      if (!chosen) h.f().textEdited(kPathBox, u"/data/" + row.name);
      const Snapshot before = snapshot(h.f());
      chosen ? h.f().fileChoice(row.name) : h.f().loadCommand();
      EXPECT_EQ(before.str(), snapshot(h.f()).str());
      EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{row.message});
      EXPECT_TRUE(h.opener.opened.empty() && !h.f().busy());
    }
  }
}

TEST(FileChoice, OffersTheFieldsOfTheFirstRecordAndOpensALineWithoutAUsableCountInItsApplication) {
  struct Row {
    const char* what;
    Text firstLine;
    Text offered;  ///< empty: refused and opened in its application
    Text folder = u"/data";
  };
  const Row rows[] = {
      {"two quotes", u"\"a\"", u"1"},
      {"a value left open: the fields up to it", u"\"a\",\"b", u"2"},
      {"quoted only where needed, with a doubled quote", u"1,\"5\"\" disk, 2枚\",x,", u"4"},
      {"a saved document's declaration", u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>", u"1"},
      {"a file in the root folder", u"\"a\"", u"1", u"/"},
      {"no quote: the fields of the line, as a spreadsheet writes them", u"a,b,c", u"3"},
      {"tabs and a comma outside quotes: comma-separated", u"a\tb,c\t\"d\"", u"2"},
      {"tab-separated", u"a\tb c\t\"d\"", u"3"},
      {"full-width quotes only: no quote", u"＂a＂,＂b＂", u"2"},
      {"a blank line", u"  ", u""},
      {"twenty fields", Text(19, u','), u""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    const Text path = (row.folder == u"/" ? Text() : row.folder) + u"/f.txt";
    h.disk.put(path, row.firstLine + u"\r\n\"x\",\"y\",\"z\"\r\n");
    h.f().folderChange(row.folder);
    h.f().fileChoice(u"f.txt");
    EXPECT_TEXT_EQ(h.f().text(kPathBox), path);
    EXPECT_TEXT_EQ(h.f().workingText(), row.firstLine) << "the first line only";
    EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), row.offered);
    const bool refused = row.offered.empty();
    EXPECT_EQ(h.f().enabled(kLoadButton), !refused);
    EXPECT_EQ(h.dialogs.texts(),
              std::vector<Text>(refused, u"変換出来ない形式です！「確認」ボタンで開きます！"));
    EXPECT_EQ(h.opener.opened, std::vector<Text>(refused, path));
  }
}

TEST(FileChoice, InWebDbModeReturnsTheWindowToNormalModeAndOnePressEntersWebDbModeWithTheNewNames) {
  Harness h;
  convertFile(h, u"/data/items.txt", u"\"A1\",\"Pen\"\r\n", u"items", {u"code", u"title"});
  h.f().click(kModeButton);
  const auto mode = [&f = h.f()] {
    return std::tuple(f.modeValue, f.text(kModeButton), f.visible(kSearchFieldFrame), f.comboItems());
  };
  h.disk.put(u"/data/next.txt", u"\"a\",\"b\",\"c\"\r\n");
  h.f().folderChange(u"/data");
  h.f().fileChoice(u"next.txt");
  EXPECT_EQ(mode(), std::tuple(kNormalMode, Text(u"通常"), false, std::vector<Text>{}));
  EXPECT_FALSE(h.f().enabled(kSaveButton)) << "a first line is no document to save";
  h.f().click(kLoadButton);
  name(h, u"next", {u"x", u"y", u"z"});
  h.f().click(kModeButton);
  EXPECT_EQ(mode(), std::tuple(kWebDbMode, Text(u"WEB_DB作成"), true, std::vector<Text>{u"x", u"y", u"z"}));
  h.f().click(kCancelButton);
  EXPECT_EQ(mode(), std::tuple(kNormalMode, Text(u"通常"), false, std::vector<Text>{})) << "Cancel too";
}

// A workbook goes every way a text file goes: previewed in the list, loaded by OK with its header row,
// converted and saved beside itself; the status line names its sheet.
TEST(Workbook, ChosenInTheListLoadedConvertedAndSavedAsATextFileIs) {
  Harness h;
  putTemplate(h);
  test::WorkbookParts book(
      "名簿",
      R"(<row><c t="inlineStr"><is><t>氏名</t></is></c><c t="inlineStr"><is><t>年齢</t></is></c></row>)"
      R"(<row><c t="inlineStr"><is><t>山田 "太郎"</t></is></c><c><v>42</v></c></row>)"
      R"(<row><c t="inlineStr"><is><t>鈴木</t></is></c></row></sheetData>)");
  book.sheets.push_back({"Sheet2", "</sheetData>"});
  book.sheets.push_back({"Sheet3", "</sheetData>"});
  h.disk.putBytes(u"/data/名簿.XLSX", book.bytes());
  h.f().folderChange(u"/data");
  h.f().fileChoice(u"名簿.XLSX");
  EXPECT_TEXT_EQ(h.f().workingText(), u"\"氏名\",\"年齢\"");
  EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), u"2");
  h.f().click(kLoadButton);
  EXPECT_TEXT_EQ(h.f().text(kStatusLine), u"行数は3行です。（シート「名簿」、ほか2シート）");
  EXPECT_TEXT_EQ(h.dialogs.texts().at(0), msg::headerQuestion({u"氏名", u"年齢"}));
  EXPECT_TEXT_EQ(h.f().text(fieldNameBox(1)), u"年齢");
  h.f().textEdited(kParentNameBox, u"名簿");
  h.f().click(kConvertButton);
  h.f().click(kSaveButton);
  const Text xml = h.disk.textOf(u"/data/名簿.xml");
  EXPECT_TRUE(contains(xml, u"<氏名>山田 \"太郎\"</氏名><年齢>42</年齢>")) << toUtf8(xml);
  EXPECT_TRUE(contains(xml, u"<氏名>鈴木</氏名><年齢></年齢>")) << toUtf8(xml);
  EXPECT_FALSE(contains(xml, u"<氏名>氏名</氏名>"));
}

TEST(FileBrowser, ListsListFilesADriveThatCannotBeReadLeavesTheFolderAndANamedPathIsOpenedOrRefused) {
  Harness h;
  for (const char16_t* name : {u"a.txt", u"b.XML", u"c.htm", u"d.xhtm", u"e.html", u"f.csv", u"g.TxT",
                               u"h.xml.bak", u"i.xlsx", u"j.XLS", u"mytxt"})
    h.disk.put(Text(u"/data/") + name, u"x");
  h.f().folderChange(u"/data");
  EXPECT_EQ(h.f().fileList, (std::vector<Text>{u"a.txt", u"b.XML", u"c.htm", u"d.xhtm", u"f.csv", u"g.TxT",
                                               u"i.xlsx", u"j.XLS"}));

  h.disk.driveList.push_back(u"/media/cd");
  h.f().driveChange(u"/media/cd");
  EXPECT_TEXT_EQ(h.f().folder, u"/data");
  EXPECT_TRUE(h.f().fileList.size() == 8u && h.dialogs.shown.empty());
  h.f().driveChange(u"/mnt/usb");
  EXPECT_TEXT_EQ(h.f().folder, u"/mnt/usb");

  // A path named at start-up: a list is chosen on its own drive, a folder entered; anything else is said.
  h.disk.put(u"/mnt/usb/list.csv", u"\"a\",\"b\"\r\n");
  h.disk.put(u"/data/notes.pdf", u"x");
  struct Case {
    const char16_t *path, *folder, *drive, *said;
  };
  for (const Case& c :
       {Case{u"/mnt/usb/list.csv", u"/mnt/usb", u"/mnt/usb", nullptr},
        Case{u"/data", u"/data", u"/", nullptr}, Case{u"/data/gone.txt", u"/data", u"/", u"gone.txt"},
        Case{u"/data/notes.pdf", u"/data", u"/", u".xlsx"}}) {
    h.dialogs.shown.clear();
    h.f().openFile(c.path);
    EXPECT_TEXT_EQ(h.f().folder, c.folder);
    EXPECT_TEXT_EQ(h.f().drive, c.drive);
    EXPECT_EQ(h.dialogs.texts().size(), c.said ? 1u : 0u) << toUtf8(c.path);
    if (c.said) {
      EXPECT_NE(h.dialogs.texts()[0].find(c.said), Text::npos) << toUtf8(h.dialogs.texts()[0]);
    }
  }
  EXPECT_TEXT_EQ(h.f().text(kPathBox), u"/mnt/usb/list.csv");
  EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), u"2");
}

// Names that also occur in the declaration or the placeholder once left a broken declaration or a
// second header. A rename re-arming the header is checked by the save tests.
TEST(HeaderStep, WrapsTheBodyOnceWhateverTheNameAndALoadReArmsItWhole) {
  for (const char* name : {"items", "xml", "1.0", "S", "[user_settei]"}) {
    SCOPED_TRACE(name);
    Harness h;
    h.disk.put(u"/data/a.txt", u"\"a\"\r\n");
    h.f().setWorkingText(u"<mivoxml>\r\nbody\r\n</mivoxml>\r\n\r\n");
    h.f().textEdited(kParentNameBox, T(name));
    h.f().headerStep();
    h.f().headerStep();
    EXPECT_TEXT_EQ(h.f().workingText(), u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<" + T(name) +
                                            u">\r\n<mivoxml>\r\nbody\r\n</mivoxml>\r\n\r\n</" + T(name) +
                                            u">");
    load(h, u"/data/a.txt");
    EXPECT_TRUE(h.f().headerArmed);
    EXPECT_TEXT_EQ(h.f().headerTemplate, kHeaderTemplate);
  }
}

// A change action runs only for a change: code setting a box to the text it holds leaves every control
// as it was (here the convert button, which a conversion turned off).
TEST(ChangeActions, SettingATextBoxToTheTextItAlreadyHoldsRunsNothing) {
  Harness h;
  convertFile(h, u"/data/a.txt", u"\"a\"\r\n", u"p", {u"v"});
  const std::string before = snapshot(h.f()).str();
  for (const Ctl box : {kFieldCountBox, kParentNameBox}) h.f().setText(box, h.f().text(box));
  EXPECT_EQ(snapshot(h.f()).str(), before);
}

}  // namespace
}  // namespace orv
