// The command line, run as a script would run it: installed in a scratch prefix, with no display.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include "common/Fakes.h"
#include "common/TextTest.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// PREFIX/bin/orvessa, its files in PREFIX/share/orvessa, the sample in PREFIX, the data in PREFIX/data.
struct ScratchInstall : ScratchFolder {
  const fs::path& root = path;
  ScratchInstall() : ScratchFolder("orv-cli") {
    fs::create_directories(root / "share/orvessa");
    fs::create_directory(root / "bin");
    fs::copy_file(ORV_PROGRAM, root / "bin/orvessa");
    fs::copy_file(fs::path(ORV_BUILD_DIR) / "search.mvo", root / "share/orvessa/search.mvo");
    fs::copy_file(fs::path(ORV_BUILD_DIR) / "sample.txt", root / "sample.txt");
  }
  /// Runs a shell command in the scratch prefix with no display; its exit status.
  int shell(const std::string& command) const {
    const int status =
        std::system(("cd " + root.string() + " && unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM && " +
                     "export XDG_DATA_HOME=" + (root / "data").string() + " && { " + command + "; }")
                        .c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int run(const std::string& args) const { return shell("bin/orvessa " + args + " 2>/dev/null"); }
};

const std::string kNames = " --parent 住所録 --fields 読み,名前,住所1,住所2,電話";

// Byte for byte the files the window writes for the same names. A document already there is replaced only
// with --yes; the exit status tells a usage error (2) from a refusal (1).
TEST(CommandLine, WritesTheSampleAsTheWindowDoesAndKeepsTheDocumentThereWithoutYesTellingWhyByItsStatus) {
  ScratchInstall install;
  const fs::path& root = install.root;
  for (const bool webDb : {false, true}) {
    const std::string out = webDb ? "web.xml" : "normal.xml";
    const Text xml = fromUtf8((root / out).string());
    Harness h;
    h.disk.folderSet.insert(fromUtf8(root.string()));
    h.disk.putBytes(kTemplatePath, bytesOf(root / "share/orvessa/search.mvo"));
    convertFile(h, fromUtf8((root / "sample.txt").string()), decodeText(bytesOf(root / "sample.txt")).text,
                u"住所録", {u"読み", u"名前", u"住所1", u"住所2", u"電話"});
    if (webDb) h.f().click(kModeButton);
    if (webDb) h.f().chooseSearchField(1);
    h.f().textEdited(kPathBox, xml);
    h.f().click(kSaveButton);
    // The plain document from standard input to standard output; the page where it is told to go.
    const std::string args = webDb ? "convert sample.txt" + kNames +
                                         " --web-db --search-field 名前 --page "
                                         "p.htm --output web.xml"
                                   : "convert -" + kNames + " --output - < sample.txt > normal.xml";
    ASSERT_EQ(install.run(args), 0) << out;
    EXPECT_EQ(bytesOf(root / out), h.disk.contents[xml]) << out;
    EXPECT_TRUE(!webDb || bytesOf(root / "p.htm") == h.disk.contents[kPagePath]);
  }
  std::ofstream(root / "sample.xml") << "kept";
  const std::pair<std::string, int> rows[] = {
      {"convert sample.txt --bogus" + kNames, 2},
      {"make sample.txt" + kNames, 2},
      {"convert sample.txt --parent 住所録", 2},
      {"convert sample.txt" + kNames + " --web-db --search-field 年齢", 2},
      {"convert sample.txt --parent 住所録 --fields 読み,名前", 1},
      {"convert sample.txt" + kNames, 1},
      {"convert sample.txt" + kNames + " --yes", 0}};
  for (const auto& [args, status] : rows) {
    EXPECT_EQ(install.run(args), status) << args;
    EXPECT_EQ(bytesOf(root / "sample.xml") == "kept", status != 0) << args;
  }
}

// The document never takes the place of its own text, whatever name leads there, and of two runs
// without --yes writing one document at once, exactly one writes it and the other says it did not.
TEST(CommandLine, NeverWritesOverItsInputAndOfTwoRunsAtOnceOnlyOneWritesWithoutYes) {
  ScratchInstall install;
  const fs::path& root = install.root;
  const std::string sample = bytesOf(root / "sample.txt");
  fs::create_symlink("sample.txt", root / "soft.xml");
  fs::create_hard_link(root / "sample.txt", root / "hard.xml");
  for (const char* output : {"soft.xml", "hard.xml"}) {
    EXPECT_EQ(install.run("convert sample.txt" + kNames + " --yes --output " + output), 1) << output;
    EXPECT_EQ(bytesOf(root / "sample.txt"), sample) << output;
  }
  std::ofstream big(root / "big.txt", std::ios::binary);
  for (int i = 0; i < 2000; ++i) big << sample;
  big.close();
  const std::string one = "bin/orvessa convert big.txt" + kNames + " --output race.xml 2>/dev/null";
  for (int round = 0; round < 3; ++round) {
    fs::remove(root / "race.xml");
    ASSERT_EQ(install.shell("(" + one + "; echo $? > a) & (" + one + "; echo $? > b) & wait"), 0);
    EXPECT_EQ((std::set{bytesOf(root / "a"), bytesOf(root / "b")}), (std::set<std::string>{"0\n", "1\n"}));
  }
}

// A name that reads in no encoding names its own file, not another that reads alike; from a folder too
// deep for the system to name, a relative name is refused, never looked up in another folder. A
// workbook's name takes the workbook.
TEST(CommandLine, TakesNamesByTheirBytesAndNeverLooksInAnotherFolder) {
  ScratchInstall install;
  const fs::path& root = install.root;
  for (const std::string b : {"\xFE", "\xFF"})
    std::ofstream(root / (b + ".txt")) << +static_cast<unsigned char>(b[0]);
  EXPECT_EQ(install.run("convert $(printf '\\376.txt') --parent p --fields v"), 0);
  EXPECT_TRUE(bytesOf(root / "\xFE.xml").find("<v>254</v>") != std::string::npos &&
              !fs::exists(root / "\xFF.xml"));
  const std::string name = "orv-deep-" + std::to_string(::getpid());
  std::ofstream("/" + name + ".txt") << "\"root\"\r\n";
  const std::string down = "d=$(printf '%0250d' 0); for i in $(seq 20); do mkdir $d && cd $d; done";
  EXPECT_EQ(install.shell(down + " && echo '\"deep\"' > " + name + ".txt && " + root.string() +
                          "/bin/orvessa convert " + name + ".txt --parent p --fields v 2>/dev/null"),
            1);
  fs::remove("/" + name + ".txt");
  EXPECT_FALSE(fs::remove("/" + name + ".xml"));
  // A workbook is taken as a text file is, its document written beside it.
  fs::copy_file(fs::path(ORV_WORKBOOKS) / "libreoffice.xlsx", root / "名簿.XLSX");
  EXPECT_EQ(install.run("convert 名簿.XLSX --header --parent 名簿"), 0);
  EXPECT_NE(bytesOf(root / "名簿.xml").find(encodeCp932(u"<氏名>合計</氏名><金額>0.3</金額>").bytes),
            std::string::npos);
}

// Every outcome in a line of its own words, in the locale's language, none of the window's instructions
// and no progress line where standard error is no terminal; an empty name is a usage error, a standard
// output that takes nothing a failure.
TEST(CommandLine, SpeaksAsACommandLineInTheLocalesLanguage) {
  ScratchInstall install;
  const std::string names = " --parent p --fields a,b,c,d,e";
  std::ofstream(install.root / "list.Csv") << "番号,氏名\r\n1,山田 太郎\r\n2,\"佐藤, 花子\"\r\n";
  install.shell("for i in $(seq 1500); do cat sample.txt; done > big.txt");
  const std::string usage =
      "Usage: orvessa convert INPUT... --parent NAME (--fields A,B,C | --header) [--web-db --search-field B "
      "[--page FILE.htm]] [--output FILE.xml|-] [--yes] [--quiet]\nRun orvessa --help for usage.\n";
  const std::string web = names + " --web-db --search-field b --page p.htm --output";
  // The locale, the arguments, the exit status and the whole of standard error (the scratch folder as ROOT).
  const std::tuple<std::string, std::string, int, std::string> rows[] = {
      {"C", "convert sample.txt" + names + " --output s.xml", 0, "Saved ROOT/s.xml (34 records)\n"},
      {"ja_JP.UTF-8", "convert sample.txt" + names + " --output s.xml --yes --web-db --search-field b", 0,
       "保存しました：ROOT/s.xml（34件）、検索ページ：ROOT/data/orvessa/XmlSearchTemp.htm\n"},
      {"C", "convert sample.txt" + names + " --output s.xml", 1,
       "Not saved: a file of that name exists (add --yes to replace it): ROOT/s.xml\n"},
      // Each input on its own, the status the worst; quiet leaves out what was saved.
      {"C", "convert none.txt sample.txt --quiet" + names, 1,
       "File not found: ROOT/none.txt\nNot saved: ROOT/none.txt\n"},
      {"C", "convert list.Csv big.txt --parent p --header", 0,
       "Saved ROOT/list.xml (2 records)\nSaved ROOT/big.xml (50999 records)\n"},
      {"C", "convert sample.txt" + web + " t.xml", 0,
       "Saved ROOT/t.xml (34 records), search page ROOT/p.htm\n"},
      {"C", "convert sample.txt" + web + " u.xml", 1,
       "Not saved: a file of that name exists (add --yes to replace it): ROOT/p.htm\n"},
      {"ja_JP.UTF-8", "convert sample.txt" + names + " --output no/s.xml", 1,
       "ファイルを書き込めません：ROOT/no/s.xml（ファイルまたはフォルダがありません）\n"},
      {"C", "convert sample.txt --parent 1a --fields a,b,c,d,e", 1,
       "The parent name \"1a\" cannot be an XML element name.\nUse a name without blanks or marks (\" < > & "
       "and the like) that does not begin with a digit.\n"},
      {"C", "convert - " + names + " --output - < sample.txt >&-", 1,
       "Cannot write the file: standard output (it is closed or cannot be written)\n"},
      {"ja_JP.UTF-8", "--help > /dev/full", 1,
       "orvessa: ファイルを書き込めません：標準出力（ディスクに空きがありません）\n"},
      {"C", "convert sample.txt --parent p --fields a,", 2,
       "orvessa: A name cannot be empty (--parent, and each of --fields).\n" + usage},
      {"C", "convert ''" + names, 2,
       "orvessa: The input is a text file ending in .txt or .csv, or a workbook ending in .xlsx: \n" + usage},
      {"C", "convert -" + names, 2,
       "orvessa: Reading standard input (-) needs --output FILE.xml (or --output - for standard output).\n" +
           usage},
      {"ja_JP.UTF-8", "convert sample.txt" + names + " --output", 2,
       "orvessa: 値がありません：--output\n使い方: orvessa convert 入力... --parent 親要素 (--fields "
       "要素1,要素2,... | --header) [--web-db --search-field 要素 [--page ページ.htm]] [--output 文書.xml|-] "
       "[--yes] [--quiet]\n使い方は orvessa --help で表示します。\n"},
  };
  for (const auto& [lang, args, status, expected] : rows) {
    const int got = install.shell("LC_ALL= LANG=" + lang + " bin/orvessa " + args + " 2>said");
    std::string said = bytesOf(install.root / "said");
    for (std::size_t at; (at = said.find(install.root.string())) != std::string::npos;)
      said.replace(at, install.root.string().size(), "ROOT");
    EXPECT_EQ(std::pair(got, said), std::pair(status, expected)) << args;
  }
  EXPECT_FALSE(fs::exists(install.root / "u.xml"));
  // On a terminal (script(1) gives the run one) a large input shows the step it is at.
  EXPECT_EQ(install.shell("script -qec 'LC_ALL=C bin/orvessa convert big.txt" + names +
                          " --output tty.xml' /dev/null | grep -q 'big.txt (4 MB): converting'"),
            0);
}

}  // namespace
}  // namespace orv
