// Text folding: what a search compares. Width (NFKC), katakana to hiragana, the dash family to "-",
// case. A query is folded by `fold`; the values of a whole batch at once by `foldMany`, which must give
// every value exactly what `fold` gives it.

// Ends every value in a batch of joined values.
export const SEP = '\u0000';
const KANA = /[\u30A1-\u30F6\u30FD\u30FE]/g;
const DASHES = /[\u2010-\u2015\u2212\u2E3A\u2E3B\u30FC\uFE58\uFE63\uFF0D\uFF70]/g;
// Letters with case beyond these ranges are rare in these documents: only then is a whole batch lowered.
const CASELESS = /[^\u0000-\u00BF\u3000-\u9FFF\uFF00-\uFFEF]/;
const utf16 = new TextDecoder('utf-16le', { ignoreBOM: true });

/** UTF-16 code units to text, every one kept (a U+FEFF at the start too). */
export const fromCodes = (codes) => utf16.decode(codes);

export function fold(s) {
  return s
    .normalize('NFKC')
    .toLowerCase()
    .replace(KANA, (c) => String.fromCharCode(c.charCodeAt(0) - 0x60))
    .replace(DASHES, '-');
}

const isKatakana = (c) => (c >= 0x30a1 && c <= 0x30f6) || c === 0x30fd || c === 0x30fe;
const isDash = (c) =>
  (c >= 0x2010 && c <= 0x2015) ||
  c === 0x2212 ||
  c === 0x2e3a ||
  c === 0x2e3b ||
  c === 0x30fc ||
  c === 0xfe58 ||
  c === 0xfe63 ||
  c === 0xff0d ||
  c === 0xff70;

/** Folds values each ended by SEP; `ends[k + 1]` receives where the k-th folded value ends, past its SEP. */
export function foldMany(s, ends) {
  s = s.normalize('NFKC');
  if (CASELESS.test(s)) s = s.toLowerCase();
  const codes = new Uint16Array(s.length);
  for (let i = 0, k = 0; i < s.length; i++) {
    let c = s.charCodeAt(i);
    if (c < 0x80) {
      if (c >= 0x41 && c <= 0x5a) c += 0x20;
      else if (c === 0) ends[++k] = i + 1;
    } else if (isKatakana(c)) {
      c -= 0x60;
    } else if (isDash(c)) {
      c = 0x2d;
    }
    codes[i] = c;
  }
  return fromCodes(codes);
}

/** The folded words of a query: blanks (and control characters) separate them. */
export const words = (q) =>
  fold(q.replace(/[\u0000-\u001F]/g, ' '))
    .split(/\s+/)
    .filter(Boolean);
