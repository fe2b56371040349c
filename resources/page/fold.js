// Text folding: what a search compares. Width (NFKC), katakana to hiragana, the dash family to "-",
// case, variant kanji to their common form, and blanks dropped, except within the separators between
// two digits ("03 1234", "(03) 1234"), which still part the numbers. A value is folded by `fold`; the
// values of a whole batch at once by `foldMany`, which must give every value exactly what `fold` gives
// it. A query is folded by `words`, and `finder` looks for one of its words in folded text.
import { VARIANT } from './variants.js';

// Ends every value in a batch of joined values.
export const SEP = '\u0000';
// Letters with case beyond these ranges are rare in these documents: only then is a whole batch lowered.
const CASELESS = /[^\u0000-\u00BF\u3000-\u9FFF\uFF00-\uFFEF]/;
const utf16 = new TextDecoder('utf-16le', { ignoreBOM: true });

/** UTF-16 code units to text, every one kept (a U+FEFF at the start too). */
export const fromCodes = (codes) => utf16.decode(codes);

/** Whether a UTF-16 code is an ASCII digit. */
export const isDigit = (c) => c >= 0x30 && c <= 0x39;
// What may stand between the digits of one number: blanks (folded to " "), dashes, parentheses.
const isSeparator = (c) => c === 0x20 || c === 0x2d || c === 0x28 || c === 0x29;

// Each code unit of NFKC text as a search reads it, looked up in one table: ASCII capitals lowered (other
// letters are lowered before), katakana to hiragana, the dash family to "-", blanks to " ", variant kanji
// to their common form.
const FOLD = new Uint16Array(0x10000).map((_, c) => c);
for (let c = 0x41; c <= 0x5a; c++) FOLD[c] = c + 0x20;
for (let c = 0x30a1; c <= 0x30f6; c++) FOLD[c] = c - 0x60;
for (const c of [0x30fd, 0x30fe]) FOLD[c] = c - 0x60;
for (const c of [
  0x2010, 0x2011, 0x2012, 0x2013, 0x2014, 0x2015, 0x2212, 0x2e3a, 0x2e3b, 0x30fc, 0xfe58, 0xfe63, 0xff0d,
  0xff70,
])
  FOLD[c] = 0x2d;
for (const c of [0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x1680, 0x2028, 0x2029, 0xfeff]) FOLD[c] = 0x20;
for (const [variant, common] of VARIANT) FOLD[variant] = common;

// Drops the blanks of codes[start..end) and moves the rest (and their places) down; the new end.
function dropBlanks(codes, start, end, from, to) {
  let out = start;
  for (let i = start; i < end; i++) {
    if (codes[i] === 0x20) continue;
    codes[out] = codes[i];
    if (from) [from[out], to[out]] = [from[i], to[i]];
    out++;
  }
  return out;
}

// Drops the blanks of codes[0..n) but those in a run of separators between two digits, moving `from` and
// `to` (the places in the value each code unit came from) along; records in `ends` where each value
// ends, past its SEP. Returns the length left.
function squeeze(codes, n, ends, from, to) {
  let out = 0;
  let run = -1; // where the separators since the last other character begin
  let digitBefore = false;
  for (let i = 0, k = 0; i < n; i++) {
    const c = codes[i];
    if (!isSeparator(c)) {
      if (run >= 0 && !(digitBefore && isDigit(c))) out = dropBlanks(codes, run, out, from, to);
      run = -1;
      digitBefore = isDigit(c);
    } else if (run < 0) run = out;
    codes[out] = c;
    if (from) [from[out], to[out]] = [from[i], to[i]];
    out++;
    if (c === 0 && ends) ends[++k] = out;
  }
  return run >= 0 ? dropBlanks(codes, run, out, from, to) : out;
}

// Every code unit folded, the blanks kept.
function foldCodes(s) {
  s = s.normalize('NFKC');
  if (CASELESS.test(s)) s = s.toLowerCase();
  const codes = new Uint16Array(s.length);
  for (let i = 0; i < s.length; i++) codes[i] = FOLD[s.charCodeAt(i)];
  return codes;
}

/** Folds values each ended by SEP; `ends[k + 1]` receives where the k-th folded value ends, past its SEP. */
export function foldMany(s, ends) {
  const codes = foldCodes(s);
  return fromCodes(codes.subarray(0, squeeze(codes, codes.length, ends)));
}

export const fold = (s) => foldMany(s + SEP, [0]).slice(0, -1);

/** `value` folded, with the place in `value` where each folded code unit's character begins (`from`)
 * and ends (`to`): each character with its combining marks is folded alone, so that a hit in the folded
 * text leads back to what the value shows. */
export function foldPlaces(value) {
  const pieces = value.match(/[\s\S][\u0300-\u036F\u3099\u309A\uFF9E\uFF9F\uDC00-\uDFFF]*/g) || [];
  const codes = [];
  const from = [];
  const to = [];
  let raw = 0;
  for (const piece of pieces) {
    const f = piece.normalize('NFKC').toLowerCase();
    for (let k = 0; k < f.length; k++)
      (codes.push(FOLD[f.charCodeAt(k)]), from.push(raw), to.push(raw + piece.length));
    raw += piece.length;
  }
  const n = squeeze(codes, codes.length, null, from, to);
  return { text: fromCodes(Uint16Array.from(codes.slice(0, n))), from, to };
}

/** The folded words of a query: blanks (and control characters) separate them. The separators next to
 * a word's digits are left out: a number matches however its digits are parted in the value. */
export const words = (q) =>
  fromCodes(foldCodes(q.replace(/[\u0000-\u001F]/g, ' ')))
    .split(' ')
    .filter(Boolean)
    .map((w) => w.replace(/(\d)[-()]+(?=\d|$)/g, '$1').replace(/^[-()]+(?=\d)/, ''));

/** Finds word `w` (one of `words`) in folded text: `find(text, from)` gives where the next hit at or
 * after `from` begins (-1 for none), `length` how long it is. The digits of a number in `w` match the same digits with separators
 * between them, and the number must be whole there: 2丁目 is not found in 12丁目. */
export function finder(w) {
  const lead = isDigit(w.charCodeAt(0));
  const trail = isDigit(w.charCodeAt(w.length - 1));
  const spread = /\d\d/.test(w)
    ? new RegExp(w.replace(/[\\^$.*+?()[\]{}|/-]/g, '\\$&').replace(/\d(?=\d)/g, '$&[-() ]*'), 'g')
    : null;
  // A word without digits is found as it stands, the way most searches go.
  if (!lead && !trail && !spread) return { find: (text, from) => text.indexOf(w, from), length: w.length };
  return {
    find(text, from) {
      for (let p = from; ; p++) {
        let end;
        if (spread) {
          spread.lastIndex = p;
          const m = spread.exec(text);
          p = m ? m.index : -1;
          end = m && p + m[0].length;
        } else {
          p = text.indexOf(w, p);
          end = p + w.length;
        }
        if (p < 0) return -1;
        if (lead && isDigit(text.charCodeAt(p - 1))) continue;
        if (trail && isDigit(text.charCodeAt(end))) continue;
        this.length = end - p;
        return p;
      }
    },
    length: 0,
  };
}
