// The records read so far, in batches: every value folded and joined with SEP, with where each ends;
// search for words in one column or any, and a stable sort by a column in Japanese order, numbers by
// value.
import { SEP, finder, foldMany, isDigit } from './fold.js';

export class RecordIndex {
  constructor(width) {
    this.width = width;
    this.total = 0;
    this.batches = [];
    this.ranks = new Map();
    this.collator = new Intl.Collator('ja', { numeric: true });
  }

  /** `raw`: the values of whole records, each ended by SEP. Returns the batch and where each raw value
   * ends (past its SEP), which the page keeps with the values as they stand. */
  add(raw) {
    const ends = [0];
    for (let p = raw.indexOf(SEP); p >= 0; p = raw.indexOf(SEP, p + 1)) ends.push(p + 1);
    const n = ends.length - 1;
    const count = this.width ? n / this.width : 0;
    const foff = new Uint32Array(n + 1);
    const folded = foldMany(raw, foff);
    const batch = { start: this.total, count, folded, foff };
    this.batches.push(batch);
    this.total += count;
    return { batch, off: Uint32Array.from(ends) };
  }

  // Where the search for a word goes on after a hit at value `k`: the next record, or this record's
  // (or the next record's) value in the column searched.
  nextFrom(b, k, column) {
    const width = this.width;
    const r = (k / width) | 0;
    const c = k - r * width;
    if (column < 0) return b.foff[(r + 1) * width];
    if (c === column) return b.foff[k + 1];
    return c < column
      ? b.foff[r * width + column]
      : b.foff[Math.min((r + 1) * width + column, b.foff.length - 1)];
  }

  // One flag a record of batch `b`: it holds the word (`finder`'s, in the column, or in any).
  hitsOf(b, w, column) {
    const hit = new Uint8Array(b.count);
    const { folded, foff } = b;
    let k = 0;
    for (let p = w.find(folded, 0); p >= 0;) {
      while (foff[k + 1] <= p) k++;
      const c = k % this.width;
      if (column < 0 || c === column) hit[(k / this.width) | 0] = 1;
      const next = this.nextFrom(b, k, column);
      if (next === undefined || next >= folded.length) break;
      p = w.find(folded, next);
    }
    return hit;
  }

  /** The records (by number) of the batches holding every word, in the document's order. */
  matchesIn(list, ws, column, filters = []) {
    const out = [];
    // Every word of the search (in its column, or any) and of each column's filter (in that column).
    const terms = ws
      .map((w) => [finder(w), column])
      .concat(...filters.map((f) => f.words.map((w) => [finder(w), f.column])));
    for (const b of list) {
      let keep = null;
      for (const [w, c] of terms) {
        const hit = this.hitsOf(b, w, c);
        if (keep) for (let r = 0; r < b.count; r++) keep[r] &= hit[r];
        else keep = hit;
      }
      for (let r = 0; r < b.count; r++) if (keep[r]) out.push(b.start + r);
    }
    return Int32Array.from(out);
  }

  /** The matches of every batch, in `order` where one is given; null for no words (every record).
   * `filters`: [{ column, words }], each column's own words, all of which must match too. */
  matches(ws, column, order, filters = []) {
    if (!ws.length && !filters.length) return null;
    const found = this.matchesIn(this.batches, ws, column, filters);
    if (!order) return found;
    const mark = new Uint8Array(this.total);
    for (const i of found) mark[i] = 1;
    return order.filter((i) => mark[i]);
  }

  // The column's folded values: each distinct one once (`values`) and which one every record holds
  // (`of`) while they repeat enough for that to pay, else every record's own (`of` null).
  valuesOf(column) {
    const seen = new Map();
    let values = [];
    let of = new Int32Array(this.total);
    const most = Math.max(1000, this.total >> 3);
    for (const b of this.batches) {
      for (let r = 0, k = column; r < b.count; r++, k += this.width) {
        const v = b.folded.slice(b.foff[k], b.foff[k + 1] - 1);
        if (!of) {
          values.push(v);
          continue;
        }
        let id = seen.get(v);
        if (id === undefined) seen.set(v, (id = values.push(v) - 1));
        of[b.start + r] = id;
        if (values.length > most) {
          values = Array.from(of.subarray(0, b.start + r + 1), (i) => values[i]);
          of = null;
        }
      }
    }
    return { values, of };
  }

  // Each record's place among the column's distinct folded values in Japanese order, kept until more
  // records come. The values are put in order by their keys (see `sortKeys`) and then checked
  // neighbour by neighbour with the collator, which also tells the equal ones; where a key misjudged a
  // pair the collator's own sort mends the order, so the result is the collator's either way.
  rankOf(column) {
    const kept = this.ranks.get(column);
    if (kept && kept.total === this.total) return kept;
    const { values, of } = this.valuesOf(column);
    const compare = this.collator.compare;
    const tie = (a, b) => (values[a] === values[b] ? 0 : compare(values[a], values[b]));
    let sorted = sortKeys(values, tie);
    let rank = levelsOf(sorted, tie);
    if (!rank) rank = levelsOf((sorted = Array.from(sorted).sort(tie)), tie);
    const levels = sorted.length ? rank[sorted[sorted.length - 1]] + 1 : 0;
    if (of) for (let i = 0; i < of.length; i++) of[i] = rank[of[i]];
    const entry = { rank: of || rank, levels, total: this.total };
    this.ranks.set(column, entry);
    return entry;
  }

  /** Every record ordered by the columns of `keys` ({ column, direction }, the first deciding first), each
   * up (`direction` > 0) or down; records equal in every key keep the document's order. Null for no
   * keys or a column that is not there. */
  sortOrder(keys) {
    if (!keys || !keys.length || keys.some((k) => !(k.column >= 0 && k.column < this.width))) return null;
    let order = null;
    // A stable counting sort by each key's ranks, the last key first.
    for (let k = keys.length - 1; k >= 0; k--) {
      const { rank, levels } = this.rankOf(keys[k].column);
      const up = keys[k].direction > 0;
      const starts = new Int32Array(levels + 1);
      for (let i = 0; i < this.total; i++) starts[(up ? rank[i] : levels - 1 - rank[i]) + 1]++;
      for (let l = 0; l < levels; l++) starts[l + 1] += starts[l];
      const out = new Int32Array(this.total);
      for (let j = 0; j < this.total; j++) {
        const i = order ? order[j] : j;
        out[starts[up ? rank[i] : levels - 1 - rank[i]]++] = i;
      }
      order = out;
    }
    return order;
  }
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

const DIGIT_0 = 0x30;
const DEEPEST = 1 << 12;

/** The numbers 0 to n - 1 of the `values` in order of their keys, values of equal keys by `tie`. A
 * value's key is the primary weight of each character (its place among the column's characters by a
 * collator that sees letters only; ignorable ones left out), a run of digits as one weight for numbers,
 * its length without leading zeros and its digits: so most pairs are told apart by comparing small
 * integers, which a radix quicksort does without calling the collator. */
export function sortKeys(values, tie) {
  // Weights of the characters below U+10000 by their code, of the others in a map; 1 marks one seen.
  const table = new Uint16Array(0x10000);
  const astral = new Map();
  let size = 0;
  for (const v of values) {
    size += v.length;
    for (let i = 0; i < v.length; i++) {
      const c = v.charCodeAt(i);
      if (isDigit(c)) {
        if (!isDigit(v.charCodeAt(i + 1))) size += 2;
      } else if (c >= 0xd800 && c < 0xdc00 && i + 1 < v.length) {
        astral.set(v.codePointAt(i++), 1);
      } else {
        table[c] = 1;
      }
    }
  }
  const ids = new Int32Array(values.length).map((_, i) => i);
  const number = weigh(table, astral);
  if (!number) return ids.sort(tie);
  const n = values.length;
  const keys = {
    K: new Uint16Array(size),
    S: new Uint32Array(n),
    E: new Uint32Array(n),
    scratch: new Float64Array(n),
  };
  const K = keys.K;
  let at = 0;
  for (let n = 0; n < values.length; n++) {
    const v = values[n];
    keys.S[n] = at;
    for (let i = 0; i < v.length; i++) {
      const c = v.charCodeAt(i);
      if (!isDigit(c)) {
        const w = c >= 0xd800 && c < 0xdc00 && i + 1 < v.length ? astral.get(v.codePointAt(i++)) : table[c];
        if (w) K[at++] = w;
        continue;
      }
      let e = i;
      while (isDigit(v.charCodeAt(e + 1))) e++;
      while (i < e && v.charCodeAt(i) === DIGIT_0) i++;
      K[at++] = number;
      K[at++] = Math.min(e - i + 1, 0xfffe);
      for (; i <= e; i++) K[at++] = v.charCodeAt(i) - DIGIT_0 + 1;
      i = e;
    }
    keys.E[n] = at;
  }
  let top = 10;
  for (let j = 0; j < at; j++) if (K[j] > top) top = K[j];
  keys.bits = Math.ceil(Math.log2(top + 1));
  keys.idBits = Math.max(1, Math.ceil(Math.log2(n)));
  radixSort(ids, 0, n, 0, keys, tie);
  return ids;
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
// the work, then each run of equal weights again from further on. Ids of equal whole keys go by `tie`.
function radixSort(ids, lo, hi, d, keys, tie) {
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
      if (E[ids[k]] - S[ids[k]] <= d + per || d > DEEPEST)
        ids.set(Array.from(ids.subarray(k, e)).sort(tie), k);
      else radixSort(ids, k, e, d + per, keys, tie);
    }
    k = e;
  }
}
