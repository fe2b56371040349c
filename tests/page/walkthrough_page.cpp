// Runs the guided sample in the model over real files, as a first-time user would in the window (the sample,
// WEB_DB mode, the search field "名前", Save), with the folder given, holding search.mvo and sample.txt, as
// the program folder. The tool writes sample.xml and XmlSearchTemp.htm there; the page it opens is printed.
#include <cstdio>

#include "app/Form1.h"
#include "platform/RealFiles.h"

namespace {

/// The real disk with the program in `folder`; every box is answered OK and what the desktop is asked to
/// open is printed.
struct Desktop : orv::RealFileSystem, orv::Dialogs, orv::Opener, orv::Pointer {
  explicit Desktop(const char* programDir) : folder(orv::fromUtf8(programDir)) {}
  orv::Text programFolder() override { return folder; }
  orv::Answer show(const orv::Text& text, orv::Buttons, const orv::Text&) override {
    std::fprintf(stderr, "box: %s\n", orv::toUtf8(text).c_str());
    return orv::Answer::Ok;
  }
  void open(const orv::Text& path) override { std::printf("%s\n", orv::toUtf8(path).c_str()); }
  void setBusy(bool) override {}
  orv::Text folder;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Desktop desktop(argv[1]);
  orv::RealTextFiles files;
  orv::Form1 form(orv::Platform{desktop, files, desktop, desktop, desktop});
  form.startUp();
  form.offerSample();
  form.switchMode();
  form.chooseSearchField(1);
  form.saveCommand();
  return form.searchPagePath.empty() ? 1 : 0;
}
