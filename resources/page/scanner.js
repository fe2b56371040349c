// Reads the document as the tool writes it, piece by piece as its bytes arrive: the declaration, the
// root, record elements holding field elements with text. Anything else (comments, attributes, nested
// or misspelt elements, a raw "&" or "<", a record left open) makes it give up, and the page reads the
// document through the platform's XML parser instead.
import { SEP } from './fold.js';
import { decoderFor, ShiftJisDecoder } from './shiftjis.js';
import { RecordBytes } from './bytescan.js';
import { RECORD, isXmlName, unescapeXml, columnsOf, placeOf } from './xml.js';

const RECORD_OPEN = '<' + RECORD + '>';
const RECORD_CLOSE = '</' + RECORD + '>';
const ROOT = /^\uFEFF?\s*(?:<\?xml[^<>]*\?>)?\s*<([^\s<>/!?]+)>/;
const CONTROL = /[\u0000-\u0008\u000B\u000C\u000E-\u001F\uFFFE\uFFFF]/;
// As many bytes as encodingOf reads.
const HEAD_BYTES = 120;
const BEFORE_ROOT = 0;
const IN_ROOT = 1;
const AFTER_ROOT = 2;

const closing = new Map();
// The closing tag of a field element, or null for a name an XML reader would refuse.
function closeOf(n) {
  let c = closing.get(n);
  if (c === undefined) closing.set(n, (c = isXmlName(n) ? '</' + n + '>' : null));
  return c;
}

const escapeRegExp = (n) => n.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');

/** Where the values of whole records go: runs of joined values (`parts`), and single values. */
export class Collected {
  constructor() {
    this.parts = [];
    this.values = [];
  }

  flush() {
    if (this.values.length) this.parts.push(this.values.join(SEP) + SEP);
    this.values = [];
  }
}

export class Scanner {
  constructor(givenNames) {
    this.names = givenNames.slice();
    this.columns = null;
    this.buf = '';
    this.state = BEFORE_ROOT;
    this.rootClose = '';
    this.decoder = null;
    this.head = null;
    this.amp = -2;
    this.whole = null;
    this.wholeValues = '';
    this.tags = [];
    this.values = [];
    // Reading records straight from the bytes (see bytescan.js): the reader, and the bytes of a record
    // not yet whole.
    this.bytes = null;
    this.pending = null;
  }

  /** A piece of the document's bytes: the values of the records it completes go to `out` (a
   * Collected), each ended by SEP; false when the text is not of the simple form. */
  push(bytes, last, out) {
    if (!this.decoder) {
      // The encoding is told by the document's first bytes: they are held until there are enough.
      if (this.head) {
        const joined = new Uint8Array(this.head.length + bytes.length);
        joined.set(this.head);
        joined.set(bytes, this.head.length);
        bytes = joined;
      }
      this.head = bytes.length < HEAD_BYTES && !last ? bytes : null;
      if (this.head) return true;
      this.decoder = decoderFor(bytes);
    }
    if (this.pending) return this.pushBytes(bytes, last, out);
    const text = this.decoder.decode(bytes, { stream: !last });
    if (CONTROL.test(text)) return false;
    this.buf += text;
    this.amp = -2;
    const ok = this.scan(last, out);
    if (ok && !last) this.readBytesFrom(bytes);
    return ok;
  }

  // Goes on reading records from the bytes where the text still to read is the end of `bytes` after the
  // last record's close: a Shift_JIS document of the simple form, between its records.
  readBytesFrom(bytes) {
    const d = this.decoder;
    if (this.state !== IN_ROOT || !this.whole || !(d instanceof ShiftJisDecoder) || d.fallback) return;
    if (this.bytes === null) this.bytes = RecordBytes.of(RECORD, this.names) || false;
    if (!this.bytes) return;
    const close = this.bytes.close;
    let from = -1;
    for (
      let p = bytes.lastIndexOf(close[0]);
      p >= 0 && from < 0;
      p = p ? bytes.lastIndexOf(close[0], p - 1) : -1
    )
      if (close.every((b, k) => bytes[p + k] === b)) from = p + close.length;
    if (from < 0) return;
    // The text left may begin after the blanks that follow that close.
    const decoder = new ShiftJisDecoder();
    const tail = decoder.decode(bytes.subarray(from), { stream: true });
    const skipped = tail.length - this.buf.length;
    if (!tail.endsWith(this.buf) || /[^ \t\r\n]/.test(tail.slice(0, skipped)) || decoder.carry !== d.carry)
      return;
    from += skipped;
    this.pending = bytes.slice(from);
    this.buf = '';
    d.carry = -1;
  }

  // Records read from the bytes; from the first thing that is not a record of the simple form on, the
  // bytes are read as text again.
  pushBytes(bytes, last, out) {
    let data = bytes;
    if (this.pending.length) {
      data = new Uint8Array(this.pending.length + bytes.length);
      data.set(this.pending);
      data.set(bytes, this.pending.length);
    }
    const { text, end, more } = this.bytes.read(data);
    if (text) {
      out.flush();
      out.parts.push(text);
    }
    if (more && !last) {
      this.pending = data.slice(end);
      return true;
    }
    this.pending = null;
    return this.push(data.subarray(end), last, out);
  }

  // The first "&" at or after `from`, Infinity for none; remembered until the text changes.
  ampAt(from) {
    if (this.amp !== -1 && this.amp < from) this.amp = this.buf.indexOf('&', from);
    return this.amp < 0 ? Infinity : this.amp;
  }

  setNames(tags) {
    if (!this.names.length) this.names = tags.slice();
    this.columns = columnsOf(this.names);
    // Records whose fields are exactly the named ones, in order, with plain text: one pattern turns
    // a run of them into their values, each ended by SEP, without looking at them one by one.
    if (this.names.length && this.names.every((n) => closeOf(n))) {
      const text = '[^<&\\]]*';
      const field = (n) => text + '<' + escapeRegExp(n) + '>([^<&\\]\\r]*)</' + escapeRegExp(n) + '>';
      this.whole = new RegExp(
        text + RECORD_OPEN + this.names.map(field).join('') + text + RECORD_CLOSE,
        'gy',
      );
      this.wholeValues = this.names.map((n, i) => '$' + (i + 1)).join(SEP) + SEP;
    }
  }

  place(out) {
    if (!this.columns) this.setNames(this.tags);
    const { tags, values, names } = this;
    if (tags.length === names.length && tags.every((t, i) => t === names[i])) {
      for (const v of values) out.values.push(v);
      return;
    }
    for (const c of this.columns) {
      const k = placeOf(c, tags);
      out.values.push(k >= 0 ? values[k] : '');
    }
  }

  // Takes every whole record in the text so far; false when the text is not of the simple form.
  scan(last, out) {
    let pos = 0;
    if (this.state === BEFORE_ROOT) {
      const m = ROOT.exec(this.buf.slice(0, 4096));
      if (!m) return !last && this.buf.length < 4096;
      if (!closeOf(m[1]) || m[1] === RECORD) return false;
      this.rootClose = '</' + m[1] + '>';
      this.state = IN_ROOT;
      pos = m[0].length;
    }
    if (this.state === IN_ROOT && !this.columns && this.names.length) this.setNames(this.names);
    pos = this.scanTags(this.takeRun(pos, out), last, out);
    if (pos < 0) return false;
    this.buf = this.buf.slice(pos);
    this.amp = -2;
    return !last || this.state === AFTER_ROOT;
  }

  // The run of plain records up to the last whole one in one pattern; where the run stops.
  takeRun(pos, out) {
    const lastClose = this.state === IN_ROOT && this.whole ? this.buf.lastIndexOf(RECORD_CLOSE) : -1;
    if (lastClose <= pos) return pos;
    const regionEnd = lastClose + RECORD_CLOSE.length;
    const values = this.buf.slice(pos, regionEnd).replace(this.whole, this.wholeValues);
    if (values.indexOf('<') >= 0) return pos;
    out.flush();
    out.parts.push(values);
    return regionEnd;
  }

  // Records and the root's end one tag at a time; where the text still to read begins, -1 to give up.
  scanTags(pos, last, out) {
    const buf = this.buf;
    for (;;) {
      const lt = buf.indexOf('<', pos);
      const end = lt < 0 ? buf.length : lt;
      if (this.ampAt(pos) < end) return -1;
      if (this.state === AFTER_ROOT) return lt >= 0 || /\S/.test(buf.slice(pos, end)) ? -1 : end;
      if (lt < 0) return end;
      if (buf.startsWith(RECORD_OPEN, lt)) {
        const close = buf.indexOf(RECORD_CLOSE, lt);
        if (close < 0) return lt;
        if (!this.readRecord(lt, close)) return -1;
        this.place(out);
        pos = close + RECORD_CLOSE.length;
      } else if (buf.startsWith(this.rootClose, lt)) {
        this.state = AFTER_ROOT;
        pos = lt + this.rootClose.length;
      } else if (!last && buf.length - lt < Math.max(RECORD_OPEN.length, this.rootClose.length)) {
        return lt;
      } else {
        return -1;
      }
    }
  }

  // The fields of the record between `lt` and its closing tag into tags and values; false to give up.
  readRecord(lt, close) {
    const buf = this.buf;
    this.tags.length = 0;
    this.values.length = 0;
    for (let p = lt + RECORD_OPEN.length; ;) {
      const a = buf.indexOf('<', p);
      if (this.ampAt(p) < a) return false;
      if (a === close) return true;
      const gt = buf.indexOf('>', a);
      if (gt < 0 || gt > close) return false;
      const tag = buf.slice(a + 1, gt);
      const closeTag = closeOf(tag);
      if (closeTag === null) return false;
      const valueEnd = buf.indexOf('<', gt + 1);
      if (!buf.startsWith(closeTag, valueEnd)) return false;
      let value = buf.slice(gt + 1, valueEnd);
      if (this.ampAt(gt + 1) < valueEnd && (value = unescapeXml(value)) === null) return false;
      if (value.indexOf('\r') >= 0 || value.indexOf(']]>') >= 0) return false;
      this.tags.push(tag);
      this.values.push(value);
      p = valueEnd + closeTag.length;
    }
  }
}
