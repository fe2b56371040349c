#include "platform/Folders.h"

namespace orv {

Text shareFolderOf(const Text& programFolder) {
  const std::size_t slash = programFolder.rfind(u'/');
  const Text prefix = slash == Text::npos || slash == 0 ? Text() : programFolder.substr(0, slash);
  return prefix + u"/share/orvessa";
}

Folders decideFolders(const FolderFacts& facts) {
  Folders f;
  const bool shared = facts.filesInShare && !facts.filesBeside;
  f.resources = shared ? shareFolderOf(facts.programFolder) : facts.programFolder;
  if (!shared && facts.programFolderWritable) {
    f.work = facts.programFolder;
    return f;
  }
  // The base directory rules: a relative $XDG_DATA_HOME is to be ignored.
  const bool xdg = !facts.xdgDataHome.empty() && facts.xdgDataHome[0] == u'/';
  f.work = joinPath(xdg ? facts.xdgDataHome : joinPath(facts.home, u".local/share"), u"orvessa");
  return f;
}

}  // namespace orv
