// Out of the page: the matching rows as a CSV file (UTF-8 with a byte order mark) or on the clipboard,
// tab-separated, each value as `cells.js` writes it.
import { say } from './messages.js';
import { elements, view, xmlPathSetting, baseName } from './dom.js';
import { valuesOf, recordAt, shownCount } from './table.js';
import { tableText } from './cells.js';

function matchingRows() {
  const out = [view.names];
  for (let k = 0, n = shownCount(); k < n; k++) out.push(valuesOf(recordAt(k)));
  return out;
}

export function exportCsv() {
  const rows = matchingRows();
  const text = '\uFEFF' + tableText(rows, ',');
  const url = URL.createObjectURL(new Blob([text], { type: 'text/csv;charset=utf-8' }));
  const a = document.createElement('a');
  a.href = url;
  a.download =
    (baseName(view.sourceName || xmlPathSetting() || 'data').replace(/\.xml$/i, '') || 'data') + '.csv';
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
  elements.status.textContent = say.saved(rows.length - 1);
}

export async function copyRows() {
  const rows = matchingRows();
  const text = tableText(rows, '\t');
  try {
    await navigator.clipboard.writeText(text);
  } catch (e) {
    const area = document.createElement('textarea');
    area.value = text;
    document.body.appendChild(area);
    area.select();
    document.execCommand('copy');
    area.remove();
  }
  elements.status.textContent = say.copied(rows.length - 1);
}
