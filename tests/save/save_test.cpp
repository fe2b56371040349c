#include "common/Fakes.h"
#include "common/TextTest.h"
#include "common/UserSteps.h"
#include "webdb/SearchPage.h"

namespace orv {
namespace {

const Text kAskSave = u"保存しますか？";
const Text kAskOverwrite = u"同名ファイルがあります！上書きしますか？";
const Text kSaved = u"保存しました！";
const std::string kDocument =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<items>\r\n"
    "<mivoxml>\r\n<code>A1</code><title>Pen</title>\r\n</mivoxml>\r\n\r\n</items>";

/// A window holding the converted text of `path`, with the boxes shown so far forgotten.
void converted(Harness& h, const Text& path = u"/data/b.txt") {
  convertFile(h, path, u"\"A1\",\"Pen\"\r\n", u"items", {u"code", u"title"});
  ASSERT_TRUE(h.f().enabled(kSaveButton));
  h.dialogs.shown.clear();
}

/// Presses the first-time button and declines the walk-through: only the sample flag stays.
void setSampleFlag(Harness& h) {
  h.dialogs.script.push_back(Answer::Cancel);
  h.f().click(kFirstTimeButton);
  h.dialogs.shown.clear();
}

TEST(Save, AsksBeforeSavingAndBeforeOverwritingAndASecondSaveKeepsTheXmlPath) {
  Harness h;
  converted(h);
  h.f().folderChange(u"/data");

  h.f().click(kSaveButton);
  ASSERT_EQ(h.dialogs.shown.size(), 1u);
  EXPECT_TEXT_EQ(h.dialogs.shown[0].text, kAskSave);
  EXPECT_TEXT_EQ(h.dialogs.shown[0].caption, u"保存確認");
  EXPECT_EQ(h.dialogs.shown[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(h.disk.contents[u"/data/b.xml"], kDocument);
  EXPECT_TEXT_EQ(h.f().text(kPathBox), u"/data/b.xml");
  EXPECT_EQ(h.f().fileList, (std::vector<Text>{u"b.txt", u"b.xml"}))
      << "the file list shows the new document";

  h.f().click(kSaveButton);
  ASSERT_EQ(h.dialogs.shown.size(), 3u);
  EXPECT_TEXT_EQ(h.dialogs.shown[1].text, kAskSave);
  EXPECT_TEXT_EQ(h.dialogs.shown[2].text, kAskOverwrite);
  EXPECT_TEXT_EQ(h.dialogs.shown[2].caption, u"上書き確認");
  EXPECT_EQ(h.dialogs.shown[2].buttons, Buttons::OkCancel);
  EXPECT_TEXT_EQ(h.f().text(kPathBox), u"/data/b.xml");
  EXPECT_EQ(h.disk.contents[u"/data/b.xml"], kDocument) << "the header went in only once";
  EXPECT_EQ(h.disk.contents.count(u"/data/b.xml.xml"), 0u);
}

TEST(Save, CancelAtEitherQuestionWritesNothingAndLeavesTheXmlPathShowing) {
  struct Row {
    const char* what;
    bool existing;
    std::vector<Answer> answers;
    std::vector<Text> boxes;
  };
  const Row rows[] = {
      {"cancel when asked to save", false, {Answer::Cancel}, {kAskSave, u"中止しました！"}},
      {"cancel when asked to overwrite", true, {Answer::Ok, Answer::Cancel}, {kAskSave, kAskOverwrite}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    converted(h);
    setSampleFlag(h);
    if (row.existing) h.disk.putBytes(u"/data/b.xml", "old document");
    h.dialogs.script.assign(row.answers.begin(), row.answers.end());

    h.f().click(kSaveButton);

    EXPECT_EQ(h.dialogs.texts(), row.boxes);
    EXPECT_EQ(h.disk.writes, 0);
    EXPECT_EQ(h.disk.contents.count(kPagePath), 0u);
    if (row.existing) {
      EXPECT_EQ(h.disk.contents[u"/data/b.xml"], "old document");
    }
    EXPECT_TEXT_EQ(h.f().text(kPathBox), u"/data/b.xml");
    EXPECT_TRUE(contains(h.f().searchPageText, u"[xmlfile]"));
  }
}

TEST(Save, TheDocumentGoesBesideTheTextWithOnlyAFinalTxtReplaced) {
  struct Row {
    Text textPath;
    Text xmlPath;
  };
  const Row rows[] = {
      {u"/data/b.txt", u"/data/b.xml"},
      {u"/data/A.TXT", u"/data/A.xml"},
      {u"/data/x.txt/b.txt", u"/data/x.txt/b.xml"},
      {u"/data/list.txt.txt", u"/data/list.txt.xml"},
      {u"/data/mytxt", u"/data/mytxt.xml"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(toUtf8(row.textPath));
    Harness h;
    h.disk.folderSet.insert(u"/data/x.txt");
    converted(h, row.textPath);
    const std::string textBytes = h.disk.contents[row.textPath];

    h.f().click(kSaveButton);

    EXPECT_TEXT_EQ(h.f().text(kPathBox), row.xmlPath);
    EXPECT_EQ(h.disk.contents[row.xmlPath], kDocument);
    EXPECT_EQ(h.disk.contents[row.textPath], textBytes);
    EXPECT_EQ(h.disk.writes, 1);
  }
}

TEST(Save, AFailedWriteSaysWhatWasSavedAndKeepsTheOldFileOnlyWhereOneWas) {
  const Text kPageFailed =
      u"XML文書は保存しました：/data/b.xml\r検索ページは保存できませんでした。"
      u"ファイルを書き込めません：/opt/orvessa/XmlSearchTemp.htm（No space left on device）";
  struct Row {
    const char* what;
    Text failing;
    std::vector<Text> boxes;
    std::string xmlAfter;
    bool existing = true;
  };
  const Row rows[] = {
      {"the document",
       u"/data/b.xml",
       {kAskSave, kAskOverwrite,
        u"ファイルを書き込めません：/data/b.xml（No space left on device）\r元のファイルはそのままです。"},
       "old document"},
      {"the search page",
       kPagePath,
       {kAskSave, kAskOverwrite, kPageFailed + u"\r元のファイルはそのままです。"},
       kDocument},
      {"a new search page", kPagePath, {kAskSave, kPageFailed}, kDocument, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    converted(h);
    setSampleFlag(h);
    if (row.existing) h.disk.putBytes(u"/data/b.xml", "old document");
    if (row.existing) h.disk.putBytes(kPagePath, "old page");
    h.disk.failWrites.insert(row.failing);

    h.f().click(kSaveButton);

    EXPECT_EQ(h.dialogs.texts(), row.boxes);
    EXPECT_EQ(h.disk.contents[u"/data/b.xml"], row.xmlAfter);
    EXPECT_EQ(h.disk.contents[kPagePath], row.existing ? "old page" : "");
    EXPECT_TEXT_EQ(h.f().searchPagePath, u"");
    EXPECT_TRUE(h.opener.opened.empty());
    EXPECT_FALSE(h.f().busy());
  }
}

TEST(Save, AReadOnlyDocumentIsRefusedBeforeAnyQuestionAndLeftAsItIs) {
  Harness h;
  converted(h);
  h.disk.putBytes(u"/data/b.xml", "old document");
  h.disk.readOnlyFiles.insert(u"/data/b.xml");
  h.f().click(kSaveButton);
  EXPECT_EQ(h.dialogs.texts(),
            std::vector<Text>{
                u"読み取り専用のファイルのため保存できません：/data/b.xml\r元のファイルはそのままです。"});
  EXPECT_EQ(h.disk.writes, 0);
  EXPECT_EQ(h.disk.contents[u"/data/b.xml"], "old document");
}

TEST(Save, ACharacterShiftJisCannotHoldRefusesTheSaveNamingIt) {
  Harness h;
  converted(h);
  Text edited = h.f().workingText();
  edited.replace(edited.find(u"Pen"), 3, u"Pen😀");
  h.f().textEdited(kTextView, edited);

  h.f().click(kSaveButton);

  EXPECT_EQ(h.dialogs.texts(),
            std::vector<Text>{
                u"Shift_JISで保存できない文字があります：U+1F600 (😀)\r（XML文書）\r何も保存していません。"});
  EXPECT_EQ(h.disk.writes, 0);
}

TEST(Save, AParentNameTheDocumentCannotCarryIsRefusedAndTheCorrectedNameThenSaves) {
  struct Row {
    Text typed;
    Text message;
  };
  const Row rows[] = {
      {u"1st", u"親要素名「1st」はXMLの要素名に使えません。親要素名を入力し直してから保存して下さい！"},
      {u"", u"親要素名「」はXMLの要素名に使えません。親要素名を入力し直してから保存して下さい！"},
      {u"店😀", u"Shift_JISで保存できない文字があります：U+1F600 (😀)\r（親要素名）\r何も保存していません。"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(toUtf8(row.typed));
    Harness h;
    converted(h);
    const Text body = h.f().workingText();
    h.f().textEdited(kParentNameBox, row.typed);

    h.f().click(kSaveButton);

    EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{row.message});
    EXPECT_EQ(h.disk.writes, 0);
    EXPECT_TEXT_EQ(h.f().workingText(), body) << "no header went in";

    h.f().textEdited(kParentNameBox, u"items");
    h.f().click(kSaveButton);
    EXPECT_EQ(h.disk.contents[u"/data/b.xml"], kDocument);
  }
}

TEST(Save, TheSearchPageIsWrittenInWebDbModeOrAfterTheFirstTimeButtonAndOpenedInWebDbMode) {
  struct Row {
    const char* what;
    bool webDb;
    bool sampleFlag;
    bool pageWritten;
  };
  const Row rows[] = {
      {"normal mode", false, false, false},
      {"normal mode after the first-time button", false, true, true},
      {"WEB_DB mode", true, false, true},
      {"WEB_DB mode after the first-time button", true, true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Harness h;
    converted(h);
    if (row.sampleFlag) setSampleFlag(h);
    if (row.webDb) h.f().click(kModeButton);

    h.f().click(kSaveButton);

    EXPECT_EQ(h.disk.contents[u"/data/b.xml"], kDocument);
    EXPECT_TRUE(contains(h.f().searchPageText, u"<p>/data/b.xml</p>"))
        << "[xmlfile] is filled in every mode";
    if (row.pageWritten) {
      EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{kAskSave, kSaved}));
      EXPECT_TEXT_EQ(h.disk.textOf(kPagePath), h.f().searchPageText);
      EXPECT_TEXT_EQ(h.f().searchPagePath, kPagePath);
    } else {
      EXPECT_EQ(h.dialogs.texts(), std::vector<Text>{kAskSave});
      EXPECT_EQ(h.disk.contents.count(kPagePath), 0u);
      EXPECT_TEXT_EQ(h.f().searchPagePath, u"");
    }
    EXPECT_EQ(h.opener.opened, row.webDb ? std::vector<Text>{kPagePath} : std::vector<Text>{});
  }
}

TEST(Save, AFolderNameShiftJisCannotHoldSavesBothFilesWithThePathAsCharacterReferences) {
  Harness h;
  h.disk.folderSet.insert(u"/data/café😀");
  converted(h, u"/data/café😀/b.txt");
  h.f().click(kModeButton);
  h.f().click(kSaveButton);
  EXPECT_EQ(h.dialogs.texts(), (std::vector<Text>{kAskSave, kSaved}));
  EXPECT_EQ(h.disk.contents[u"/data/café😀/b.xml"], kDocument);
  EXPECT_TRUE(contains(h.disk.textOf(kPagePath), u"<p>/data/caf&#xE9;&#x1F600;/b.xml</p>"));
}

TEST(Save, TheSearchPageKeepsTheFirstDocumentPathOnALaterSave) {
  Harness h;
  converted(h);
  setSampleFlag(h);
  h.f().click(kSaveButton);
  h.f().textEdited(kPathBox, u"/data/other.txt");

  h.f().click(kSaveButton);

  EXPECT_EQ(h.disk.contents[u"/data/other.xml"], kDocument);
  EXPECT_TRUE(contains(h.disk.textOf(kPagePath), u"<p>/data/b.xml</p>"));
  EXPECT_FALSE(contains(h.disk.textOf(kPagePath), u"other"));
}

TEST(Save, ACorrectedDocumentSavedAgainIsTheOneThePageCarries) {
  Harness h;
  h.disk.put(kTemplatePath, kTestTemplate + u"\r\n<script>[xmldata]</script>");
  h.disk.put(u"/data/b.txt", u"\"A1\",\"Pen\"\r\n");
  load(h, u"/data/b.txt");
  name(h, u"items", {u"code", u"title"});
  h.f().click(kConvertButton);
  h.f().click(kModeButton);
  h.f().click(kSaveButton);
  const std::string first = h.disk.contents[u"/data/b.xml"];
  ASSERT_TRUE(contains(h.disk.textOf(kPagePath), fromUtf8(base64(first))));

  Text corrected = h.f().workingText();
  corrected.replace(corrected.find(u"Pen"), 3, u"Pencil");
  h.f().textEdited(kTextView, corrected);
  h.f().click(kSaveButton);

  const std::string second = h.disk.contents[u"/data/b.xml"];
  ASSERT_NE(second.find("<title>Pencil</title>"), std::string::npos);
  const Text page = h.disk.textOf(kPagePath);
  EXPECT_TRUE(contains(page, u"<script>" + fromUtf8(base64(second)) + u"</script>"));
  EXPECT_TRUE(contains(page, u"<p>/data/b.xml</p>"));
  EXPECT_EQ(h.opener.opened, (std::vector<Text>{kPagePath, kPagePath}));
}

TEST(Save, AConversionThatHadNoTemplateWritesNoPageOverTheLastOne) {
  Harness h;
  h.disk.put(u"/data/b.txt", u"\"A1\",\"Pen\"\r\n");
  h.disk.putBytes(kPagePath, "earlier page");
  load(h, u"/data/b.txt");
  name(h, u"items", {u"code", u"title"});
  h.f().click(kConvertButton);
  h.f().click(kModeButton);
  h.dialogs.shown.clear();

  h.f().click(kSaveButton);

  EXPECT_EQ(h.disk.contents[u"/data/b.xml"], kDocument);
  EXPECT_EQ(h.disk.contents[kPagePath], "earlier page");
  EXPECT_TRUE(h.opener.opened.empty());
  EXPECT_EQ(h.dialogs.texts(),
            (std::vector<Text>{
                kAskSave,
                u"保存しました！\r検索ページのテンプレートがなかったため、検索ページは作成していません。"}));
  EXPECT_TEXT_EQ(h.f().searchPagePath, u"");
}

TEST(Save, ARootRenamedAfterASaveReplacesTheHeaderRatherThanNestingASecondOne) {
  Harness h;
  converted(h);
  h.f().click(kSaveButton);
  h.f().textEdited(kParentNameBox, u"");
  h.f().textEdited(kParentNameBox, u"shop");

  h.f().click(kSaveButton);
  h.f().click(kSaveButton);

  EXPECT_EQ(h.disk.contents[u"/data/b.xml"],
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<shop>\r\n"
            "<mivoxml>\r\n<code>A1</code><title>Pen</title>\r\n</mivoxml>\r\n\r\n</shop>");
  EXPECT_EQ(h.dialogs.texts(),
            (std::vector<Text>{kAskSave, kAskSave, kAskOverwrite, kAskSave, kAskOverwrite}));
}

TEST(Save, NeitherATextThatLostItsHeaderNorAFileChoicePreviewReplacesTheSavedDocument) {
  const Text kPreview = u"ファイルの先頭行だけが表示されています。「OK」ボタンでファイル全体を読み込";
  Harness h;
  convertFile(h, u"/data/b.txt", u"\"A1\",\"Pen\"\r\n\"B2\",\"Ink\"\r\n", u"items", {u"code", u"title"});
  h.f().folderChange(u"/data");
  h.f().click(kSaveButton);
  const std::string saved = h.disk.contents[u"/data/b.xml"];
  const Text& text = h.f().workingText();
  h.dialogs.shown.clear();

  h.f().textEdited(kTextView,
                   text.substr(text.find(u"<mivoxml>"), text.rfind(u"</") - text.find(u"<mivoxml>")));
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
  EXPECT_EQ(h.disk.writes, 1);
  h.f().click(kLoadButton);
  h.f().click(kConvertButton);
  h.f().click(kSaveButton);
  EXPECT_EQ(h.disk.contents[u"/data/b.xml"], saved) << "OK read the whole file, which converts as before";
}

}  // namespace
}  // namespace orv
