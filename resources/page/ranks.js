// The places of a column's values in Japanese order (the collator's, numbers by value), found mostly by
// comparing small integers: each value's key is the primary weight of each of its characters, a run of
// digits as one weight for numbers, its length without leading zeros and its digits. A radix quicksort
// puts the keys in order without calling the collator; values of equal keys go by the collator.
import { isDigit } from './fold.js';

const DIGIT_0 = 0x30;
const DEEPEST = 1 << 12;

/** The values to put in order: value i is texts[which[i]] from start[i] to end[i] (a batch's folded
 * text, so that no value is cut out of it unless the collator has to see it). */
export class Spans {
  constructor(texts, which, start, end) {
    Object.assign(this, { texts, which, start, end, count: start.length });
  }

  value(i) {
    return this.texts[this.which[i]].slice(this.start[i], this.end[i]);
  }

  same(a, b) {
    const s = this.texts[this.which[a]];
    const t = this.texts[this.which[b]];
    const i = this.start[a];
    const j = this.start[b];
    const n = this.end[a] - i;
    if (n !== this.end[b] - j) return false;
    for (let k = 0; k < n; k++) if (s.charCodeAt(i + k) !== t.charCodeAt(j + k)) return false;
    return true;
  }
}

/** Spans of whole strings. */
export const spansOf = (values) => {
  const start = new Uint32Array(values.length);
  const end = new Uint32Array(values.length);
  for (let i = 0, at = 0; i < values.length; at += values[i++].length)
    [start[i], end[i]] = [at, at + values[i].length];
  return new Spans([values.join('')], new Uint8Array(values.length), start, end);
};

// Characters whose primary weight the collator gives alone, whatever stands around them: no
// expansion (œ, æ, ß), contraction or mark that reads the character before it (々, ゝ, 〃). Where
// a value holds only these, an order of keys is the collator's and is taken without checking it.
const plain = (c) =>
  (c >= 0x20 && c <= 0x7e) ||
  (c >= 0xc0 && c <= 0xff && ![0xc6, 0xd0, 0xd7, 0xde, 0xdf, 0xe6, 0xf0, 0xf7, 0xfe].includes(c)) ||
  (c >= 0x3041 && c <= 0x3096) ||
  c === 0x3001 ||
  c === 0x3002 ||
  (c >= 0x3008 && c <= 0x3011) ||
  c === 0x30fb ||
  (c >= 0x3400 && c <= 0x4dbf) ||
  (c >= 0x4e00 && c <= 0x9fff) ||
  (c >= 0x20000 && c <= 0x3ffff);

/** Each value's rank (from 0; equal values share one) in the order of `compare`, and how many ranks
 * there are. */
export function rankSpans(spans, compare) {
  const tie = (a, b) => (spans.same(a, b) ? 0 : compare(spans.value(a), spans.value(b)));
  const keys = keysOf(spans);
  const ids = new Int32Array(spans.count).map((_, i) => i);
  let rank = null;
  if (keys) {
    radixSort(ids, 0, ids.length, 0, keys, spans, tie);
    rank = levelsOf(ids, (a, b) => {
      if (!sameKey(keys, a, b)) return keys.plain ? -1 : compare(spans.value(a), spans.value(b));
      return tie(a, b);
    });
  }
  // Keys that cannot be made, or an order the collator disagrees with: the collator's own sort.
  let sorted = ids;
  if (!rank) rank = levelsOf((sorted = Array.from(ids).sort(tie)), tie);
  return { rank, levels: sorted.length ? rank[sorted[sorted.length - 1]] + 1 : 0 };
}

// Each value's place in `sorted` counted by the values before it that are less (by `compare`), null
// when two neighbours are out of order.
function levelsOf(sorted, compare) {
  const level = new Int32Array(sorted.length);
  for (let k = 1, l = 0; k < sorted.length; k++) {
    const c = compare(sorted[k - 1], sorted[k]);
    if (c > 0) return null;
    if (c < 0) l++;
    level[sorted[k]] = l;
  }
  return level;
}

function sameKey({ K, S, E }, a, b) {
  if (E[a] - S[a] !== E[b] - S[b]) return false;
  for (let i = S[a], j = S[b]; i < E[a]; i++, j++) if (K[i] !== K[j]) return false;
  return true;
}

// Calls `each(text, start, end)` for every value.
function eachValue(spans, each) {
  for (let i = 0; i < spans.count; i++) each(spans.texts[spans.which[i]], spans.start[i], spans.end[i]);
}

// The keys of every value, packed: value i's are K[S[i]] to K[E[i]]; null when the column holds too
// many different characters for 16-bit weights.
function keysOf(spans) {
  // Weights of the characters below U+10000 by their code, of the others in a map; 1 marks one seen.
  const table = new Uint16Array(0x10000);
  const astral = new Map();
  let size = 0;
  eachValue(spans, (v, from, to) => {
    size += to - from;
    for (let i = from; i < to; i++) {
      const c = v.charCodeAt(i);
      if (isDigit(c)) {
        if (!isDigit(v.charCodeAt(i + 1)) || i + 1 === to) size += 2;
      } else if (c >= 0xd800 && c < 0xdc00 && i + 1 < to) {
        astral.set(v.codePointAt(i++), 1);
      } else {
        table[c] = 1;
      }
    }
  });
  const all = { plain: true };
  for (const c of astral.keys()) all.plain &&= plain(c);
  for (let c = 0; c < 0x10000 && all.plain; c++) if (table[c] && !plain(c)) all.plain = false;
  const number = weigh(table, astral);
  if (!number) return null;
  const n = spans.count;
  const K = new Uint16Array(size);
  const [S, E] = [new Uint32Array(n), new Uint32Array(n)];
  let at = 0;
  let k = 0;
  eachValue(spans, (v, from, to) => {
    S[k] = at;
    for (let i = from; i < to; i++) {
      const c = v.charCodeAt(i);
      if (!isDigit(c)) {
        const w = c >= 0xd800 && c < 0xdc00 && i + 1 < to ? astral.get(v.codePointAt(i++)) : table[c];
        if (w) K[at++] = w;
        continue;
      }
      let e = i;
      while (e + 1 < to && isDigit(v.charCodeAt(e + 1))) e++;
      while (i < e && v.charCodeAt(i) === DIGIT_0) i++;
      K[at++] = number;
      K[at++] = Math.min(e - i + 1, 0xfffe);
      for (; i <= e; i++) K[at++] = v.charCodeAt(i) - DIGIT_0 + 1;
      i = e;
    }
    E[k++] = at;
  });
  let top = 10;
  for (let j = 0; j < at; j++) if (K[j] > top) top = K[j];
  const bits = Math.ceil(Math.log2(top + 1));
  const idBits = Math.max(1, Math.ceil(Math.log2(n)));
  return { K, S, E, bits, idBits, scratch: new Float64Array(n), plain: all.plain };
}

// Gives every character marked in `table` and `astral` its primary weight from 1 up (0 for one the
// collator ignores) and returns the weight of a run of digits: where "0" falls among them. 0 when
// there are too many weights for 16 bits.
function weigh(table, astral) {
  const primary = new Intl.Collator('ja', { numeric: true, sensitivity: 'base' }).compare;
  const codes = [...astral.keys(), -1];
  for (let c = 0; c < 0x10000; c++) if (table[c]) codes.push(c);
  if (codes.length >= 0xffff) return 0;
  const chars = codes.map((c) => (c < 0 ? '0' : String.fromCodePoint(c)));
  const order = chars.map((_, i) => i).sort((a, b) => primary(chars[a], chars[b]));
  let w = 0;
  let number = 0;
  order.forEach((i, k) => {
    if (k === 0 || primary(chars[order[k - 1]], chars[i]) !== 0) w++;
    const weight = primary(chars[i], '') === 0 ? 0 : w;
    if (codes[i] < 0) number = w;
    else if (codes[i] > 0xffff) astral.set(codes[i], weight);
    else table[codes[i]] = weight;
  });
  return number;
}

// Sorts ids[lo, hi), whose keys agree before place `d`, by their keys from `d` on: the next few
// weights of each key packed above its id into one number, so that the engine's own numeric sort does
// the work, then each run of equal weights again from further on. Ids of equal whole keys stay in
// their order where their values are the same, else go by `tie`.
function radixSort(ids, lo, hi, d, keys, spans, tie) {
  const { K, S, E, bits, idBits, scratch } = keys;
  const per = Math.floor((53 - idBits) / bits);
  const scale = 2 ** idBits;
  const step = 2 ** bits;
  for (let k = lo; k < hi; k++) {
    const v = ids[k];
    let prefix = 0;
    for (let j = S[v] + d, end = j + per; j < end; j++) prefix = prefix * step + (j < E[v] ? K[j] : 0);
    scratch[k] = prefix * scale + v;
  }
  const packed = scratch.subarray(lo, hi).sort();
  for (let k = lo; k < hi; k++) ids[k] = packed[k - lo] % scale;
  for (let k = lo; k < hi;) {
    const prefix = Math.floor(scratch[k] / scale);
    let e = k + 1;
    while (e < hi && Math.floor(scratch[e] / scale) === prefix) e++;
    if (e - k > 1) {
      // Keys equal to their end, or alike for so long that the collator may as well decide.
      if (E[ids[k]] - S[ids[k]] <= d + per || d > DEEPEST) {
        const run = ids.subarray(k, e);
        if (!run.every((id) => spans.same(run[0], id))) ids.set(Array.from(run).sort(tie), k);
      } else radixSort(ids, k, e, d + per, keys, spans, tie);
    }
    k = e;
  }
}
