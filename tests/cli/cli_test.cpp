// The command line, run as a script would run it: installed in a scratch prefix, with no display.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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
  int run(const std::string& args) const {
    const int status =
        std::system(("cd " + root.string() + " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                     "XDG_DATA_HOME=" + (root / "data").string() + " bin/orvessa " + args + " 2>/dev/null")
                        .c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
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
    const std::string web = webDb ? " --web-db --search-field 名前" : "";
    ASSERT_EQ(install.run("convert sample.txt" + kNames + web + " --output " + out), 0) << out;
    EXPECT_EQ(bytesOf(root / out), h.disk.contents[xml]) << out;
    EXPECT_TRUE(!webDb || bytesOf(root / "data/orvessa/XmlSearchTemp.htm") == h.disk.contents[kPagePath]);
  }
  std::ofstream(root / "sample.xml") << "kept";
  const std::pair<std::string, int> rows[] = {
      {"convert sample.txt --bogus" + kNames, 2},
      {"make sample.txt" + kNames, 2},
      {"convert sample.txt --parent 住所録", 2},
      {"convert sample.txt" + kNames + " --web-db --search-field 年齢", 2},
      {"convert none.txt" + kNames, 1},
      {"convert sample.txt --parent 1a --fields 読み,名前,住所1,住所2,電話", 1},
      {"convert sample.txt --parent 住所録 --fields 読み,名前", 1},
      {"convert sample.txt" + kNames, 1},
      {"convert sample.txt" + kNames + " --yes", 0}};
  for (const auto& [args, status] : rows) {
    EXPECT_EQ(install.run(args), status) << args;
    EXPECT_EQ(bytesOf(root / "sample.xml") == "kept", status != 0) << args;
  }
}

}  // namespace
}  // namespace orv
