// The table: the tool's header row and row pattern, the rows of the page on view, hits marked.
import { finder, foldPlaces } from './fold.js';
import { $, view } from './dom.js';

/** The tool writes the header row and a data row of empty SPAN DATAFLD=name cells; the data row is the
 * pattern every shown row is cloned from. */
export function readLayout() {
  const templateRow = $('row-template').querySelector('tr');
  const spans = templateRow ? Array.from(templateRow.querySelectorAll('span[datafld]')) : [];
  const headRow = $('head-rows').querySelector('tr');
  // A placeholder left unfilled is stray text that the table pushes out in front of itself.
  for (const node of Array.from($('table-wrap').childNodes)) {
    if (node.nodeType === Node.TEXT_NODE && node.textContent.trim()) node.remove();
  }
  return {
    templateRow: spans.length ? templateRow : null,
    names: spans.map((s) => s.getAttribute('datafld')),
    headRow,
  };
}

/** A row pattern for a document the tool wrote no pattern for. */
export function buildTemplateRow(names) {
  const tr = document.createElement('tr');
  for (const name of names) {
    const span = tr.appendChild(document.createElement('td')).appendChild(document.createElement('span'));
    span.setAttribute('datafld', name);
  }
  return tr;
}

// Which characters of `value` the words cover (their `finder`s), found in its folded form.
function markedIn(value, words) {
  const { text, from, to } = foldPlaces(value);
  const marked = new Uint8Array(value.length);
  let any = false;
  for (const f of words) {
    for (let p = f.find(text, 0); p >= 0; p = f.find(text, p + 1)) {
      marked.fill(1, from[p], to[p + f.length - 1]);
      any = true;
    }
  }
  return any ? marked : null;
}

// Puts `value` into `cell` as text, with the parts that match a search word marked.
function fillCell(cell, value, words) {
  const marked = words.length && value ? markedIn(value, words) : null;
  if (!marked) {
    cell.textContent = value;
    return;
  }
  cell.textContent = '';
  for (let s = 0; s < value.length;) {
    let e = s;
    while (e < value.length && marked[e] === marked[s]) e++;
    const text = document.createTextNode(value.slice(s, e));
    if (marked[s]) cell.appendChild(document.createElement('mark')).appendChild(text);
    else cell.appendChild(text);
    s = e;
  }
}

function rowFor(values, words, column) {
  const tr = view.templateRow.cloneNode(true);
  const spans = tr.querySelectorAll('span[datafld]');
  for (let c = 0; c < spans.length; c++) {
    fillCell(spans[c], values[c], column < 0 || column === c ? words : []);
    // On a narrow screen each cell shows its column's name before its value.
    const cell = spans[c].closest('td');
    if (cell) cell.dataset.label = view.names[c];
  }
  return tr;
}

function batchOf(i) {
  const list = view.batches;
  let lo = 0;
  let hi = list.length - 1;
  while (lo < hi) {
    const mid = (lo + hi + 1) >> 1;
    if (list[mid].start <= i) lo = mid;
    else hi = mid - 1;
  }
  return list[lo];
}

/** The values of record `i` as they stand. */
export function valuesOf(i) {
  const b = batchOf(i);
  const w = view.names.length;
  const out = new Array(w);
  for (let c = 0, k = (i - b.start) * w; c < w; c++, k++) out[c] = b.raw.slice(b.off[k], b.off[k + 1] - 1);
  return out;
}

export const shownCount = () => (view.matches ? view.matches.length : view.total);

/** The record shown at place `k` of the list on view. */
export function recordAt(k) {
  if (view.matches) return view.matches[k];
  return view.order ? view.order[k] : k;
}

/** The rows from place `start` to `end`, or the row that says there are none. */
export function rowsBetween(start, end, emptyText) {
  const fragment = document.createDocumentFragment();
  const words = view.matches ? view.words.map(finder) : [];
  for (let k = start; k < end; k++) fragment.appendChild(rowFor(valuesOf(recordAt(k)), words, view.column));
  if (emptyText) {
    const td = fragment.appendChild(document.createElement('tr')).appendChild(document.createElement('td'));
    td.className = 'empty';
    td.colSpan = Math.max(1, view.names.length);
    td.textContent = emptyText;
  }
  return fragment;
}
