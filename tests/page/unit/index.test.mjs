// Search and sort over batches of records against a naive filter and a naive stable sort.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SEP, finder, fold, words } from '../../../resources/page/fold.js';
import { RecordIndex } from '../../../resources/page/index.js';
import { random } from './support.mjs';

const collator = new Intl.Collator('ja', { numeric: true });
// Values from a few pieces, so that they repeat (ties in a sort) and overlap (hits).
const PIECES = '山田|ヤマダ|ﾔﾏﾀﾞ|髙|2丁目|10丁目|1|ー|-|(|Ab|aB| ||\uFEFF|𠮷'.split('|');
const ids = (rows) => rows.map((r, i) => i);
const has = (value, w) => finder(w).find(fold(value), 0) >= 0;

test('search and sort equal a naive filter and a naive stable sort on random records', () => {
  const rnd = random(11);
  for (let round = 0; round < 60; round++) {
    const width = 1 + rnd.int(4);
    const rows = rnd.list(rnd.int(40), () => rnd.list(width, () => rnd.pick(PIECES) + rnd.pick(PIECES)));
    const index = new RecordIndex(width);
    for (let at = 0, n; at < rows.length; at += n) {
      n = rnd.int(5); // batches of random sizes, empty ones too, as the worker receives them
      const values = rows.slice(at, at + n).flat();
      index.add(values.length ? values.join(SEP) + SEP : '');
    }
    assert.equal(index.total, rows.length);
    for (let q = 0; q < 8; q++) {
      const [column, by, direction] = [rnd.int(width + 1) - 1, rnd.int(width), rnd.next() < 0.5 ? 1 : -1];
      const sorted = ids(rows).sort(
        (a, b) => direction * collator.compare(fold(rows[a][by]), fold(rows[b][by])),
      );
      const order = index.sortOrder(by, direction);
      assert.deepEqual([...order], sorted, `sort by ${by}, ${direction}`);
      const ws = words(rnd.list(1 + rnd.int(2), () => rnd.pick(PIECES)).join(' '));
      const holds = (i, w) => rows[i].some((v, c) => (column < 0 || c === column) && has(v, w));
      const found = ids(rows).filter((i) => ws.every((w) => holds(i, w)));
      const context = `${JSON.stringify(ws)} in ${column}`;
      if (!ws.length) assert.equal(index.matches(ws, column, order), null);
      else assert.deepEqual([...index.matches(ws, column, null)], found, context);
      if (ws.length)
        assert.deepEqual(
          [...index.matches(ws, column, order)],
          sorted.filter((i) => found.includes(i)),
          context,
        );
    }
  }
  assert.equal(new RecordIndex(2).sortOrder(2, 1), null, 'no such column');
});
