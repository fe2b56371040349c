#pragma once
// Where the program reads its own files and where it writes its own files. Run from its build folder
// both are the program's folder; installed (its files under ../share/orvessa, or its folder not
// writable) it reads the shared folder and writes to the user's data folder.
#include "text/Text.h"

namespace orv {

/// What the system says about the program's place, gathered once at start.
struct FolderFacts {
  Text programFolder;
  bool filesBeside = false;   ///< search.mvo lies beside the program
  bool filesInShare = false;  ///< search.mvo lies in ../share/orvessa
  bool programFolderWritable = false;
  Text xdgDataHome;  ///< $XDG_DATA_HOME; ignored unless absolute
  Text home;         ///< $HOME
};

struct Folders {
  Text resources;  ///< search.mvo, sample.txt, how_to_qdx.txt are read here
  Text work;       ///< the search page, the sample's working copy and its document go here
};

/// The shared folder of an installed program: PREFIX/share/orvessa for a program in PREFIX/bin.
Text shareFolderOf(const Text& programFolder);
Folders decideFolders(const FolderFacts& facts);

}  // namespace orv
