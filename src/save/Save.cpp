// The save command: the XML document beside the text file, and the search page in the program's
// folder. Nothing is ever half-written: both files go through a temporary file and a rename.
#include "app/Form1.h"
#include "convert/XmlName.h"
#include "platform/ShiftJis.h"
#include "save/SavePath.h"
#include "webdb/SearchPage.h"

namespace orv {

Text xmlPathFor(const Text& textPath) {
  if (textPath.size() >= 4) {
    TextView ext = TextView(textPath).substr(textPath.size() - 4);
    if (ext == u".txt" || ext == u".TXT") return textPath.substr(0, textPath.size() - 4) + u".xml";
    if (ext == u".xml") return textPath;
  }
  return textPath + u".xml";
}

namespace {

Text cannotWrite(const EncodeResult& e, const Text& what) {
  return u"Shift_JISで保存できない文字があります：" + describeChar(e.errorChar) + u"\r（" + what +
         u"）\r何も保存していません。";
}

}  // namespace

void Form1::saveCommand() {
  // The root element is named by the parent name as it stands now; an unusable name would give a
  // document no XML reader accepts.
  if (headerArmed && !workingText().empty() && !isXmlName(text(Ctl::Text4))) {
    message(u"親要素名「" + text(Ctl::Text4) + u"」はXMLの要素名に使えません。親要素名を入力し直してから保存して下さい！");
    return;
  }
  headerStep();
  if (workingText().empty()) {
    message(u"ﾌｧｲﾙを選択し、XML変換を行ってください！");
    return;
  }
  setText(Ctl::Text5, xmlPathFor(text(Ctl::Text5)));
  const Text xmlPath = text(Ctl::Text5);

  // Encode before asking anything: a character Shift_JIS cannot hold refuses the whole save.
  EncodeResult xml = encodeCp932(workingText());
  if (!xml.ok) {
    message(cannotWrite(xml, u"XML文書"));
    return;
  }
  const bool writePage = sampleFlag == kSampleFlagSet || modeValue == kWebDbMode;
  Text page = fillXmlFile(text(Ctl::Text6), xmlPath);
  // The page's text is encoded in the pieces around the embedded document.
  std::vector<std::string> pagePieces;
  if (writePage) {
    for (TextView rest = page;;) {
      std::size_t mark = rest.find(kXmlDataMark);
      EncodeResult piece = encodeCp932(rest.substr(0, mark));
      if (!piece.ok) {
        message(cannotWrite(piece, u"検索ページ"));
        return;
      }
      pagePieces.push_back(std::move(piece.bytes));
      if (mark == TextView::npos) break;
      rest.remove_prefix(mark + kXmlDataMark.size());
    }
  }

  if (!ask(u"保存しますか？", u"保存確認")) {
    message(u"中止しました！");
    return;
  }
  if (platform_.fs.fileExists(xmlPath) && !ask(u"同名ファイルがあります！上書きしますか？", u"上書き確認"))
    return;
  {
    BusyScope busy(*this);
    FileError err = platform_.files.writeBytes(xmlPath, xml.bytes);
    if (err) {
      setBusy(false);
      message(describe(err));
      return;
    }
  }
  setText(Ctl::Text6, std::move(page));
  // The first save after a conversion puts this document into the page, the way it fills in the
  // path; later saves keep it until a new conversion prepares a fresh page.
  if (!searchPageDocumentSet && contains(text(Ctl::Text6), kXmlDataMark)) {
    searchPageDocument = std::move(xml.bytes);
    searchPageDocumentSet = true;
  }
  folderChange(folder);
  // The page is written in WEB_DB mode too, not only after the sample: the user who picked a search
  // field and was told to save expects a page.
  if (!writePage) return;
  const Text pagePath = platform_.fs.programFolder() + u"/XmlSearchTemp.htm";
  std::vector<WritePart> parts;
  for (std::size_t i = 0; i < pagePieces.size(); ++i) {
    if (i > 0) parts.push_back({searchPageDocument, true});
    parts.push_back({pagePieces[i], false});
  }
  FileError err = platform_.files.writeParts(pagePath, parts);
  if (err) {
    message(describe(err));
    return;
  }
  message(u"保存しました！");
  folderChange(folder);
  searchPagePath = pagePath;
  if (modeValue == kWebDbMode) viewCommand();
}

}  // namespace orv
