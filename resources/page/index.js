// The records read so far, in batches: every value folded and joined with SEP, with where each ends;
// search for words in one column or any, and a stable sort by a column in Japanese order, numbers by
// value.
import { SEP, finder, foldMany } from './fold.js';
import { Spans, spansOf, rankSpans } from './ranks.js';

export class RecordIndex {
  constructor(width) {
    this.width = width;
    this.total = 0;
    this.batches = [];
    this.ranks = new Map();
    this.lists = null;
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

  // One flag a record of batch `b`: it holds the word (`finder`'s, in the column, or in any). In a
  // column with a list, the word is looked for once in each of its values.
  hitsOf(b, w, column) {
    const hit = new Uint8Array(b.count);
    const list = column >= 0 && this.lists && this.lists[column];
    if (list) {
      const holds = list.values.map((v) => (w.find(v, 0) >= 0 ? 1 : 0));
      for (let r = 0; r < b.count; r++) hit[r] = holds[list.of[b.start + r]];
      return hit;
    }
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

  // Flags of batch b's records whose value in the pick's column is one of its folded values: by the
  // column's list where it has one, else value by value.
  pickedIn(b, pick) {
    const hit = new Uint8Array(b.count);
    const list = this.lists && this.lists[pick.column];
    if (list) {
      const chosen = list.values.map((v) => pick.values.has(v));
      for (let r = 0; r < b.count; r++) hit[r] = chosen[list.of[b.start + r]];
      return hit;
    }
    const { folded, foff } = b;
    for (let r = 0, k = pick.column; r < b.count; r++, k += this.width)
      hit[r] = pick.values.has(folded.slice(foff[k], foff[k + 1] - 1)) ? 1 : 0;
    return hit;
  }

  /** The records (by number) of the batches that `q` takes, in the document's order. `q`: { words,
   * column, filters, picks }: every word in the column (or any, for -1); each filter's ({ column, words })
   * words in its column; for each pick ({ column, values }), a value of its set in its column.
   * `counts` (optional): for each column with a list, how many records of each value `q` would take
   * without that column's own pick; counted into (one array per column, zeros at first). */
  matchesIn(list, q, counts = null) {
    const out = [];
    const picks = q.picks || [];
    // Every word of the search (in its column, or any) and of each column's filter (in that column).
    const terms = q.words
      .map((w) => [finder(w), q.column])
      .concat(...(q.filters || []).map((f) => f.words.map((w) => [finder(w), f.column])));
    for (const b of list) {
      let text = null;
      for (const [w, c] of terms) {
        const hit = this.hitsOf(b, w, c);
        if (text) for (let r = 0; r < b.count; r++) text[r] &= hit[r];
        else text = hit;
      }
      const picked = picks.map((p) => this.pickedIn(b, p));
      const keep = text ? (picked.length ? text.slice() : text) : new Uint8Array(b.count).fill(1);
      for (const hit of picked) for (let r = 0; r < b.count; r++) keep[r] &= hit[r];
      for (let r = 0; r < b.count; r++) if (keep[r]) out.push(b.start + r);
      if (counts) this.countIn(b, counts, text, picks, picked);
    }
    return Int32Array.from(out);
  }

  countIn(b, counts, text, picks, picked) {
    counts.forEach((count, c) => {
      if (!count) return;
      const of = this.lists[c].of;
      const others = picked.filter((_, i) => picks[i].column !== c);
      next: for (let r = 0; r < b.count; r++) {
        if (text && !text[r]) continue;
        for (const hit of others) if (!hit[r]) continue next;
        count[of[b.start + r]]++;
      }
    });
  }

  /** The matches of `q` (see `matchesIn`) in `order` where one is given, null where `q` narrows
   * nothing (every record); with `counts`, those of each column's list (see `matchesIn`). */
  matches(q, order, counts = null) {
    const narrows = q.words.length || (q.filters || []).length || (q.picks || []).length;
    if (!narrows && !counts) return null;
    const found = this.matchesIn(this.batches, q, counts);
    if (!narrows) return null;
    if (!order) return found;
    const mark = new Uint8Array(this.total);
    for (const i of found) mark[i] = 1;
    return order.filter((i) => mark[i]);
  }

  /** Makes a list of the values of each column that has from 2 to `most` distinct ones, each held by
   * two records on average at least, in Japanese order: `values` (folded), `first` (the first record
   * holding each) and `of` (each record's). Yields after each batch, so that queries are answered
   * meanwhile. */
  *listing(most) {
    const all = Array.from({ length: this.width }, () => this.gathering());
    for (const b of this.batches) {
      all.forEach((few, column) => few && !this.gather(few, b, column, most) && (all[column] = null));
      yield;
    }
    this.lists = all.map((few) => {
      if (!few || few.values.length < 2 || few.values.length * 2 > this.total) return null;
      const ids = few.values
        .map((_, i) => i)
        .sort((a, b) => this.collator.compare(few.values[a], few.values[b]));
      const place = new Int32Array(ids.length);
      ids.forEach((id, k) => (place[id] = k));
      for (let i = 0; i < few.of.length; i++) few.of[i] = place[few.of[i]];
      const first = Int32Array.from(ids, (id) => few.first[id]);
      return { values: ids.map((id) => few.values[id]), first, of: few.of };
    });
  }

  /** Fresh counts for the lists (see `matchesIn`); null when there are none. */
  countsArrays() {
    if (!this.lists || !this.lists.some(Boolean)) return null;
    return this.lists.map((list) => list && new Int32Array(list.values.length));
  }

  /** The column's distinct folded values (`values`), the first record holding each (`first`) and which
   * one every record holds (`of`), or null when there are more than `most`. */
  valuesOf(column, most) {
    const few = this.gathering();
    for (const b of this.batches) if (!this.gather(few, b, column, most)) return null;
    return few;
  }

  gathering() {
    return { seen: new Map(), values: [], first: [], of: new Int32Array(this.total) };
  }

  // Adds the values of the column in batch `b` to `few`; false once there are more than `most`.
  gather(few, b, column, most) {
    const { seen, values, first, of } = few;
    for (let r = 0, k = column; r < b.count; r++, k += this.width) {
      const v = b.folded.slice(b.foff[k], b.foff[k + 1] - 1);
      let id = seen.get(v);
      if (id === undefined) {
        if (values.length === most) return false;
        seen.set(v, (id = values.push(v) - 1));
        first.push(b.start + r);
      }
      of[b.start + r] = id;
    }
    return true;
  }

  // Every record's value of the column where it stands in its batch's folded text.
  spansOf(column) {
    const n = this.total;
    const spans = new Spans(
      this.batches.map((b) => b.folded),
      new Uint32Array(n),
      new Uint32Array(n),
      new Uint32Array(n),
    );
    this.batches.forEach((b, at) => {
      for (let r = 0, k = column; r < b.count; r++, k += this.width) {
        const i = b.start + r;
        [spans.which[i], spans.start[i], spans.end[i]] = [at, b.foff[k], b.foff[k + 1] - 1];
      }
    });
    return spans;
  }

  // Each record's place among the column's distinct folded values in Japanese order, kept until more
  // records come. A column of values that repeat much is ranked by its distinct values.
  rankOf(column) {
    const kept = this.ranks.get(column);
    if (kept && kept.total === this.total) return kept;
    const few = this.valuesOf(column, Math.max(1000, this.total >> 4));
    const { rank, levels } = rankSpans(
      few ? spansOf(few.values) : this.spansOf(column),
      this.collator.compare,
    );
    if (few) for (let i = 0; i < few.of.length; i++) few.of[i] = rank[few.of[i]];
    const entry = { rank: few ? few.of : rank, levels, total: this.total };
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
