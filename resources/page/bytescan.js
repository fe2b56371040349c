// The tool's own records read straight from Shift_JIS bytes: the tags matched as bytes and only the
// values decoded, by the tables, into one text of values each ended by SEP. It reads what the
// scanner's one pattern for a run of records reads, and stops, for the scanner to go on as text, at
// the first thing it does not know (the root's end, a reference, another form).
import { shiftJisTables, shiftJisBytes } from './shiftjis.js';
import { fromCodes } from './fold.js';

const LT = 0x3c;
const GT = 0x3e;
const AMP = 0x26;
const BRACKET = 0x5d;
const CR = 0x0d;

// A control character that the scanner refuses in text (the tab and the line ends are kept).
const isControl = (b) => b < 0x20 && b !== 0x09 && b !== 0x0a && b !== 0x0d;

// Where the text between tags from `p` ends (its '<'), `n` at the data's end, -1 for what the pattern
// does not take there ('&', ']', a control character, bytes that are no character).
function between(data, p, n, single, pair) {
  while (p < n) {
    const b = data[p];
    if (b === LT) return p;
    if (b < 0x80) {
      if (b === AMP || b === BRACKET || isControl(b)) return -1;
      p++;
    } else if (single[b] >= 0) {
      p++;
    } else {
      if (p + 1 >= n) return n;
      if (!pair[(b << 8) | data[p + 1]]) return -1;
      p += 2;
    }
  }
  return n;
}

// 1 where `pattern` stands at `p`, 0 where something else does, -1 where the data ends first.
function at(data, p, n, pattern) {
  for (let k = 0; k < pattern.length; k++) {
    if (p + k >= n) return -1;
    if (data[p + k] !== pattern[k]) return 0;
  }
  return 1;
}

export class RecordBytes {
  /** For records named `record` of the fields `names`, in order; null where a name has no Shift_JIS. */
  static of(record, names) {
    const open = shiftJisBytes('<' + record + '>');
    const fields = names.map((n) => [shiftJisBytes('<' + n + '>'), shiftJisBytes('</' + n + '>')]);
    if (fields.some(([a, b]) => !a || !b)) return null;
    return new RecordBytes(open, shiftJisBytes('</' + record + '>'), fields);
  }

  constructor(open, close, fields) {
    Object.assign(this, { open, close, fields });
  }

  /** The whole records at the start of `data`: their values (`text`), where they end (`end`) and
   * why the reading stopped there (`more`: the data ended inside a record or before the next one). */
  read(data) {
    const { single, pair } = shiftJisTables();
    const n = data.length;
    const codes = new Uint16Array(n);
    let [j, kept, end] = [0, 0, 0];
    // The end of one part of a record (-1: not of the pattern, n: the data ended) once its pattern is
    // matched, else the same signals.
    const tag = (p, pattern) => {
      const q = between(data, p, n, single, pair);
      if (q < 0 || q >= n) return q;
      const m = at(data, q, n, pattern);
      return m > 0 ? q + pattern.length : m < 0 ? n : -1;
    };
    for (let p = 0; ;) {
      let q = tag(p, this.open);
      for (let f = 0; f < this.fields.length && q >= 0 && q < n; f++) {
        q = tag(q, this.fields[f][0]);
        // The value: up to the next '<', decoded; a reference, a CR or "]]>" is left to the scanner.
        while (q >= 0 && q < n) {
          const b = data[q];
          if (b === LT) break;
          if (b < 0x80) {
            const refused = b === AMP || b === CR || isControl(b);
            if (
              refused ||
              (b === BRACKET && (q + 2 >= n || (data[q + 1] === BRACKET && data[q + 2] === GT)))
            ) {
              q = b === BRACKET && q + 2 >= n ? n : -1;
              break;
            }
            codes[j++] = b;
            q++;
          } else if (single[b] >= 0) {
            codes[j++] = single[b];
            q++;
          } else if (q + 1 >= n) {
            q = n;
          } else {
            const c = pair[(b << 8) | data[q + 1]];
            if (!c) q = -1;
            else ((codes[j++] = c), (q += 2));
          }
        }
        if (q < 0 || q >= n) break;
        const m = at(data, q, n, this.fields[f][1]);
        q = m > 0 ? q + this.fields[f][1].length : m < 0 ? n : -1;
        codes[j++] = 0;
      }
      if (q >= 0 && q < n) q = tag(q, this.close);
      if (q < 0 || q >= n) return { text: fromCodes(codes.subarray(0, kept)), end, more: q >= n };
      // The values of this record are kept: the next record's go after them.
      p = end = q;
      kept = j;
    }
  }
}
