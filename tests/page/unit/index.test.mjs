// Search and sort over batches of records against a naive filter and a naive stable sort.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SEP, fold, words } from '../../../resources/page/fold.js';
import { RecordIndex } from '../../../resources/page/index.js';
import { random, pick } from './random.mjs';

const collator = new Intl.Collator('ja', { numeric: true });
const PIECES = [
  '山田',
  'ヤマダ',
  'やまだ',
  'ﾔﾏﾀﾞ',
  '2丁目',
  '10丁目',
  'ー',
  '-',
  'Ab',
  'aB',
  ' ',
  '',
  '佐藤',
  '\uFEFF',
  '𠮷',
];

// Records of `width` values from a few pieces, so that values repeat (sort ties) and overlap (hits).
function records(rnd, count, width) {
  return Array.from({ length: count }, () =>
    Array.from({ length: width }, () => pick(rnd, PIECES) + pick(rnd, PIECES)),
  );
}

// The records in batches of random sizes, as the worker receives them.
function indexOf(rnd, rows, width) {
  const index = new RecordIndex(width);
  for (let at = 0; at < rows.length;) {
    const n = Math.min(rows.length - at, rnd.int(5));
    const values = rows.slice(at, at + n).flat();
    index.add(values.length ? values.join(SEP) + SEP : '');
    at += n;
  }
  return index;
}

const naiveMatches = (rows, ws, column) =>
  rows
    .map((r, i) => i)
    .filter((i) =>
      ws.every((w) => rows[i].some((v, c) => (column < 0 || c === column) && fold(v).includes(w))),
    );

const naiveOrder = (rows, column, direction) =>
  rows
    .map((r, i) => i)
    .sort((a, b) => direction * collator.compare(fold(rows[a][column]), fold(rows[b][column])));

test('search and sort equal a naive filter and a naive stable sort on random records', () => {
  const rnd = random(11);
  for (let round = 0; round < 60; round++) {
    const width = 1 + rnd.int(4);
    const rows = records(rnd, rnd.int(40), width);
    const index = indexOf(rnd, rows, width);
    assert.equal(index.total, rows.length);
    for (let q = 0; q < 8; q++) {
      const ws = words(Array.from({ length: 1 + rnd.int(2) }, () => pick(rnd, PIECES)).join(' '));
      const column = rnd.int(width + 1) - 1;
      const sortColumn = rnd.int(width);
      const direction = rnd.next() < 0.5 ? 1 : -1;
      const order = index.sortOrder(sortColumn, direction);
      const expectedOrder = naiveOrder(rows, sortColumn, direction);
      assert.deepEqual([...order], expectedOrder, `sort by ${sortColumn} ${direction}`);
      const found = naiveMatches(rows, ws, column);
      const context = `${JSON.stringify(ws)} in ${column}`;
      if (!ws.length) assert.equal(index.matches(ws, column, null), null);
      else {
        assert.deepEqual([...index.matches(ws, column, null)], found, context);
        assert.deepEqual(
          [...index.matches(ws, column, order)],
          expectedOrder.filter((i) => found.includes(i)),
          context,
        );
      }
    }
  }
});

test('a sort by a column that does not exist gives no order', () => {
  const index = new RecordIndex(2);
  index.add(['a', 'b'].join(SEP) + SEP);
  assert.equal(index.sortOrder(2, 1), null);
  assert.equal(index.sortOrder(-1, 1), null);
});
