// Where the program reads its files and writes its own, decided from what the system says of its place.
#include "platform/Folders.h"

#include <tuple>

#include "common/TextTest.h"

namespace orv {
namespace {

TEST(Folders, ABuildFolderKeepsEverythingBesideTheProgramAnInstalledOneWritesToTheUsersDataFolder) {
  const Text home = u"/home/u/.local/share/orvessa";
  // The facts: program folder, files beside, files in ../share, writable, $XDG_DATA_HOME, home.
  const std::tuple<FolderFacts, Text, Text> rows[] = {
      {{u"/src/build", true, false, true, u"/x", u"/home/u"}, u"/src/build", u"/src/build"},
      {{u"/usr/bin", false, true, false, u"/d", u"/home/u"}, u"/usr/share/orvessa", u"/d/orvessa"},
      {{u"/usr/local/bin", false, true, false, u"", u"/home/u"}, u"/usr/local/share/orvessa", home},
      {{u"/usr/bin", false, true, false, u"relative", u"/home/u"}, u"/usr/share/orvessa", home},
      {{u"/home/u/.local/bin", false, true, true, u"", u"/home/u"}, home, home},
      {{u"/opt/o", true, false, false, u"", u"/home/u"}, u"/opt/o", home},
      {{u"/opt/bin", true, true, true, u"", u"/home/u"}, u"/opt/bin", u"/opt/bin"},
  };
  for (const auto& [facts, resources, work] : rows) {
    const Folders f = decideFolders(facts);
    EXPECT_TEXT_EQ(f.resources + u" " + f.work, resources + u" " + work) << toUtf8(facts.programFolder);
  }
}

}  // namespace
}  // namespace orv
