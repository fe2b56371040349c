// A query is folded one string at a time, the values a batch at a time: both must fold every value
// alike, or a search misses what it should find.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SEP, fold, foldMany, words } from '../../../resources/page/fold.js';
import { RecordIndex } from '../../../resources/page/index.js';
import { random, pick } from './random.mjs';

// Each value of a batch folded on its own, and the batch folded at once.
function foldedBoth(values) {
  const ends = new Uint32Array(values.length + 1);
  const folded = foldMany(values.join(SEP) + SEP, ends);
  const alone = values.map(fold);
  const together = values.map((v, k) => folded.slice(ends[k], ends[k + 1] - 1));
  return { alone, together, length: folded.length, end: ends[values.length] };
}

const VALUES = {
  'a byte order mark first': ['\uFEFF山田', '佐藤', '鈴木'],
  'a byte order mark inside and last': ['a\uFEFFb', 'c\uFEFF'],
  'surrogate pairs': ['𠮷野家', '😀x', '𐐀𐐁'],
  'the dash family': ['ー－−‐–—―', '\u2011\u2012\u2E3A\u2E3B\uFE58\uFE63\uFF70'],
  katakana: ['アイウエオヴヵヶヽヾ', 'ｱｲｳｶﾞﾊﾟ'],
  'width and compatibility forms': ['ＡＢＣ１２３', '①㈱ﬁ㍻', 'ｶﾞ'],
  'case beyond ASCII': ['ÉCOLE', 'İstanbul', 'ΟΔΟΣ Σ', 'ǅ'],
  'combining marks at a value start': ['\u3099か', '\u0301e'],
  'empty values': ['', '', 'x'],
};

test('fold of a query and the batch fold agree on every value', async (t) => {
  for (const [name, values] of Object.entries(VALUES)) {
    await t.test(name, () => {
      const r = foldedBoth(values);
      assert.deepEqual(r.together, r.alone);
      assert.equal(r.end, r.length);
    });
  }
  await t.test('random values', () => {
    const rnd = random(7);
    const alphabet = [...'aZ09 ｱア阿あー－É\uFEFFΣİ①𠮷😀\u3099ﾞ'];
    for (let round = 0; round < 300; round++) {
      const values = Array.from({ length: 1 + rnd.int(6) }, () =>
        Array.from({ length: rnd.int(5) }, () => pick(rnd, alphabet)).join(''),
      );
      const r = foldedBoth(values);
      assert.deepEqual(r.together, r.alone, JSON.stringify(values));
    }
  });
});

test('a list whose first value begins with a byte order mark finds its later names', () => {
  const index = new RecordIndex(1);
  index.add(['\uFEFF山田', '佐藤', '鈴木'].join(SEP) + SEP);
  assert.deepEqual([...index.matches(words('佐藤'), -1, null)], [1]);
  assert.deepEqual([...index.matches(words('鈴木'), 0, null)], [2]);
});

test('a query is split into folded words at blanks of either width and control characters', () => {
  assert.deepEqual(words(' ﾀﾅｶ\u3000ＡＢ\tx-ー '), ['たなか', 'ab', 'x--']);
  assert.deepEqual(words('\u3000 '), []);
});
