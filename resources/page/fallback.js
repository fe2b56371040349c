// The platform's XML parser, for documents the scanner gives up on: strictly, and where that fails
// tolerantly from the record tags and field names alone. Runs on the page (workers have no parser).
import { RECORD, unescapeXml, columnsOf, placeOf } from './xml.js';
import { encodingOf } from './shiftjis.js';

const SLICE_RECORDS = 2000;
const OPEN = '<' + RECORD + '>';
const CLOSE = '</' + RECORD + '>';

export const decodeWhole = (bytes) => new TextDecoder(encodingOf(bytes)).decode(bytes);

function strictRecords(doc, names) {
  const elements = doc.getElementsByTagName(RECORD);
  if (!names.length && elements.length) names = Array.from(elements[0].children, (c) => c.tagName);
  const columns = columnsOf(names);
  const rows = Array.from(elements, (record) => {
    const children = Array.from(record.children);
    const tags = children.map((c) => c.tagName);
    return columns.map((c) => {
      const k = placeOf(c, tags);
      return k >= 0 ? children[k].textContent : '';
    });
  });
  return { names, rows };
}

function tolerantValue(block, column) {
  const open = '<' + column.name + '>';
  const close = '</' + column.name + '>';
  let from = 0;
  for (let k = 0; ; k++) {
    const start = block.indexOf(open, from);
    if (start < 0) return '';
    const valueStart = start + open.length;
    const end = block.indexOf(close, valueStart);
    if (end < 0) return '';
    if (k === column.occurrence) return unescapeXml(block.slice(valueStart, end), true);
    from = end + close.length;
  }
}

// The text of every record, one after another; a record left open ends where the next begins.
function recordBlocks(text) {
  const blocks = [];
  for (let pos = text.indexOf(OPEN); pos >= 0;) {
    const bodyStart = pos + OPEN.length;
    const next = text.indexOf(OPEN, bodyStart);
    let end = text.indexOf(CLOSE, bodyStart);
    if (end < 0 || (next >= 0 && next < end)) end = next >= 0 ? next : text.length;
    blocks.push(text.slice(bodyStart, end));
    pos = next;
  }
  return blocks;
}

// For documents that a strict parser refuses (a raw "&" or "<" in a value): the record tags and the
// field names are enough to find every value.
function tolerantRecords(text, names) {
  const blocks = recordBlocks(text);
  if (!names.length && blocks.length) {
    names = [];
    const tag = /<([^\s<>/!?]+)>/g;
    for (let m; (m = tag.exec(blocks[0]));) {
      if (blocks[0].indexOf('</' + m[1] + '>', m.index) >= 0) names.push(m[1]);
    }
  }
  const columns = columnsOf(names);
  return { names, rows: blocks.map((block) => columns.map((c) => tolerantValue(block, c))) };
}

// The parser reports an error as an element in a namespace of its own, which no field element shares.
const ERROR_NAMESPACES = [
  'http://www.w3.org/1999/xhtml',
  'http://www.mozilla.org/newlayout/xml/parsererror.xml',
];
const parsesStrictly = (doc) =>
  doc.documentElement &&
  ERROR_NAMESPACES.every((ns) => doc.getElementsByTagNameNS(ns, 'parsererror').length === 0);

function parsed(text, wrapped, names) {
  const doc = new DOMParser().parseFromString(wrapped, 'application/xml');
  if (parsesStrictly(doc)) return Object.assign(strictRecords(doc, names), { tolerant: false });
  return Object.assign(tolerantRecords(text, names), { tolerant: true });
}

// Where each slice of SLICE_RECORDS records ends; a record left open after the last closing tag goes
// with the last slice.
function sliceBounds(text, first) {
  const bounds = [first];
  let closed = 0;
  let lastEnd = first;
  for (let end = text.indexOf(CLOSE, first); end >= 0; end = text.indexOf(CLOSE, lastEnd)) {
    lastEnd = end + CLOSE.length;
    if (++closed % SLICE_RECORDS === 0) bounds.push(lastEnd);
  }
  const tail = text.indexOf(OPEN, lastEnd) >= 0 ? text.length : lastEnd;
  if (bounds[bounds.length - 1] < tail) bounds.push(tail);
  return bounds;
}

/** The records a slice at a time (`next()`, null at the end), each slice parsed strictly on its own and
 * tolerantly if that fails. Null when the text holds no records at all. */
export function recordSlices(text, names) {
  const first = text.indexOf(OPEN);
  if (first < 0) {
    const whole = parsed(text, text, names);
    return whole.tolerant && !whole.rows.length && !text.includes('<' + RECORD) ? null : once(whole);
  }
  const bounds = sliceBounds(text, first);
  let k = 0;
  return {
    next() {
      if (k + 1 >= bounds.length) return null;
      const piece = text.slice(bounds[k], bounds[k + 1]);
      const slice = parsed(piece, '<slice>' + piece + '</slice>', names);
      k++;
      if (!names.length) names = slice.names;
      return slice;
    },
  };
}

function once(result) {
  let given = false;
  return { next: () => (given ? null : ((given = true), result)) };
}
