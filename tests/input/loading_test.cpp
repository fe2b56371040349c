// The field counting, the line rule and "a refused file changes nothing" over arbitrary files are
// checked by fuzz/load_field_count.cpp; these are the cases its oracle does not reach.
#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"

namespace orv {
namespace {

TEST(LoadCommand, TakesOnlyAPathEndingInTxtOrCsvAndOtherwiseChangesNothing) {
  for (const char* path :
       {"/data/a.Txt", "/data/a.Csv", "", "/data/A.TXT", "/data/mytxt", "/data/a.csv", "/data/B.CSV"}) {
    SCOPED_TRACE(path);
    Harness h;
    h.disk.put(T(path), u"\"a\",\"b\"\r\n");
    h.f().textEdited(kPathBox, T(path));
    const Snapshot before = snapshot(h.f());
    h.f().loadCommand();
    const std::string p = path;
    if (p.ends_with("TXT") || p.ends_with("txt") || p.ends_with("csv") || p.ends_with("CSV")) {
      EXPECT_EQ(h.f().fieldCount, 2);
      EXPECT_TRUE(h.dialogs.shown.empty());
      continue;
    }
    EXPECT_EQ(differences(before, snapshot(h.f())), "");
    EXPECT_EQ(
        h.dialogs.texts(),
        std::vector<Text>{u"ﾃｷｽﾄﾌｧｲﾙを指定してください。それ以外のﾌｧｲﾙは「確認」ﾎﾞﾀﾝで開いてください。"});
  }
}

TEST(LoadCommand, ReadsARelativePathFromTheProgramFolderAndOpensAsManyBoxesAsTheTypedCount) {
  Harness h;
  h.disk.put(u"/opt/orvessa/sample.txt", u"\"a\",\"b\",\"c\"\r\n");
  load(h, u"sample.txt", u"5");
  EXPECT_EQ(h.f().fieldCount, 5);
  EXPECT_TEXT_EQ(h.f().text(kStatusLine), u"") << "no count, no status line";
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(h.f().background(fieldNameBox(i)), i < 5 ? kTextBackground : 0x000000u) << i;
  EXPECT_EQ(h.f().focus(), kParentNameBox);
  EXPECT_EQ(h.pointer.changes, (std::vector<bool>{true, false}));
}

TEST(LoadCommand, CountsPastSixteenBitsAndTellsMoreThanNineFields) {
  Harness h;
  Text big, wide;
  for (int i = 0; i < 40000; ++i) big += u"\"v\",\"w\"\r\n";
  for (int i = 0; i < 20; ++i) wide += u"\"x\",";
  h.disk.put(u"/data/big.txt", big);
  h.disk.put(u"/data/wide.txt", wide + u"\r\n");
  load(h, u"/data/big.txt");
  EXPECT_TEXT_EQ(h.f().text(kStatusLine), u"行数は40000行です。");
  load(h, u"/data/wide.txt");
  EXPECT_EQ(h.f().fieldCount, 20);
  EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{u"要素が9個以上になります！対応していません！"});
  EXPECT_TRUE(h.f().enabled(kConvertButton));
}

TEST(LoadCommand, AMissingFileEndsSilentlyAfterEmptyingTheTextAndClosingTheBoxes) {
  Harness h;
  h.disk.put(u"/data/x.txt", u"\"a\",\"b\"\r\n");
  load(h, u"/data/x.txt");
  name(h, u"items", {u"code"});
  h.f().headerStep();
  load(h, u"/data/gone.txt", u"3");
  EXPECT_TRUE(h.dialogs.shown.empty());
  EXPECT_TEXT_EQ(h.f().workingText(), u"");
  EXPECT_TRUE(h.f().headerArmed);
  EXPECT_FALSE(h.f().enabled(fieldNameBox(0)));
  EXPECT_TEXT_EQ(h.f().text(fieldNameBox(0)), u"code") << "names typed stay";
  EXPECT_TRUE(h.f().enabled(kLoadButton));
}

TEST(LoadAndFileChoice, AFileThatCannotBeTakenIsRefusedByOkAndByTheFileListAlikeAndChangesNothing) {
  const Text kept = u"何も変更していません。";
  struct Row {
    const char* what;
    std::string bytes;
    FileError::Kind error;
    Text message;
    int ways = 3;  ///< 1: by OK, 2: in the list, 3: both (OK takes an unreadable or missing file as
                   ///< missing and loads an empty one; the list reads a binary file's first line only)
  };
  const Row rows[] = {
      {"UTF-8 with a control character", "\"\xe6\x9d\xb1\x0b\",\"x\"\r\n", FileError::Kind::None,
       u"XMLに入れられない制御文字を含むファイルです：/data/bad.txt\r1行目に制御文字 0x0B "
       u"があります。取り除いてから読み込んでください。" +
           kept},
      {"bytes that are not Shift_JIS", "\"ok\x85\x40\"\r\n", FileError::Kind::None,
       u"Shift_JISのテキストとして読めないファイルです：/data/bad.txt\r1行目のバイト 0x85 0x40 "
       u"を読み込めません。" +
           kept},
      {"a binary file", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), FileError::Kind::None,
       u"テキストファイルではありません（0x00 のバイトを含むバイナリファイルです）：/data/bad.txt\r" + kept,
       1},
      {"a control character", "\"a\x0b\",\"b\"\r\n", FileError::Kind::None,
       u"XMLに入れられない制御文字を含むファイルです：/data/bad.txt\r1行目に制御文字 0x0B "
       u"があります。取り除いてから読み込んでください。" +
           kept},
      {"a named pipe", "", FileError::Kind::NotRegular,
       u"通常のファイルではないため読み込めません（フォルダ、名前付きパイプ、デバイスなど）：/data/"
       u"bad.txt\r" +
           kept},
      {"memory runs out", "\"a\"\r\n", FileError::Kind::TooLarge,
       u"ファイルが大きすぎて読み込めません：/data/bad.txt\r使えるメモリが足りません。" + kept},
      {"unreadable", "\"a\"\r\n", FileError::Kind::Unreadable,
       u"ファイルを読み込めません：/data/bad.txt（Permission denied）", 2},
      {"gone from the folder", "", FileError::Kind::NotFound, u"ファイルが見つかりません：/data/bad.txt", 2},
      {"empty", "", FileError::Kind::None, u"空のファイルです：/data/bad.txt\r読み込むデータがありません。",
       2},
  };
  for (const Row& row : rows) {
    for (bool chosen : {false, true}) {
      if (!(row.ways & (chosen ? 2 : 1))) continue;
      SCOPED_TRACE(std::string(row.what) + (chosen ? ", chosen in the list" : ", loaded with OK"));
      Harness h;
      h.disk.put(u"/data/good.txt", u"\"a\",\"b\"\r\n");
      load(h, u"/data/good.txt");
      h.f().folderChange(u"/data");
      if (row.error != FileError::Kind::NotFound) h.disk.putBytes(u"/data/bad.txt", row.bytes);
      if (row.error != FileError::Kind::None) h.disk.readErrors[u"/data/bad.txt"] = row.error;
      if (!chosen) h.f().textEdited(kPathBox, u"/data/bad.txt");
      const Snapshot before = snapshot(h.f());

      chosen ? h.f().fileChoice(u"bad.txt") : h.f().loadCommand();

      EXPECT_EQ(differences(before, snapshot(h.f())), "");
      EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{row.message});
      EXPECT_TRUE(h.opener.opened.empty());
      EXPECT_FALSE(h.f().busy());
    }
  }
}

}  // namespace
}  // namespace orv
