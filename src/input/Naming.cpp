// The parent element name, the XML header template and the header step.
#include "app/Form1.h"
#include "convert/Records.h"
#include "convert/XmlName.h"

namespace orv {

void Form1::parentNameChanged() {
  if (text(kParentNameBox).empty()) placeholderRestore();
}

void Form1::takeNamesFromFirstRecord() {
  const LeadingValues first = leadingValues(workingText(), 1, separator);
  if (first.records.empty()) return;
  const std::vector<Text>& titles = first.records.front();
  for (int i = 0; i < kNameBoxes && i < static_cast<int>(titles.size()); ++i)
    if (enabled(fieldNameBox(i))) setText(fieldNameBox(i), xmlNameFrom(titles[static_cast<std::size_t>(i)]));
  firstRecordIsHeader = true;
}

void Form1::placeholderRestore() {
  // The template goes back to its start form as a whole. Replacing the last name inside it would also
  // hit the declaration (a name such as "xml" or "1.0") and miss a name changed after a save; the
  // declaration must always stay intact.
  headerTemplate = kHeaderTemplate;
  headerArmed = true;
}

void Form1::headerStep() {
  // The header goes in once after each restore, whatever the name holds (even "[user_settei]").
  if (!headerArmed) return;
  const Text& parent = text(kParentNameBox);
  headerTemplate = replaceAll(headerTemplate, kUserSettei, parent);
  Text document = takeWorkingText();
  document.insert(0, headerTemplate);
  document.append(u"</").append(parent).append(u">");
  setWorkingText(std::move(document));
  headerArmed = false;
}

}  // namespace orv
