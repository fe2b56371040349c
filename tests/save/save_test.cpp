// Saving: the questions, the document and the search page, and what a refused or failed save leaves.
#include "app/Messages.h"
#include "common/Fakes.h"
#include "common/TextTest.h"
#include "text/Base64.h"
#include "text/Deflate.h"

namespace orv {
namespace {

const Text kAskSave = u"保存しますか？";
const Text kAskOverwrite = u"同名ファイルがあります！上書きしますか？";
const Text kSaved = u"保存しました！";
const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<items>\r\n"
    "<mivoxml>\r\n<code>A1</code><title>Pen</title>\r\n</mivoxml>\r\n\r\n</items>";

/// A window holding the converted text of `path`, with the boxes shown so far forgotten; with the
/// sample flag set (the first-time button pressed and the walk-through declined) when `sample`.
void converted(Harness& h, const Text& path = u"/data/b.txt", bool sample = false) {
  convertFile(h, path, u"\"A1\",\"Pen\"\r\n", u"items", {u"code", u"title"});
  ASSERT_TRUE(h.f().enabled(kSaveButton));
  if (sample) {
    h.dialogs.script.push_back(Answer::Cancel);
    h.f().click(kFirstTimeButton);
  }
  h.dialogs.shown.clear();
}

TEST(Save, AsksBeforeOverwritingKeepsTheXmlPathRenamesTheRootAndNeverSavesALostHeaderOrAPreview) {
  const Text kPreview = u"ファイルの先頭行だけが表示されています。「OK」ボタンでファイル全体を読み込";
  Harness h;
  converted(h);
  h.f().folderChange(u"/data");
  h.f().click(kSaveButton);
  EXPECT_EQ(h.f().fileList, (std::vector<Text>{u"b.txt", u"b.xml"}))
      << "the file list shows the new document";
  h.f().click(kSaveButton);
  EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{kAskSave, kAskSave, kAskOverwrite}));
  EXPECT_TEXT_EQ(h.dialogs.shown[2].caption, u"上書き確認");
  EXPECT_TEXT_EQ(h.f().text(kPathBox), u"/data/b.xml");
  EXPECT_EQ(h.disk.contents[u"/data/b.xml"], kDocument) << "the header went in only once";
  h.f().textEdited(kParentNameBox, u"");
  h.f().textEdited(kParentNameBox, u"shop");
  h.f().click(kSaveButton);
  const std::string saved = h.disk.contents[u"/data/b.xml"];
  EXPECT_TEXT_EQ(fromUtf8(saved), replaceAll(fromUtf8(kDocument), u"items>", u"shop>"));
  // A text that lost its header, or a file choice's first line, is no document to save.
  const Text& text = h.f().workingText();
  h.f().textEdited(kTextView,
                   text.substr(text.find(u"<mivoxml>"), text.rfind(u"</") - text.find(u"<mivoxml>")));
  h.dialogs.shown.clear();
  h.f().click(kSaveButton);
  h.f().fileChoice(u"b.txt");
  h.f().click(kConvertButton);
  h.f().click(kSaveButton);
  EXPECT_EQ(h.dialogs.texts(),
            (std::vector<Text>{
                u"XML宣言とルート要素（親要素）のない文書は保存できません。\r「OK」ボタンでファイルを"
                u"読み込み直し、変換してから保存してください。何も保存していません。",
                kPreview + u"んでから変換してください。", kPreview + u"み、変換してから保存してください。"}));
  EXPECT_TRUE(h.f().enabled(kConvertButton)) << "the button looks as the file choice left it";
  EXPECT_EQ(h.disk.writes, 3);
  h.f().click(kLoadButton);
  h.f().click(kConvertButton);
  h.f().click(kSaveButton);
  EXPECT_EQ(h.disk.contents[u"/data/b.xml"], saved) << "OK read the whole file, which converts as before";
}

TEST(Save, ACancelOrAFailedWriteSaysWhatWasSavedAndKeepsTheOldFilesOnlyWhereTheyWere) {
  const Text kept = u"\r元のファイルはそのままです。";
  const Text pageFailed =
      u"XML文書は保存しました：/data/b.xml\r検索ページは保存できませんでした。"
      u"ファイルを書き込めません：/opt/orvessa/XmlSearchTemp.htm（ディスクに空きがありません）";
  struct Row {
    const char* what;
    Text failing;
    std::vector<Answer> answers;
    std::vector<Text> boxes;
    std::string xmlAfter = "old document";
    bool existing = true;
    bool readOnly = false;
  };
  // clang-format off
  const Row rows[] = {
      {"cancel when asked to save", u"", {Answer::Cancel}, {kAskSave, u"中止しました！"}, "", false},
      {"cancel when asked to overwrite", u"", {Answer::Ok, Answer::Cancel}, {kAskSave, kAskOverwrite}},
      {"a read-only document", u"", {}, {u"読み取り専用のファイルのため保存できません：/data/b.xml" + kept},
       "old document", true, true},
      {"the document", u"/data/b.xml", {},
       {kAskSave, kAskOverwrite, u"ファイルを書き込めません：/data/b.xml（ディスクに空きがありません）" + kept}},
      {"the search page", kPagePath, {}, {kAskSave, kAskOverwrite, pageFailed + kept}, kDocument},
      {"a new search page", kPagePath, {}, {kAskSave, pageFailed}, kDocument, false},
  };
  // clang-format on

  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    converted(h, u"/data/b.txt", true);
    if (row.existing) {
      h.disk.putBytes(u"/data/b.xml", "old document");
      h.disk.putBytes(kPagePath, "old page");
    }
    if (row.readOnly) h.disk.readOnlyFiles.insert(u"/data/b.xml");
    h.disk.failWrites.insert(row.failing);
    h.dialogs.script.assign(row.answers.begin(), row.answers.end());
    h.f().click(kSaveButton);
    EXPECT_EQ(h.dialogs.texts(), row.boxes);
    EXPECT_EQ(h.disk.contents[u"/data/b.xml"], row.xmlAfter);
    EXPECT_EQ(h.disk.contents[kPagePath], row.existing ? "old page" : "");
    EXPECT_TRUE(h.opener.opened.empty() && !h.f().busy());
  }
}

TEST(Save, ADocumentOrParentNameTheFileCannotCarryIsRefusedAndTheCorrectedNameThenSaves) {
  const Text emoji = u"Shift_JISで保存できない文字があります：U+1F600 (😀)\r（";
  const Text badName =
      u"」はXMLの要素名に使えません。\r空白・記号（\" < > & など）を含まない名前、数字で始まらない名前"
      u"にして下さい！\r何も保存していません。";
  const std::pair<Text, Text> rows[] = {
      {u"1st", u"親要素名「1st" + badName},
      {u"", u"親要素名「" + badName},
      {u"店😀",
       u"親要素名「店😀」にShift_JISで保存できない文字があります：U+1F600 "
       u"(😀)\r別の名前にして下さい！\r何も保存していません。"},
      {u"Pen😀", emoji + u"XML文書）\r何も保存していません。"},  // typed into the text, not the name
  };
  for (const auto& [typed, message] : rows) {
    SCOPED_TRACE(toUtf8(typed));
    Harness h;
    converted(h);
    const Text body = h.f().workingText();
    const Text edited = typed == u"Pen😀" ? replaceAll(body, u"Pen", typed) : body;
    h.f().textEdited(kTextView, edited);
    if (edited == body) h.f().textEdited(kParentNameBox, typed);
    h.f().click(kSaveButton);
    EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{message});
    EXPECT_EQ(h.disk.writes, 0);
    EXPECT_TRUE(edited != body || h.f().workingText() == body) << "no header went in";
    h.f().textEdited(kTextView, replaceAll(h.f().workingText(), typed, u"Pen"));
    h.f().textEdited(kParentNameBox, u"items");
    h.f().click(kSaveButton);
    EXPECT_EQ(h.disk.contents[u"/data/b.xml"], kDocument);
  }
}

TEST(Save, TheSearchPageIsWrittenInWebDbModeOrAfterTheFirstTimeButtonAndOpenedInWebDbMode) {
  for (int mode = 0; mode < 4; ++mode) {
    const bool webDb = mode & 1, sample = mode & 2, written = webDb || sample;
    SCOPED_TRACE(mode);
    Harness h;
    converted(h, u"/data/b.txt", sample);
    if (webDb) h.f().click(kModeButton);
    h.f().click(kSaveButton);
    EXPECT_EQ(h.disk.contents[u"/data/b.xml"], kDocument);
    EXPECT_TRUE(contains(h.f().searchPageText, u"<p>/data/b.xml</p>")) << "[xmlfile] is filled in every mode";
    EXPECT_EQ(h.dialogs.texts().back(), written ? kSaved : kAskSave);
    EXPECT_TEXT_EQ(h.disk.textOf(kPagePath), written ? h.f().searchPageText : u"");
    EXPECT_TEXT_EQ(h.f().searchPagePath, written ? kPagePath : u"");
    EXPECT_EQ(h.opener.opened, std::vector<Text>(webDb, kPagePath));
  }
}

// Without a window the body is kept encoded, in pieces, the text already written given back as it goes:
// the files are the window's, byte for byte, for a list of many pieces with escapes and references.
TEST(Save, ABodyKeptEncodedSavesTheWindowsDocumentAndPageAndIsUsedUpByTheSave) {
  std::string list = "\xEF\xBB\xBF";
  for (int i = 0; i < 60000; ++i)
    list += "\"K" + std::to_string(i) + "\",\"名前&<" + std::to_string(i % 97) + ">\",\"𠮷\"\r\n" +
            (i % 5000 ? "" : "\r\n");
  for (const bool webDb : {false, true}) {
    std::string files[2][2];
    for (const bool encoded : {false, true}) {
      Harness h;
      h.disk.put(kTemplatePath, kTestTemplate + u"\r\n<script>[xmldata]</script>");
      h.disk.putBytes(u"/data/big.csv", list);
      h.f().keepDocumentEncoded = encoded;
      load(h, u"/data/big.csv");
      name(h, u"list", {u"code", u"name", u"mark"});
      h.f().click(kConvertButton);
      if (webDb) h.f().click(kModeButton);
      h.f().click(kSaveButton);
      files[encoded][0] = h.disk.contents[u"/data/big.xml"];
      files[encoded][1] = h.disk.contents[kPagePath];
      if (!encoded) continue;
      EXPECT_TRUE(h.f().workingText().find(u"<mivoxml>") == Text::npos) << "the body never stood in UTF-16";
      h.dialogs.shown.clear();
      h.f().click(kSaveButton);
      EXPECT_EQ(h.dialogs.texts().front(), Text(msg::kNothingToSave)) << "a second save writes no empty body";
    }
    EXPECT_GT(files[0][0].size(), 4000000u);
    EXPECT_TRUE(files[0][0] == files[1][0] && files[0][1] == files[1][1]) << webDb;
    EXPECT_NE(files[1][0].find(encodeCp932(u"<name>名前&amp;&lt;5&gt;</name><mark>&#x20BB7;</mark>").bytes),
              std::string::npos);
  }
}

TEST(Save, AResavedDocumentIsTheOneThePageCarriesUnderTheFirstDocumentsPath) {
  Harness h;
  h.disk.put(kTemplatePath, kTestTemplate + u"\r\n<script>[xmldata]</script>");
  converted(h);
  h.f().click(kModeButton);
  h.f().click(kSaveButton);
  h.f().textEdited(kTextView, replaceAll(h.f().workingText(), u"Pen", u"Pencil"));
  h.f().textEdited(kPathBox, u"/data/other.txt");
  h.f().click(kSaveButton);

  const std::string second = h.disk.contents[u"/data/other.xml"];
  ASSERT_TRUE(second.find("<title>Pencil</title>") != std::string::npos);
  const Text page = h.disk.textOf(kPagePath);
  EXPECT_TRUE(contains(page, u"<script>" + fromUtf8(base64(*deflateRaw(second))) + u"</script>"));
  EXPECT_TRUE(contains(page, u"<p>/data/b.xml</p>") && !contains(page, u"other"));
  EXPECT_EQ(h.opener.opened, (std::vector<Text>{kPagePath, kPagePath}));
}

}  // namespace
}  // namespace orv
