#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"

namespace orv {
namespace {

const Text kDone =
    u"変換終了しました！XMLﾃﾞｰﾀﾍﾞｰｽを作成するには「通常」ﾎﾞﾀﾝをｸﾘｯｸして\r「WEB_DB」に切り換えてください。";
const Text kThreeFields = u"\"A1\",\"Pen\",\"120\"\r\n\"B2\",\"Ink\",\"300\"\r\n";

Text notAName(const Text& what, const Text& name) {
  return what + u"「" + name +
         u"」はXMLの要素名に使えません。\r空白・記号（\" < > & "
         u"など）を含まない名前、数字で始まらない名前にして下さい！";
}

TEST(Conversion, TheWorkedExampleBecomesExactlyTheElevenLinesOnDisk) {
  Harness h;
  putTemplate(h);
  h.disk.put(u"/data/items.txt", kThreeFields);
  const std::string textBytes = h.disk.contents[u"/data/items.txt"];
  h.f().folderChange(u"/data");
  h.f().fileChoice(u"items.txt");
  ASSERT_TEXT_EQ(h.f().text(kFieldCountBox), u"3");
  h.f().click(kLoadButton);
  name(h, u"items", {u"code", u"title", u"price"});
  h.f().click(kConvertButton);

  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_TEXT_EQ(h.dialogs.shown[0].text, kDone);
  EXPECT_TEXT_EQ(h.dialogs.shown[0].caption, u"Orvessa108");
  EXPECT_EQ(h.dialogs.shown[0].buttons, Buttons::Ok);
  EXPECT_FALSE(h.f().enabled(kConvertButton));
  EXPECT_TRUE(h.f().enabled(kSaveButton));
  EXPECT_TRUE(h.f().enabled(kModeButton));

  h.f().click(kSaveButton);
  EXPECT_EQ(h.disk.contents[u"/data/items.xml"],
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
            "<items>\r\n"
            "<mivoxml>\r\n"
            "<code>A1</code><title>Pen</title><price>120</price>\r\n"
            "</mivoxml>\r\n"
            "\r\n"
            "<mivoxml>\r\n"
            "<code>B2</code><title>Ink</title><price>300</price>\r\n"
            "</mivoxml>\r\n"
            "\r\n"
            "</items>");
  EXPECT_EQ(h.disk.contents[u"/data/items.txt"], textBytes) << "the text file is never touched";
  EXPECT_TEXT_EQ(h.f().text(kPathBox), u"/data/items.xml");
}

TEST(Conversion, RefusedNamesStopTheRunBeforeAnythingChanges) {
  struct Row {
    const char* what;
    Text parent;
    std::vector<Text> fields;
    Text message;  ///< empty: the run ends without a word
    bool convertEnabledAfter;
  };
  const std::vector<Text> good = {u"code", u"title", u"price"};
  const Row rows[] = {
      {"empty parent name", u"", good, u"", true},
      {"the record element's name as parent", u"mivoxml", good,
       u"mivoxmlは使用できません。他の名称にして下さい！", false},
      {"an enabled field box left empty", u"items", {u"code", u"", u"price"}, u"", true},
      {"a parent starting with a digit", u"1items", good, notAName(u"親要素名", u"1items"), true},
      {"a parent with a trailing blank", u"mivoxml ", good, notAName(u"親要素名", u"mivoxml "), true},
      {"a field name holding a double quote",
       u"items",
       {u"code", u"ti\"tle", u"price"},
       notAName(u"要素2の名前", u"ti\"tle"),
       true},
      {"a field name with markup",
       u"items",
       {u"code", u"title", u"a<b"},
       notAName(u"要素3の名前", u"a<b"),
       true},
      {"a field name Shift_JIS cannot hold",
       u"items",
       {u"code", u"title\U0001F600", u"price"},
       u"要素2の名前「title\U0001F600」にShift_JISで保存できない文字があります：U+1F600 (\U0001F600)\r別の名前にして下さい！",
       true},
      {"a field named like the record element",
       u"items",
       {u"mivoxml", u"title", u"price"},
       u"mivoxmlは使用できません。他の名称にして下さい！",
       true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    putTemplate(h);
    h.disk.put(u"/data/items.txt", kThreeFields);
    load(h, u"/data/items.txt");
    name(h, row.parent, row.fields);
    ASSERT_TRUE(h.f().enabled(kConvertButton));
    Snapshot expected = snapshot(h.f());
    expected.controls[index(kConvertButton)].enabled = row.convertEnabledAfter;

    h.f().click(kConvertButton);

    EXPECT_EQ(differences(expected, snapshot(h.f())), "");
    if (row.message.empty()) {
      EXPECT_TRUE(h.dialogs.shown.empty());
    } else {
      ASSERT_EQ(h.dialogs.shown.size(), 1u);
      EXPECT_TEXT_EQ(h.dialogs.shown[0].text, row.message);
      EXPECT_TEXT_EQ(h.dialogs.shown[0].caption, u"Orvessa108");
    }
  }
}

TEST(Conversion, ACapitalisedRecordElementNameIsAnOrdinaryParentName) {
  Harness h;
  convertFile(h, u"/data/items.txt", kThreeFields, u"Mivoxml", {u"code", u"title", u"price"});
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{kDone});
  EXPECT_TRUE(h.f().enabled(kSaveButton));
}

TEST(Conversion, AFieldCountOutsideOneToNineLeavesTheTextAndStopsSilently) {
  Text twenty;
  for (int i = 0; i < 20; ++i) twenty += u"\"x\",";
  struct Row {
    const char* what;
    Text content;
    Text typedCount;  ///< "05" passes the box but not the range, so the fields are counted
    Text textAfter;
  };
  const Row rows[] = {
      {"twenty fields", twenty + u"\r\n", u"05", twenty + u"\r\n"},
      {"no quote at all", u"plain, text\r\n", u"", u"plain, text\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    putTemplate(h);
    h.disk.put(u"/data/odd.txt", row.content);
    load(h, u"/data/odd.txt", row.typedCount);
    ASSERT_TRUE(h.f().enabled(kConvertButton));
    h.f().textEdited(kParentNameBox, u"items");
    h.dialogs.shown.clear();

    h.f().click(kConvertButton);

    EXPECT_TRUE(h.dialogs.shown.empty());
    EXPECT_TEXT_EQ(h.f().workingText(), row.textAfter);
    EXPECT_TEXT_EQ(h.f().searchPageText, kTestTemplate + u"\r\n") << "the template, no row filled";
    EXPECT_FALSE(h.f().enabled(kConvertButton));
    EXPECT_FALSE(h.f().enabled(kSaveButton));
    EXPECT_FALSE(h.f().enabled(kModeButton));
  }
}

TEST(Conversion, CommasInsideValuesStayAndMarkupCharactersAreEscapedInTheSavedDocument) {
  Harness h;
  convertFile(h, u"/data/shop.txt",
              u"\"1,000\",\"東京都, 港区\"\r\n"
              u"\"A&B\",\"<b>x</b>\"\r\n",
              u"shop", {u"price", u"住所"});
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{kDone});
  h.f().click(kSaveButton);
  EXPECT_TEXT_EQ(h.disk.textOf(u"/data/shop.xml"),
                 u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<shop>\r\n"
                 u"<mivoxml>\r\n<price>1,000</price><住所>東京都, 港区</住所>\r\n</mivoxml>\r\n\r\n"
                 u"<mivoxml>\r\n<price>A&amp;B</price><住所>&lt;b&gt;x&lt;/b&gt;</住所>\r\n</mivoxml>\r\n\r\n"
                 u"</shop>");
}

TEST(Conversion, ARecordThatCannotBeWrittenRefusesTheConversionAndChangesNothing) {
  Harness h;
  putTemplate(h);
  h.disk.put(u"/data/short.txt", u"\"a\",\"b\"\r\n\"c\",\"d\"\r\n\"e\"\r\n\"f\"g,\"h\"\r\n");
  load(h, u"/data/short.txt", u"2");
  name(h, u"list", {u"x", u"y"});
  const Snapshot before = snapshot(h.f());

  h.f().click(kConvertButton);

  EXPECT_EQ(differences(before, snapshot(h.f())), "");
  EXPECT_EQ(h.dialogs.texts(),
            (std::vector<Text>{u"レコードとして読めない行があるため変換できません（1レコード2項目）：\r"
                               u"3行目：1項目\r4行目：2項目（\"で閉じた値の後に文字が続いています）\r"
                               u"値の中の\"は\"\"と二つ重ねてください。何も変更していません。"}));
}

TEST(Conversion, ANameLeftInABoxTheLoadDisabledChangesNeitherTheRecordsNorThePage) {
  Harness h;
  putTemplate(h);
  h.disk.put(u"/data/wide.txt", u"\"1\",\"2\",\"3\",\"4\"\r\n");
  load(h, u"/data/wide.txt");
  name(h, u"old", {u"w", u"x", u"y", u"z"});
  h.disk.put(u"/data/items.txt", u"\"A1\",\"Pen\"\r\n\"B2\",\"Ink\"\r\n");
  load(h, u"/data/items.txt");
  ASSERT_FALSE(h.f().enabled(fieldNameBox(3)));
  ASSERT_TEXT_EQ(h.f().text(fieldNameBox(3)), u"z");
  name(h, u"items", {u"code", u"title"});

  h.f().click(kConvertButton);

  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{kDone});
  EXPECT_TEXT_EQ(h.f().workingText(),
                 u"<mivoxml>\r\n<code>A1</code><title>Pen</title>\r\n</mivoxml>\r\n\r\n"
                 u"<mivoxml>\r\n<code>B2</code><title>Ink</title>\r\n</mivoxml>\r\n\r\n");
  EXPECT_NE(
      h.f().searchPageText.find(u"<TR STYLE='background-color:cyan'><TD>code</TD><TD>title</TD></TR>"),
      Text::npos);
}

TEST(Conversion, ASecondConversionOfAConvertedTextIsRefusedBeforeAndAfterASave) {
  const Text kAgain = u"このテキストは既に変換済みです。もう一度変換するにはﾌｧｲﾙを読み込み直してください。";
  Harness h;
  convertFile(h, u"/data/items.txt", kThreeFields, u"items", {u"code", u"title", u"price"});
  for (const char* when : {"before a save", "after a save"}) {
    SCOPED_TRACE(when);
    if (std::string(when) == "after a save") h.f().click(kSaveButton);
    h.f().textEdited(kFieldCountBox, h.f().text(kFieldCountBox) == u"2" ? u"3" : u"2");  // enables 変換実行
    ASSERT_TRUE(h.f().enabled(kConvertButton));
    Snapshot expected = snapshot(h.f());
    expected.controls[index(kConvertButton)].enabled = false;
    h.dialogs.shown.clear();

    h.f().click(kConvertButton);

    EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{kAgain});
    EXPECT_EQ(differences(expected, snapshot(h.f())), "");
  }
}

TEST(Conversion, AnEditedConversionIsStillConvertedAndANewTextCannotBeSavedUntilConverted) {
  Harness h;
  convertFile(h, u"/data/items.txt", kThreeFields, u"items", {u"code", u"title", u"price"});
  h.f().textEdited(kTextView, h.f().workingText() + u"note & more");
  h.f().textEdited(kFieldCountBox, u"2");
  h.dialogs.shown.clear();
  h.f().click(kConvertButton);
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_EQ(h.f().workingText().find(u"&amp;"), Text::npos) << "nothing escaped twice";

  ASSERT_TRUE(h.f().enabled(kSaveButton));
  load(h, u"/data/items.txt", u"3");
  EXPECT_FALSE(h.f().enabled(kSaveButton)) << "a loaded text is no document yet";
}

TEST(Conversion, AMissingOrUnreadableTemplateIsToldAndTheConversionStillCompletes) {
  struct Row {
    const char* what;
    bool present;
    Text why;
  };
  const Row rows[] = {
      {"missing", false, u"検索ページのテンプレート（search.mvo）が見つかりません：/opt/orvessa/search.mvo"},
      {"unreadable", true, u"ファイルを読み込めません：/opt/orvessa/search.mvo（Permission denied）"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    if (row.present) {
      putTemplate(h);
      h.disk.failReads.insert(kTemplatePath);
    }
    h.disk.put(u"/data/items.txt", u"\"A1\",\"Pen\"\r\n");
    load(h, u"/data/items.txt");
    name(h, u"items", {u"code", u"title"});

    h.f().click(kConvertButton);

    EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{row.why + u"\r検索ページなしで変換を続けます。", kDone}));
    EXPECT_TEXT_EQ(h.f().workingText(),
                   u"<mivoxml>\r\n<code>A1</code><title>Pen</title>\r\n</mivoxml>\r\n\r\n");
    EXPECT_TEXT_EQ(h.f().searchPageText, u"");
    EXPECT_TRUE(h.f().enabled(kSaveButton));
    EXPECT_TRUE(h.f().enabled(kModeButton));
  }
}

TEST(Conversion, EveryConversionRebuildsThePageRowsEvenForATextWithoutCommas) {
  Harness h;
  convertFile(h, u"/data/phone.txt", u"\"山田\",\"03-0000-0001\"\r\n", u"book", {u"名前", u"電話"});
  EXPECT_TEXT_EQ(h.f().searchPageText,
                 u"<table>\r\n"
                 u"<TR STYLE='background-color:cyan'><TD>名前</TD><TD>電話</TD></TR>\r\n"
                 u"<TR><TD><SPAN DATAFLD=名前></SPAN></TD><TD><SPAN DATAFLD=電話></SPAN></TD></TR>\r\n"
                 u"</table>\r\n<p>[xmlfile]</p>\r\n<p><search_field>|[kennsaku_field]|[pagesize]</p>\r\n");

  h.disk.put(u"/data/one.txt", u"\"Pen\"\r\n\"Ink\"\r\n");
  load(h, u"/data/one.txt");
  name(h, u"items", {u"title"});
  h.f().click(kConvertButton);
  EXPECT_TEXT_EQ(h.f().searchPageText,
                 u"<table>\r\n"
                 u"<TR STYLE='background-color:cyan'><TD>title</TD></TR>\r\n"
                 u"<TR><TD><SPAN DATAFLD=title></SPAN></TD></TR>\r\n"
                 u"</table>\r\n<p>[xmlfile]</p>\r\n<p><search_field>|[kennsaku_field]|[pagesize]</p>\r\n");
  EXPECT_TEXT_EQ(h.f().workingText(),
                 u"<mivoxml>\r\n<title>Pen</title>\r\n</mivoxml>\r\n\r\n<mivoxml>\r\n<title>Ink</title>\r\n</"
                 u"mivoxml>\r\n\r\n");
}

TEST(Conversion, ALineOfMoreThanAMillionCharactersLoadsCountsAndConvertsWhole) {
  Harness h;
  putTemplate(h);
  const Text huge(1'200'000, u'ｱ');
  h.disk.put(u"/data/long.txt", u"\"a\",\"" + huge + u"\",\"c\"\r\n");
  load(h, u"/data/long.txt", u"9x");  // counted: one line of three fields
  ASSERT_EQ(h.f().fieldCount, 3);
  name(h, u"items", {u"code", u"title", u"price"});
  h.f().click(kConvertButton);
  EXPECT_TEXT_EQ(h.f().workingText(),
                 u"<mivoxml>\r\n<code>a</code><title>" + huge + u"</title><price>c</price>\r\n</mivoxml>\r\n\r\n");
}

}  // namespace
}  // namespace orv
