// The records read so far, in batches: every value folded and joined with SEP, with where each ends;
// search for words in one column or any, and a stable sort by a column in Japanese order, numbers by
// value.
import { SEP, finder, foldMany } from './fold.js';

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
  matchesIn(list, ws, column) {
    const out = [];
    const finders = ws.map(finder);
    for (const b of list) {
      let keep = null;
      for (const w of finders) {
        const hit = this.hitsOf(b, w, column);
        if (keep) for (let r = 0; r < b.count; r++) keep[r] &= hit[r];
        else keep = hit;
      }
      for (let r = 0; r < b.count; r++) if (keep[r]) out.push(b.start + r);
    }
    return Int32Array.from(out);
  }

  /** The matches of every batch, in `order` where one is given; null for no words (every record). */
  matches(ws, column, order) {
    if (!ws.length) return null;
    const found = this.matchesIn(this.batches, ws, column);
    if (!order) return found;
    const mark = new Uint8Array(this.total);
    for (const i of found) mark[i] = 1;
    return order.filter((i) => mark[i]);
  }

  // Each record's place among the column's distinct folded values in Japanese order.
  rankOf(column) {
    if (this.ranks.has(column)) return this.ranks.get(column);
    const ids = new Int32Array(this.total);
    const seen = new Map();
    const distinct = [];
    for (const b of this.batches) {
      for (let r = 0; r < b.count; r++) {
        const k = r * this.width + column;
        const v = b.folded.slice(b.foff[k], b.foff[k + 1] - 1);
        let id = seen.get(v);
        if (id === undefined) seen.set(v, (id = distinct.push(v) - 1));
        ids[b.start + r] = id;
      }
    }
    const compare = this.collator.compare;
    const sorted = distinct.map((v, i) => i).sort((a, b) => compare(distinct[a], distinct[b]));
    const rank = new Int32Array(distinct.length);
    let level = 0;
    sorted.forEach((id, k) => {
      if (k > 0 && compare(distinct[sorted[k - 1]], distinct[id]) !== 0) level++;
      rank[id] = level;
    });
    for (let i = 0; i < this.total; i++) ids[i] = rank[ids[i]];
    const entry = { rank: ids, levels: level + 1 };
    this.ranks.set(column, entry);
    return entry;
  }

  /** Every record ordered by the column, up (`direction` > 0) or down; equal values keep the
   * document's order either way (a counting sort on the ranks). Null for no such column. */
  sortOrder(column, direction) {
    if (column < 0 || column >= this.width) return null;
    const { rank, levels } = this.rankOf(column);
    const place = (i) => (direction > 0 ? rank[i] : levels - 1 - rank[i]);
    const starts = new Int32Array(levels + 1);
    for (let i = 0; i < this.total; i++) starts[place(i) + 1]++;
    for (let l = 0; l < levels; l++) starts[l + 1] += starts[l];
    const out = new Int32Array(this.total);
    for (let i = 0; i < this.total; i++) out[starts[place(i)]++] = i;
    return out;
  }
}
