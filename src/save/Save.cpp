// The save command: the XML document beside the text file, and the search page in the program's
// folder. Nothing is ever half-written: both files go through a temporary file and a rename.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Form1.h"
#include "app/Messages.h"
#include "convert/XmlName.h"
#include "save/SavePath.h"
#include "text/ListFiles.h"
#include "text/Result.h"
#include "text/ShiftJis.h"
#include "webdb/SearchPage.h"

namespace orv {

Text xmlPathFor(const Text& textPath) {
  if (const std::size_t extension = listExtensionLength(textPath))
    return textPath.substr(0, textPath.size() - extension) + u".xml";
  if (TextView(textPath).ends_with(u".xml")) return textPath;
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

// The root element is named by the parent name as it stands now; an unusable name would give a
// document no XML reader accepts. Checked before the header goes in: once it is in, a corrected name
// no longer reaches the document.
Result<void> rootNameSavable(const Form1& form) {
  if (!form.headerArmed || (form.workingText().empty() && form.encodedBody.empty())) return {};
  if (auto usable = usableName(form.text(kParentNameBox), msg::parentName()); !usable)
    return fail(usable.error() + msg::nothingSaved());
  return {};
}

// Puts the header around the text, once. Emptying and typing the parent name again after a save arms
// the header while the text still carries the earlier one. A converted text never begins with "<?xml"
// (its own "<" are escaped), so such a text carries that header: it comes off, and the new name goes
// in instead of a second one.
void putHeaderIn(Form1& form) {
  if (form.headerArmed && form.workingText().compare(0, declarationLine().size(), declarationLine()) == 0) {
    Text document = form.takeWorkingText();
    takeOffHeader(document);
    form.setWorkingText(std::move(document));
  }
  form.headerStep();
}

// Every document written carries the declaration and its root. A text that lost them (taken out by
// hand while the header step had already run) would replace a good document with one no XML reader
// accepts.
Result<void> wholeDocument(const Text& document) {
  if (document.empty()) return fail(msg::kNothingToSave);
  if (!bodyInsideHeader(document)) return fail(msg::kNoHeader);
  return {};
}

// The document's bytes. A character Shift_JIS cannot hold refuses the whole save. A body the conversion
// kept encoded has the header's bytes put around it in place; it is used up by the save.
Result<std::string> encodedDocument(Form1& form) {
  if (!form.keepDocumentEncoded) {
    EncodeResult xml = encodeCp932(form.workingText());
    if (!xml.ok) return fail(msg::cannotSave(xml.errorChar, msg::xmlDocument()));
    return std::move(xml.bytes);
  }
  if (form.encodedBodyRefused) return fail(msg::cannotSave(form.encodedBodyRefused, msg::xmlDocument()));
  if (form.encodedBody.empty()) return fail(msg::kNothingToSave);
  // The working text holds the header and the closing tag, around the body kept encoded.
  const TextView frame = form.workingText();
  const std::size_t bodyAt = bodyInsideHeader(form.workingText())->first;
  EncodeResult head = encodeCp932(frame.substr(0, bodyAt)), tail = encodeCp932(frame.substr(bodyAt));
  if (!head.ok || !tail.ok)
    return fail(msg::cannotSave(head.ok ? tail.errorChar : head.errorChar, msg::xmlDocument()));
  std::string xml = std::move(form.encodedBody);
  form.encodedBody.clear();
  xml.insert(0, head.bytes);
  xml += tail.bytes;
  return xml;
}

// What a save writes, settled before anything is asked or written.
struct SaveJob {
  Text xmlPath;
  std::string xml;          ///< the document, encoded
  bool pageWanted = false;  ///< after the sample, or in WEB_DB mode
  bool writePage = false;   ///< wanted, and a conversion left a page to write
  Text page;                ///< the page text with the document's path filled in
  EncodedPage encodedPage;  ///< the page encoded around the document's places
};

// The header in, the document checked and encoded, the page prepared: every refusal that needs no
// question comes here, before the first question.
Result<SaveJob> settleSave(Form1& form) {
  if (auto named = rootNameSavable(form); !named) return fail(named.error());
  putHeaderIn(form);
  if (auto whole = wholeDocument(form.workingText()); !whole) return fail(whole.error());
  form.setText(kPathBox, xmlPathFor(form.text(kPathBox)));
  SaveJob job;
  job.xmlPath = form.text(kPathBox);
  Result<std::string> xml = encodedDocument(form);
  if (!xml) return fail(xml.error());
  job.xml = std::move(*xml);
  // A document marked read-only, a device or pipe of that name, or the text file itself under another
  // name (a link to it) is not replaced: told now, not after the questions.
  if (const auto refused = form.platform().fs.writeRefusal(job.xmlPath, form.loadedFile);
      refused != FileError::Kind::None)
    return fail(msg::fileProblem(fileError(refused, job.xmlPath)));
  job.pageWanted = form.sampleFlag == kSampleFlagSet || form.modeValue == kWebDbMode;
  // A conversion without a template left no page: an empty file would replace the last good page.
  job.writePage = job.pageWanted && !form.searchPageText.empty();
  // The path is used up in the page text; the document's data is not, so that a document corrected
  // and saved again is the one its page shows.
  job.page = fillDocumentPath(form.searchPageText, job.xmlPath);
  if (job.writePage) {
    auto encoded = encodePage(job.page);
    if (!encoded) return fail(msg::cannotSave(encoded.error(), msg::searchPage()));
    job.encodedPage = std::move(*encoded);
  }
  return job;
}

// The user's go-ahead: to save, then to replace a document of the same name if there is one. Nothing
// when the user declines; else whether a document is being replaced.
std::optional<bool> goAhead(Form1& form, const Text& xmlPath) {
  if (!form.ask(msg::kSaveQuestion, msg::kSaveCaption)) {
    form.message(msg::kCancelled);
    return std::nullopt;
  }
  const bool replacing = form.platform().fs.fileExists(xmlPath);
  if (replacing && !form.ask(msg::kOverwriteQuestion, msg::kOverwriteCaption)) return std::nullopt;
  return replacing;
}

Result<void> writeDocument(Form1& form, const SaveJob& job, bool replacing) {
  BusyScope busy(form);
  // No file was there when the user was asked: none made meanwhile is replaced either.
  FileError err = form.platform().files.writeBytes(
      job.xmlPath, job.xml, replacing ? TextFiles::Replace::Allowed : TextFiles::Replace::Never);
  if (!err) return {};
  err.replacing = replacing;
  return fail(msg::fileProblem(err));
}

// The page with the document it carries. A page of the same name that is no regular file, or is the
// text file itself, is left alone.
FileError writePage(Form1& form, const SaveJob& job, const Text& pagePath) {
  if (FileError refused = fileError(form.platform().fs.writeRefusal(pagePath, form.loadedFile), pagePath))
    return refused;
  Result<std::string, std::string> file = pageFile(job.encodedPage, job.xml);
  if (!file) {
    FileError err = fileError(FileError::Kind::Unwritable, pagePath);
    err.reason = file.error();
    return err;
  }
  return form.platform().files.writeBytes(pagePath, *file);
}

// The search page in the program's folder (the user's data folder when installed) or where the command
// line was told to write it, the document
// compressed and in base64 wherever the page carries it. The page is written in WEB_DB mode too, not only
// after the sample: the user who picked a search field and was told to save expects a page.
void writeSearchPage(Form1& form, const SaveJob& job) {
  if (job.pageWanted && !job.writePage) {
    form.message(msg::kSavedWithoutPage);
    return;
  }
  if (!job.writePage) return;
  const Text pageFolder = form.platform().fs.workFolder();
  const Text pagePath =
      form.searchPageTarget.empty() ? joinPath(pageFolder, u"XmlSearchTemp.htm") : form.searchPageTarget;
  const bool replacing = form.platform().fs.fileExists(pagePath);
  FileError err = writePage(form, job, pagePath);
  if (err) {
    // The document is on disk by now: the user is told so, and why the page is missing.
    err.replacing = replacing;
    form.message(msg::pageNotSaved(job.xmlPath, err));
    return;
  }
  // An installed program keeps its page in the user's data folder: the user is told where.
  form.message(pageFolder == form.platform().fs.programFolder() ? Text(msg::kSaved)
                                                                : msg::savedPageIn(pagePath));
  form.folderChange(form.folder);
  form.searchPagePath = pagePath;
  if (form.modeValue == kWebDbMode) form.viewCommand();
}

}  // namespace

void Form1::saveCommand() {
  // The first line of a file choice is no document: written, it would replace the whole file's.
  if (workingTextIsPreview) {
    message(msg::kPreviewNotSavable);
    return;
  }
  Result<SaveJob> job = settleSave(*this);
  if (!job) {
    message(job.error());
    return;
  }
  const std::optional<bool> replacing = goAhead(*this, job->xmlPath);
  if (!replacing) return;
  if (auto written = writeDocument(*this, *job, *replacing); !written) {
    message(written.error());
    return;
  }
  searchPageText = std::move(job->page);
  folderChange(folder);
  writeSearchPage(*this, *job);
}

}  // namespace orv
