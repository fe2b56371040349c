// Search and sort over batches of records against a naive filter and a naive stable sort.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SEP, finder, fold, words } from '../../../resources/page/fold.js';
import { RecordIndex } from '../../../resources/page/index.js';
import { random } from './support.mjs';

const collator = new Intl.Collator('ja', { numeric: true });
// Values from a few pieces, so that they repeat (ties in a sort) and overlap (hits); 'œ' sorts as "oe",
// which the sort's keys misjudge, so that the collator has to mend their order.
const PIECES = '山田|ヤマダ|ﾔﾏﾀﾞ|髙|2丁目|10丁目|1|007|ー|-|(|Ab|aB| ||\uFEFF|𠮷|œ|o|f'.split('|');
const ids = (rows) => rows.map((r, i) => i);
const has = (value, w) => finder(w).find(fold(value), 0) >= 0;

test('search, column filters and sort (by one to three columns) equal a naive filter and a naive stable sort on random records', () => {
  const rnd = random(11);
  for (let round = 0; round < 60; round++) {
    const width = 1 + rnd.int(4);
    // The first round has too many distinct values for the sort to gather the equal ones first.
    const [count, tail] = round ? [rnd.int(40), () => ''] : [1500, () => String(rnd.int(1e5))];
    const rows = rnd.list(count, () => rnd.list(width, () => rnd.pick(PIECES) + rnd.pick(PIECES) + tail()));
    const index = new RecordIndex(width);
    for (let at = 0, n; at < rows.length; at += n) {
      n = rnd.int(5); // batches of random sizes, empty ones too, as the worker receives them
      const values = rows.slice(at, at + n).flat();
      index.add(values.length ? values.join(SEP) + SEP : '');
    }
    assert.equal(index.total, rows.length);
    for (let q = 0; q < 8; q++) {
      const column = rnd.int(width + 1) - 1;
      const keys = [...new Set(rnd.list(1 + rnd.int(3), () => rnd.int(width)))].map((c) => ({
        column: c,
        direction: rnd.next() < 0.5 ? 1 : -1,
      }));
      const by = (a, b, { column: c, direction }) => direction * collator.compare(fold(a[c]), fold(b[c]));
      const sorted = ids(rows).sort((a, b) => keys.reduce((d, key) => d || by(rows[a], rows[b], key), 0));
      const order = index.sortOrder(keys);
      assert.deepEqual([...order], sorted, `sort by ${JSON.stringify(keys)}`);
      const ws = words(rnd.list(1 + rnd.int(2), () => rnd.pick(PIECES)).join(' '));
      // Half the queries narrow one column by its own words too.
      const filters = [
        { column: rnd.int(width), words: words(`${rnd.pick(PIECES)} ${rnd.pick(PIECES)}`) },
      ].filter((f) => f.words.length && rnd.next() < 0.5);
      const holds = (i, w, c = column) => rows[i].some((v, k) => (c < 0 || k === c) && has(v, w));
      const found = ids(rows).filter(
        (i) =>
          ws.every((w) => holds(i, w)) && filters.every((f) => f.words.every((w) => holds(i, w, f.column))),
      );
      const context = `${JSON.stringify(ws)} in ${column}, filters ${JSON.stringify(filters)}`;
      if (!ws.length && !filters.length) assert.equal(index.matches(ws, column, order, filters), null);
      else {
        assert.deepEqual([...index.matches(ws, column, null, filters)], found, context);
        const inOrder = sorted.filter((i) => found.includes(i));
        assert.deepEqual([...index.matches(ws, column, order, filters)], inOrder, context);
      }
    }
  }
  assert.equal(new RecordIndex(2).sortOrder([{ column: 2, direction: 1 }]), null, 'no such column');
});
