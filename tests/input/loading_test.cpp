#include "common/Fakes.h"
#include "common/TextTest.h"

namespace orv {
namespace {

Text threeFieldFile(int lines) {
  Text t;
  for (int i = 0; i < lines; ++i) t += u"\"a" + decimal(i) + u"\",\"住所\",\"ｱｲｳ\"\r\n";
  return t;
}

TEST(FieldCountBox, KeepsOnlyNumbersFromOneToNineAndEnablesOk) {
  struct Row {
    const char* typed;
    const char* kept;
  };
  const Row rows[] = {{"0", ""}, {"10", ""}, {"abc", ""}, {"-3", ""}, {"9.5", ""},
                      {"1", "1"}, {"9", "9"}, {"2x", "2x"}, {"05", "05"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.typed);
    Harness h;
    h.f().textEdited(kFieldCountBox, T(row.typed));
    EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), T(row.kept));
    EXPECT_EQ(h.f().enabled(kLoadButton), !std::string(row.kept).empty());
    EXPECT_FALSE(h.f().enabled(kConvertButton)) << "no working text yet";
  }
}

TEST(LoadCommand, RefusesAPathThatDoesNotEndInTxtAndChangesNothing) {
  for (const char* path : {"/data/a.Txt", "/data/a.csv", "tx", ""}) {
    SCOPED_TRACE(path);
    Harness h;
    h.f().textEdited(kPathBox, T(path));
    Snapshot before = snapshot(h.f());
    h.f().loadCommand();
    EXPECT_EQ(differences(before, snapshot(h.f())), "");
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_TEXT_EQ(h.dialogs.shown[0].text,
                   u"ﾃｷｽﾄﾌｧｲﾙを指定してください。それ以外のﾌｧｲﾙは「確認」ﾎﾞﾀﾝで開いてください。");
    EXPECT_TEXT_EQ(h.dialogs.shown[0].caption, u"Orvessa108");
  }
}

TEST(LoadCommand, AcceptsUpperCaseTxtAndANameEndingInTxtWithoutADot) {
  for (const char* path : {"/data/A.TXT", "/data/mytxt"}) {
    SCOPED_TRACE(path);
    Harness h;
    h.disk.put(T(path), threeFieldFile(2));
    h.f().textEdited(kPathBox, T(path));
    h.f().loadCommand();
    EXPECT_EQ(h.f().fieldCount, 3);
    EXPECT_TRUE(h.dialogs.shown.empty());
  }
}

TEST(LoadCommand, TakesTheFieldCountFromTheBoxWithoutCountingAndReadsRelativePaths) {
  Harness h;
  h.disk.put(u"/opt/orvessa/sample.txt", threeFieldFile(4));
  h.f().textEdited(kPathBox, u"sample.txt");
  h.f().textEdited(kFieldCountBox, u"5");
  h.f().loadCommand();
  EXPECT_EQ(h.f().fieldCount, 5);
  EXPECT_EQ(h.f().lineCount, 4);
  EXPECT_TEXT_EQ(h.f().text(kStatusLine), u"") << "no count, no status line";
  EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), u"5");
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(h.f().enabled(fieldNameBox(i)), i < 5) << i;
    EXPECT_EQ(h.f().enabled(fieldNameLabel(i)), i < 5) << i;
    EXPECT_EQ(h.f().background(fieldNameBox(i)), i < 5 ? kTextBackground : 0x000000u) << i;
  }
  EXPECT_EQ(h.f().focus(), kParentNameBox);
  EXPECT_TRUE(h.f().enabled(kConvertButton));
  EXPECT_FALSE(h.f().enabled(kLoadButton));
  EXPECT_EQ(h.pointer.changes, (std::vector<bool>{true, false}));
}

TEST(LoadCommand, StoresEveryLineWithCrLfByTheLineRule) {
  Harness h;
  h.disk.putBytes(u"/data/x.txt", std::string("\"a\"\r\"b\"\n\"c\"\r\n\"d\""));
  h.f().textEdited(kPathBox, u"/data/x.txt");
  h.f().loadCommand();
  EXPECT_TEXT_EQ(h.f().workingText(), u"\"a\"\r\n\"b\"\n\"c\"\r\n\"d\"\r\n");
  EXPECT_EQ(h.f().lineCount, 3);
  EXPECT_EQ(h.f().fieldCount, 1) << "8 quotes over 3 line ends: 1.33 rounds to 1";
  EXPECT_TEXT_EQ(h.f().text(kStatusLine), u"行数は3行です。");
}

TEST(LoadCommand, CountsFieldsWhenTheBoxFailsTheStringRange) {
  Harness h;
  h.disk.put(u"/data/x.txt", threeFieldFile(3));
  h.f().textEdited(kPathBox, u"/data/x.txt");
  h.f().textEdited(kFieldCountBox, u"05");
  h.f().loadCommand();
  EXPECT_EQ(h.f().fieldCount, 3);
  EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), u"");
  EXPECT_TEXT_EQ(h.f().text(kStatusLine), u"行数は3行です。");
  EXPECT_TRUE(h.f().enabled(kConvertButton));
}

TEST(LoadCommand, CountsPastSixteenBitsAndShowsTheTrueLineCount) {
  Harness h;
  Text big;
  for (int i = 0; i < 40000; ++i) big += u"\"v\",\"w\"\r\n";
  h.disk.put(u"/data/big.txt", big);
  h.f().textEdited(kPathBox, u"/data/big.txt");
  h.f().loadCommand();
  EXPECT_EQ(h.f().fieldCount, 2);
  EXPECT_EQ(h.f().lineCount, 40000);
  EXPECT_TEXT_EQ(h.f().text(kStatusLine), u"行数は40000行です。");
}

TEST(LoadCommand, RefusesMoreThanNineFieldsWithItsMessage) {
  Harness h;
  Text line;
  for (int i = 0; i < 20; ++i) line += u"\"x\",";
  h.disk.put(u"/data/wide.txt", line + u"\r\n");
  h.f().textEdited(kPathBox, u"/data/wide.txt");
  h.f().textEdited(kFieldCountBox, u"05");  // passes the box, fails the string range: fields are counted
  h.f().loadCommand();
  EXPECT_EQ(h.f().fieldCount, 20);
  EXPECT_TEXT_EQ(h.f().text(kFieldCountBox), u"");
  EXPECT_FALSE(h.f().enabled(kLoadButton));
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{u"要素が9個以上になります！対応していません！"});
  for (int i = 0; i < 9; ++i) EXPECT_FALSE(h.f().enabled(fieldNameBox(i)));
  EXPECT_TRUE(h.f().enabled(kConvertButton));
  EXPECT_FALSE(h.f().busy());
}

TEST(LoadCommand, MissingFileEndsSilentlyAfterEmptyingAndDisablingTheBoxes) {
  Harness h;
  h.disk.put(u"/data/x.txt", threeFieldFile(2));
  h.f().textEdited(kPathBox, u"/data/x.txt");
  h.f().loadCommand();
  h.f().textEdited(kParentNameBox, u"items");
  h.f().textEdited(fieldNameBox(0), u"code");
  h.f().headerStep();
  h.f().textEdited(kPathBox, u"/data/gone.txt");
  h.f().textEdited(kFieldCountBox, u"3");
  h.f().loadCommand();
  EXPECT_TRUE(h.dialogs.shown.empty());
  EXPECT_TEXT_EQ(h.f().workingText(), u"");
  EXPECT_TRUE(h.f().headerArmed);
  EXPECT_TEXT_EQ(h.f().headerTemplate, u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<[user_settei]>\r\n");
  for (int i = 0; i < 9; ++i) EXPECT_FALSE(h.f().enabled(fieldNameBox(i)));
  EXPECT_TEXT_EQ(h.f().text(fieldNameBox(0)), u"code") << "names typed stay";
  EXPECT_TRUE(h.f().enabled(kLoadButton));
  EXPECT_FALSE(h.f().busy());
}

TEST(LoadCommand, EmptyFileLoadsWithTheBoxCountButEndsAtTheDivisionWhenCounting) {
  Harness h;
  h.disk.put(u"/data/empty.txt", u"");
  h.f().textEdited(kPathBox, u"/data/empty.txt");
  h.f().textEdited(kFieldCountBox, u"2");
  h.f().loadCommand();
  EXPECT_EQ(h.f().fieldCount, 2);
  EXPECT_TRUE(h.f().enabled(fieldNameBox(1)));
  EXPECT_TRUE(h.f().enabled(kLoadButton)) << "empty working text keeps OK usable";

  Harness counting;
  counting.disk.put(u"/data/empty.txt", u"");
  counting.f().textEdited(kPathBox, u"/data/empty.txt");
  counting.f().loadCommand();
  EXPECT_EQ(counting.f().fieldCount, 0);
  EXPECT_FALSE(counting.f().enabled(fieldNameBox(0)));
  EXPECT_FALSE(counting.f().enabled(kConvertButton));
  EXPECT_FALSE(counting.f().busy());
}

TEST(LoadCommand, FileWithoutQuotesGivesNoFieldButEnablesConversion) {
  Harness h;
  h.disk.put(u"/data/plain.txt", u"no quotes here\r\n");
  h.f().textEdited(kPathBox, u"/data/plain.txt");
  h.f().loadCommand();
  EXPECT_EQ(h.f().fieldCount, 0);
  EXPECT_FALSE(h.f().enabled(fieldNameBox(0)));
  EXPECT_TRUE(h.f().enabled(kConvertButton));
}

TEST(LoadCommand, RefusesBytesThatAreNotShiftJisWithAMessageAndChangesNothing) {
  Harness h;
  h.disk.put(u"/data/ok.txt", threeFieldFile(2));
  h.f().textEdited(kPathBox, u"/data/ok.txt");
  h.f().loadCommand();
  h.disk.putBytes(u"/data/utf8.txt", "\"\xe6\x9d\xb1\xe4\xba\xac\",\"x\"\r\n");
  h.f().textEdited(kPathBox, u"/data/utf8.txt");
  h.f().textEdited(kFieldCountBox, u"2");
  Snapshot before = snapshot(h.f());
  h.f().loadCommand();
  EXPECT_EQ(differences(before, snapshot(h.f())), "");
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_NE(h.dialogs.shown[0].text.find(u"UTF-8"), Text::npos);
  EXPECT_NE(h.dialogs.shown[0].text.find(u"/data/utf8.txt"), Text::npos);

  h.disk.putBytes(u"/data/bad.txt", "\"ok\"\r\n\"\x87\x40\xa0\x81\"\r\n");
  h.f().textEdited(kPathBox, u"/data/bad.txt");
  h.f().loadCommand();
  ASSERT_EQ(h.dialogs.shown.size(), 2u);
  EXPECT_NE(h.dialogs.shown[1].text.find(u"2行目"), Text::npos);
  EXPECT_NE(h.dialogs.shown[1].text.find(u"0xA0"), Text::npos);
  EXPECT_TEXT_EQ(h.f().workingText(), before.controls[index(kTextView)].text);

  h.disk.putBytes(u"/data/image.txt", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  h.f().textEdited(kPathBox, u"/data/image.txt");
  h.f().loadCommand();
  ASSERT_EQ(h.dialogs.shown.size(), 3u);
  EXPECT_NE(h.dialogs.shown[2].text.find(u"バイナリ"), Text::npos);
  EXPECT_TEXT_EQ(h.f().workingText(), before.controls[index(kTextView)].text);
}

TEST(LoadCommand, AFileThatCannotBeTakenWholeIsRefusedByOkAndByTheFileListAlikeAndChangesNothing) {
  struct Row {
    const char* what;
    std::string bytes;
    FileError::Kind error;
    bool outOfMemory;
    Text message;
  };
  const Row rows[] = {
      {"a control character", "\"a\x0b\",\"b\"\r\n", FileError::Kind::None, false,
       u"XMLに入れられない制御文字を含むファイルです：/data/bad.txt\r1行目に制御文字 0x0B "
       u"があります。取り除いてから読み込んでください。何も変更していません。"},
      {"a named pipe", "", FileError::Kind::NotRegular, false,
       u"通常のファイルではないため読み込めません（フォルダ、名前付きパイプ、デバイスなど）：/data/"
       u"bad.txt\r何も変更していません。"},
      {"memory runs out", "\"a\"\r\n", FileError::Kind::None, true,
       u"ファイルが大きすぎて読み込めません：/data/"
       u"bad.txt\r使えるメモリが足りません。何も変更していません。"},
  };
  for (const Row& row : rows) {
    for (bool chosen : {false, true}) {
      SCOPED_TRACE(std::string(row.what) + (chosen ? ", chosen in the list" : ", loaded with OK"));
      Harness h;
      h.disk.put(u"/data/good.txt", threeFieldFile(2));
      h.f().textEdited(kPathBox, u"/data/good.txt");
      h.f().loadCommand();
      h.f().folderChange(u"/data");
      h.disk.putBytes(u"/data/bad.txt", row.bytes);
      if (row.error != FileError::Kind::None) h.disk.readErrors[u"/data/bad.txt"] = row.error;
      if (row.outOfMemory) h.disk.outOfMemory.insert(u"/data/bad.txt");
      if (!chosen) h.f().textEdited(kPathBox, u"/data/bad.txt");
      const Snapshot before = snapshot(h.f());

      chosen ? h.f().fileChoice(u"bad.txt") : h.f().loadCommand();

      EXPECT_EQ(differences(before, snapshot(h.f())), "");
      EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{row.message});
      EXPECT_FALSE(h.f().busy());
    }
  }
}

}  // namespace
}  // namespace orv
