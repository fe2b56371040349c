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
const MOST = 30;
const ids = (rows) => rows.map((r, i) => i);
const has = (value, w) => finder(w).find(fold(value), 0) >= 0;

test('search, column filters, picks, counts and sort (by one to three columns) equal a naive filter, count and stable sort on random records', () => {
  const rnd = random(11);
  for (let round = 0; round < 60; round++) {
    const width = 1 + rnd.int(4);
    // The first round has too many distinct values for the sort to gather the equal ones first; the odd
    // ones have few, which the index lists.
    const listed = round % 2 === 1;
    const [count, tail] = round ? [rnd.int(listed ? 80 : 40), () => ''] : [1500, () => String(rnd.int(1e5))];
    const piece = () => rnd.pick(listed ? PIECES.slice(0, 5 + rnd.int(4)) : PIECES);
    const rows = rnd.list(count, () =>
      rnd.list(width, () => piece() + (listed ? '' : rnd.pick(PIECES)) + tail()),
    );
    const index = new RecordIndex(width);
    for (let at = 0, n; at < rows.length; at += n) {
      n = rnd.int(5); // batches of random sizes, empty ones too, as the worker receives them
      const values = rows.slice(at, at + n).flat();
      index.add(values.length ? values.join(SEP) + SEP : '');
    }
    assert.equal(index.total, rows.length);
    if (listed) [...index.listing(MOST)];
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
      // Some queries pick whole values of one column too, by the list of its values in some rounds.
      const pickColumn = rnd.int(width);
      const picks =
        rnd.next() < 0.5
          ? []
          : [
              {
                column: pickColumn,
                values: new Set(rnd.list(2, () => fold(rnd.pick(rows)?.[pickColumn] ?? ''))),
              },
            ];
      const holds = (i, w, c = column) => rows[i].some((v, k) => (c < 0 || k === c) && has(v, w));
      const takes = (i, skip = -1) =>
        ws.every((w) => holds(i, w)) &&
        filters.every((f) => f.words.every((w) => holds(i, w, f.column))) &&
        picks.every((p) => p.column === skip || p.values.has(fold(rows[i][p.column])));
      const found = ids(rows).filter((i) => takes(i));
      const q = { words: ws, column, filters, picks };
      const context = `${JSON.stringify(ws)} in ${column}, filters ${JSON.stringify(filters)}, picks ${JSON.stringify(picks.map((p) => [...p.values]))}`;
      if (!ws.length && !filters.length && !picks.length) assert.equal(index.matches(q, order), null);
      else {
        assert.deepEqual([...index.matches(q, null)], found, context);
        const inOrder = sorted.filter((i) => found.includes(i));
        assert.deepEqual([...index.matches(q, order)], inOrder, context);
      }
      // Each list's counts: the records of each value the query takes without the column's own picks.
      const counts = index.countsArrays();
      if (!counts) continue;
      index.matches(q, null, counts);
      index.lists.forEach((list, c) => {
        const values = [...new Set(rows.map((r) => fold(r[c])))];
        if (!list)
          return assert.ok(
            values.length < 2 || values.length > Math.min(MOST, rows.length / 2),
            `column ${c}`,
          );
        assert.deepEqual(list.values, values.sort(collator.compare));
        const naive = list.values.map(
          (v) => ids(rows).filter((i) => takes(i, c) && fold(rows[i][c]) === v).length,
        );
        assert.deepEqual([...counts[c]], naive, `counts of ${c}, ${context}`);
      });
    }
  }
  assert.equal(new RecordIndex(2).sortOrder([{ column: 2, direction: 1 }]), null, 'no such column');
});

test('the sort trusts its keys alone only where the collator agrees: values of characters from every range it trusts', () => {
  const rnd = random(5);
  const ranges = [
    [0x20, 0x7e],
    [0xc0, 0xff],
    [0x3041, 0x3096],
    [0x3001, 0x3002],
    [0x3008, 0x3011],
    [0x30fb, 0x30fb],
    [0x3400, 0x4dbf],
    [0x4e00, 0x9fff],
    [0x20000, 0x2a6df],
  ];
  const alphabet = ranges.flatMap(([lo, hi]) =>
    rnd.list(40, () => String.fromCodePoint(lo + rnd.int(hi - lo + 1))),
  );
  // And values whose characters' weights alone misjudge them: a mark that repeats the kana before it, an
  // expansion.
  const misjudged = [
    ['かあ', 'かゝ', 'かか'],
    ['oz', 'œa'],
    ['ss', 'ßa', 'sz'],
  ].map((v) => rnd.list(30, () => rnd.pick(v)));
  for (const values of misjudged) {
    const index = new RecordIndex(1);
    index.add(values.join(SEP) + SEP);
    const sorted = ids(values).sort((a, b) => collator.compare(values[a], values[b]));
    assert.deepEqual([...index.sortOrder([{ column: 0, direction: 1 }])], sorted, values.join(' '));
  }
  for (let round = 0; round < 4; round++) {
    // Short values of few characters, so that neighbours in the order differ late and by one character.
    const few = rnd.list(6, () => rnd.pick(alphabet));
    const values = rnd.list(1200, () => fold(rnd.list(1 + rnd.int(4), () => rnd.pick(few)).join('')));
    const index = new RecordIndex(1);
    index.add(values.join(SEP) + SEP);
    const sorted = ids(values).sort((a, b) => collator.compare(values[a], values[b]));
    assert.deepEqual([...index.sortOrder([{ column: 0, direction: 1 }])], sorted, few.join(' '));
  }
});
