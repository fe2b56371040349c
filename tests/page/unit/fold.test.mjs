// A query is folded one string at a time, the values a batch at a time: both must fold every value
// alike, or a search misses what it should find.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SEP, fold, foldMany, words } from '../../../resources/page/fold.js';
import { RecordIndex } from '../../../resources/page/index.js';
import { random } from './support.mjs';

function agree(values) {
  const ends = new Uint32Array(values.length + 1);
  const folded = foldMany(values.join(SEP) + SEP, ends);
  const each = values.map((v, k) => folded.slice(ends[k], ends[k + 1] - 1));
  assert.deepEqual(each, values.map(fold), JSON.stringify(values));
  assert.equal(ends[values.length], folded.length);
}

test('fold of a query and the batch fold agree on every value', () => {
  agree(['\uFEFF山田', '佐藤', '鈴木']); // a byte order mark first
  agree(['a\uFEFFb', 'c\uFEFF']);
  agree(['𠮷野家', '😀x', '𐐀𐐁']);
  agree(['ー－−‐–—―', '\u2011\u2012\u2E3A\u2E3B\uFE58\uFE63\uFF70']);
  agree(['アイウヴヵヶヽヾ', 'ｱｲｳｶﾞﾊﾟ', 'ＡＢＣ１２３', '①㈱ﬁ㍻']);
  agree(['ÉCOLE', 'İstanbul', 'ΟΔΟΣ Σ', 'ǅ', '\u3099か', '\u0301e', '', '']);
  const rnd = random(7);
  const alphabet = [...'aZ09 ｱア阿あー－É\uFEFFΣİ①𠮷😀\u3099ﾞ'];
  const value = () => rnd.list(rnd.int(5), () => rnd.pick(alphabet)).join('');
  for (let round = 0; round < 300; round++) agree(rnd.list(1 + rnd.int(6), value));
});

test('a list whose first value begins with a byte order mark finds its later names', () => {
  const index = new RecordIndex(1);
  index.add(['\uFEFF山田', '佐藤', '鈴木'].join(SEP) + SEP);
  assert.deepEqual([...index.matches(words('佐藤'), -1, null)], [1]);
  assert.deepEqual([...index.matches(words('鈴木'), 0, null)], [2]);
});
