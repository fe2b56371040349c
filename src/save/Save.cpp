// The save command: the XML document beside the text file, and the search page in the program's
// folder. Nothing is ever half-written: both files go through a temporary file and a rename.
#include <optional>
#include <utility>

#include "app/Form1.h"
#include "app/Messages.h"
#include "convert/XmlName.h"
#include "text/ShiftJis.h"
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

/// The declaration line of the header, CR LF included.
TextView declarationLine() { return kHeaderTemplate.substr(0, kHeaderTemplate.find(kCrLf) + kCrLf.size()); }

/// Where the body begins and ends when `document` carries the declaration, the root's opening line and
/// the root's closing tag that a header step puts around it; nothing when it does not carry all three.
std::optional<std::pair<std::size_t, std::size_t>> bodyInsideHeader(const Text& document) {
  const TextView declaration = declarationLine();
  const std::size_t nameStart = declaration.size() + 1;
  if (document.compare(0, declaration.size(), declaration) != 0 || document.size() < nameStart ||
      document[declaration.size()] != u'<')
    return std::nullopt;
  const std::size_t nameEnd = document.find(u">\r\n", nameStart);
  if (nameEnd == Text::npos) return std::nullopt;
  const std::size_t bodyStart = nameEnd + 3;
  const Text closing = u"</" + document.substr(nameStart, nameEnd - nameStart) + u">";
  if (document.size() < bodyStart + closing.size() ||
      document.compare(document.size() - closing.size(), closing.size(), closing) != 0)
    return std::nullopt;
  return std::pair{bodyStart, document.size() - closing.size()};
}

/// Takes off the header an earlier header step put around `document`; leaves a text that does not
/// carry all of it alone.
void takeOffHeader(Text& document) {
  if (auto body = bodyInsideHeader(document)) {
    document.erase(body->second);
    document.erase(0, body->first);
  }
}

}  // namespace

void Form1::saveCommand() {
  // The first line of a file choice is no document: written, it would replace the whole file's.
  if (workingTextIsPreview) {
    message(msg::kPreviewNotSavable);
    return;
  }
  // The root element is named by the parent name as it stands now; an unusable name would give a
  // document no XML reader accepts. Checked before the header goes in: once it is in, a corrected name
  // no longer reaches the document.
  if (headerArmed && !workingText().empty()) {
    if (!isXmlName(text(kParentNameBox))) {
      message(msg::parentNameNotSavable(text(kParentNameBox)));
      return;
    }
    EncodeResult name = encodeCp932(text(kParentNameBox));
    if (!name.ok) {
      message(msg::cannotSave(name.errorChar, Text(msg::kParentName)));
      return;
    }
  }
  // Emptying and typing the parent name again after a save arms the header while the text still
  // carries the earlier one. A converted text never begins with "<?xml" (its own "<" are escaped), so
  // such a text carries that header: it comes off, and the new name goes in instead of a second one.
  if (headerArmed && workingText().compare(0, declarationLine().size(), declarationLine()) == 0) {
    Text document = takeWorkingText();
    takeOffHeader(document);
    setWorkingText(std::move(document));
  }
  headerStep();
  if (workingText().empty()) {
    message(msg::kNothingToSave);
    return;
  }
  // Every document written carries the declaration and its root. A text that lost them (taken out
  // by hand while the header step had already run) would replace a good document with one no XML
  // reader accepts.
  if (!bodyInsideHeader(workingText())) {
    message(msg::kNoHeader);
    return;
  }
  setText(kPathBox, xmlPathFor(text(kPathBox)));
  const Text xmlPath = text(kPathBox);

  // Encode before asking anything: a character Shift_JIS cannot hold refuses the whole save.
  EncodeResult xml = encodeCp932(workingText());
  if (!xml.ok) {
    message(msg::cannotSave(xml.errorChar, Text(msg::kXmlDocument)));
    return;
  }
  // A document marked read-only is not replaced: told now, not after the questions.
  if (platform_.fs.readOnly(xmlPath)) {
    message(msg::fileProblem(fileError(FileError::Kind::ReadOnly, xmlPath)));
    return;
  }
  const bool pageWanted = sampleFlag == kSampleFlagSet || modeValue == kWebDbMode;
  // A conversion without a template left no page: an empty file would replace the last good page.
  const bool writePage = pageWanted && !searchPageText.empty();
  // The path is used up in the page text; the document's data is not, so that a document corrected
  // and saved again is the one its page shows. The page's text is encoded in the pieces around the
  // places where the document goes; the document itself is written in base64 on the way to the disk.
  Text page = fillDocumentPath(searchPageText, xmlPath);
  std::vector<std::string> pagePieces;
  if (writePage) {
    for (TextView rest = page;;) {
      std::size_t mark = rest.find(kXmlDataMark);
      EncodeResult piece = encodeCp932(rest.substr(0, mark));
      if (!piece.ok) {
        message(msg::cannotSave(piece.errorChar, Text(msg::kSearchPage)));
        return;
      }
      pagePieces.push_back(std::move(piece.bytes));
      if (mark == TextView::npos) break;
      rest.remove_prefix(mark + kXmlDataMark.size());
    }
  }

  if (!ask(msg::kSaveQuestion, msg::kSaveCaption)) {
    message(msg::kCancelled);
    return;
  }
  const bool replacingXml = platform_.fs.fileExists(xmlPath);
  if (replacingXml && !ask(msg::kOverwriteQuestion, msg::kOverwriteCaption)) return;
  {
    BusyScope busy(*this);
    FileError err = platform_.files.writeBytes(xmlPath, xml.bytes);
    if (err) {
      err.replacing = replacingXml;
      setBusy(false);
      message(msg::fileProblem(err));
      return;
    }
  }
  searchPageText = std::move(page);
  folderChange(folder);
  // The page is written in WEB_DB mode too, not only after the sample: the user who picked a search
  // field and was told to save expects a page.
  if (pageWanted && !writePage) {
    message(msg::kSavedWithoutPage);
    return;
  }
  if (!writePage) return;
  const Text pagePath = joinPath(platform_.fs.programFolder(), u"XmlSearchTemp.htm");
  std::vector<WritePart> parts;
  for (std::size_t i = 0; i < pagePieces.size(); ++i) {
    if (i > 0) parts.push_back({xml.bytes, true});
    parts.push_back({pagePieces[i], false});
  }
  const bool replacingPage = platform_.fs.fileExists(pagePath);
  FileError err = platform_.files.writeParts(pagePath, parts);
  if (err) {
    // The document is on disk by now: the user is told so, and why the page is missing.
    err.replacing = replacingPage;
    message(msg::pageNotSaved(xmlPath, err));
    return;
  }
  message(msg::kSaved);
  folderChange(folder);
  searchPagePath = pagePath;
  if (modeValue == kWebDbMode) viewCommand();
}

}  // namespace orv
