// The conversion as the window runs it; the records themselves are read and written in records_test.cpp.
#include "common/Fakes.h"
#include "common/TextTest.h"
#include "text/Markup.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

const Text kDone =
    u"変換終了しました！XMLﾃﾞｰﾀﾍﾞｰｽを作成するには「通常」ﾎﾞﾀﾝをｸﾘｯｸして\r「WEB_DB」に切り換えてください。";
const Text kThreeFields = u"\"A1\",\"Pen\",\"120\"\r\n\"B2\",\"Ink\",\"300\"\r\n";
const std::vector<Text> kNames = {u"code", u"title", u"price"};
const Text kDeclaration = u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n";

Text record(const Text& fields) { return u"<mivoxml>\r\n" + fields + u"\r\n</mivoxml>\r\n\r\n"; }

TEST(Conversion, ARefusedNameARecordThatCannotBeWrittenOrASecondConversionChangesNothing) {
  const Text reserved = u"mivoxmlは使用できません。他の名称にして下さい！";
  const Text again = u"このテキストは既に変換済みです。もう一度変換するにはﾌｧｲﾙを読み込み直してください。";
  struct Row {
    const char* what;
    Text text = kThreeFields;
    Text parent = u"items";
    std::vector<Text> fields = kNames;
    Text message = {};  ///< empty: the run ends without a word
    bool convertEnabledAfter = true;
    bool convertedBefore = false;
  };
  // clang-format off
  const Row rows[] = {
      {"empty parent name", kThreeFields, u""},
      {"an enabled field box left empty", kThreeFields, u"items", {u"code", u"", u"price"}},
      {"the record element's name as parent", kThreeFields, u"mivoxml", kNames, reserved, false},
      {"a field named like the record element", kThreeFields, u"items", {u"mivoxml", u"b", u"c"}, reserved},
      {"a parent starting with a digit", kThreeFields, u"1items", kNames, u"親要素名「1items」はXMLの要素名に使えません。"
       u"\r空白・記号（\" < > & など）を含まない名前、数字で始まらない名前にして下さい！"},
      {"a field name Shift_JIS cannot hold", kThreeFields, u"items", {u"a", u"t\U0001F600", u"c"},
       u"要素2の名前「t\U0001F600」にShift_JISで保存できない文字があります：U+1F600 (\U0001F600)\r別の名前にして下さい！"},
      {"records that cannot be written", u"\"a\",\"b\"\r\n\"c\",\"d\"\r\n\"e\"\r\n\"f\"g,\"h\"\r\n", u"list", {u"x", u"y"},
       u"レコードとして読めない行があるため変換できません（1レコード2項目）：\r3行目：1項目\r4行目：2項目（\"で閉じた値"
       u"の後に文字が続いています）\r値の中の\"は\"\"と二つ重ねてください。何も変更していません。"},
      {"a semicolon-separated list", u"\"a\";\"b\"\r\n", u"list", {u"x"},
       u"レコードとして読めない行があるため変換できません（1レコード1項目）：\r1行目：1項目（\"で閉じた値の後に文字が続いています）"
       u"\r項目の区切りはカンマ（,）かタブです。このファイルの1行目はセミコロン（;）を含むひとつの項目として読みました。"
       u"\rセミコロンで区切ったファイルは、カンマかタブで区切って保存し直してください。何も変更していません。"},
      {"a converted text", kThreeFields, u"items", kNames, again, false, true},
      {"blank lines only", u"\r\n \n\u3000\r\n", u"items", kNames, u"変換するレコードがありません（テキストが空か、空行だけです）。\r何も変更していません。"},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    putTemplate(h);
    h.disk.put(u"/data/items.txt", row.text);
    load(h, u"/data/items.txt", decimal(static_cast<std::int64_t>(row.fields.size())));
    name(h, row.parent, row.fields);
    if (row.convertedBefore) {
      h.f().click(kConvertButton);
      h.f().textEdited(kFieldCountBox, u"2");  // enables 変換実行 again
    }
    ASSERT_TRUE(h.f().enabled(kConvertButton));
    Snapshot expected = snapshot(h.f());
    expected.controls[index(kConvertButton)].enabled = row.convertEnabledAfter;
    h.dialogs.shown.clear();
    h.f().click(kConvertButton);
    EXPECT_EQ(expected.str(), snapshot(h.f()).str());
    EXPECT_EQ(h.dialogs.texts(), std::vector<Text>(!row.message.empty(), row.message));
  }
}

TEST(Conversion, OnlyTheOpenBoxesNameTheFieldsAndWithoutATemplateItCompletesButNoPageIsWrittenOverTheLast) {
  Harness h;
  h.disk.putBytes(kPagePath, "earlier page");
  h.disk.put(u"/data/wide.txt", u"\"1\",\"2\",\"3\",\"4\"\r\n");
  load(h, u"/data/wide.txt");
  name(h, u"old", {u"w", u"x", u"y", u"z"});
  h.disk.put(u"/data/items.txt", u"\"A1\",\"Pen\"\r\n");
  load(h, u"/data/items.txt");
  name(h, u"Mivoxml", {u"code", u"title"});  // an ordinary parent may look like the record element
  h.f().click(kConvertButton);
  EXPECT_EQ(h.dialogs.texts(),
            (std::vector<Text>{u"検索ページのテンプレート（search.mvo）が見つかりません：/opt/"
                               u"orvessa/search.mvo\r検索ページなしで変換を続けます。",
                               kDone}));
  EXPECT_TEXT_EQ(h.f().workingText(), record(u"<code>A1</code><title>Pen</title>"));
  h.f().click(kModeButton);
  h.dialogs.shown.clear();
  h.f().click(kSaveButton);
  EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{u"保存しますか？",
                                                  u"保存しました！\r検索ページのテンプレートがなかっ"
                                                  u"たため、検索ページは作成していません。"}));
  EXPECT_TEXT_EQ(
      h.disk.textOf(u"/data/items.xml"),
      kDeclaration + u"<Mivoxml>\r\n" + record(u"<code>A1</code><title>Pen</title>") + u"</Mivoxml>");
  EXPECT_EQ(h.disk.contents[kPagePath], "earlier page");
  EXPECT_TRUE(h.opener.opened.empty());
  load(h, u"/data/items.txt", u"2");
  EXPECT_FALSE(h.f().enabled(kSaveButton)) << "a loaded text is no document yet";
}

TEST(Conversion, ALineOfMoreThanAMillionCharactersLoadsCountsAndConvertsWhole) {
  Harness h;
  putTemplate(h);
  const Text huge(1'200'000, u'ｱ');
  h.disk.put(u"/data/long.txt", u"\"a\",\"" + huge + u"\",\"c\"\r\n");
  load(h, u"/data/long.txt", u"9x");  // counted: one line of three fields
  name(h, u"items", kNames);
  h.f().click(kConvertButton);
  EXPECT_TEXT_EQ(h.f().workingText(), record(u"<code>a</code><title>" + huge + u"</title><price>c</price>"));
}

TEST(Conversion, ExcelsCsvUtf8AndCsvInCodePage932AreChosenCountedConvertedAndSavedWhole) {
  // As Excel writes them: a header row, CR LF, a value quoted only when it holds a comma or a quote,
  // an empty last cell as a trailing comma; "CSV UTF-8" begins with the byte order mark.
  const Text sheet = u"番号,氏名,メモ\r\n1,NAME 太郎,\"5\"\" disk, 2枚\"\r\n2,青木,\r\n";
  const std::pair<std::string, Text> rows[] = {
      {"\xef\xbb\xbf" + toUtf8(replaceAll(sheet, u"NAME", u"\U00020BB7田")), u"\U00020BB7田"},
      {encodeCp932(replaceAll(sheet, u"NAME", u"吉田")).bytes, u"吉田"},
  };
  for (const auto& [bytes, given] : rows) {
    SCOPED_TRACE(toUtf8(given));
    Harness h;
    putTemplate(h);
    h.disk.putBytes(u"/data/名簿.csv", bytes);
    h.f().folderChange(u"/data");
    h.f().fileChoice(u"名簿.csv");
    ASSERT_TEXT_EQ(h.f().text(kFieldCountBox), u"3");
    h.f().click(kLoadButton);  // its first record offered as the names, and taken
    h.f().textEdited(kParentNameBox, u"名簿");
    h.f().click(kConvertButton);
    EXPECT_EQ(h.dialogs.texts(),
              (std::vector<Text>{
                  u"1行目（番号, 氏名, "
                  u"メモ）を項目名として使いますか？\r「OK」で要素名の欄に入れ、1行目は変換しません。",
                  u"変換終了しました！（1行目は項目名として使い、変換していません）\r" + kDone.substr(9)}));
    EXPECT_TRUE(h.f().enabled(kModeButton) && !h.f().enabled(kConvertButton));
    h.f().click(kSaveButton);
    EXPECT_EQ(h.disk.contents[u"/data/名簿.csv"], bytes) << "the text file is never touched";
    EXPECT_TEXT_EQ(h.disk.textOf(u"/data/名簿.xml"),
                   kDeclaration + u"<名簿>\r\n" +
                       record(u"<番号>1</番号><氏名>" + escapeMarkup(given, {.outsideCp932 = true}) +
                              u" 太郎</氏名><メモ>5\" disk, 2枚</メモ>") +
                       record(u"<番号>2</番号><氏名>青木</氏名><メモ></メモ>") + u"</名簿>");
  }
}

}  // namespace
}  // namespace orv
