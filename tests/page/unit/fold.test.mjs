// A query is folded one string at a time, the values a batch at a time: both must fold every value
// alike, or a search misses what it should find.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SEP, finder, fold, foldMany, words } from '../../../resources/page/fold.js';
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
  const alphabet = [...'aZ09 ｱア阿あー－É\uFEFFΣİ①𠮷😀\u3099ﾞ 　\t()（）−髙﨑邊澤塚'];
  const value = () => rnd.list(rnd.int(5), () => rnd.pick(alphabet)).join('');
  for (let round = 0; round < 300; round++) agree(rnd.list(1 + rnd.int(6), value));
});

test('a list whose first value begins with a byte order mark finds its later names', () => {
  const index = new RecordIndex(1);
  index.add(['\uFEFF山田', '佐藤', '鈴木'].join(SEP) + SEP);
  assert.deepEqual([...index.matches({ words: words('佐藤'), column: -1 }, null)], [1]);
  assert.deepEqual([...index.matches({ words: words('鈴木'), column: 0 }, null)], [2]);
});

const finds = (query, value) => words(query).every((w) => finder(w).find(fold(value), 0) >= 0);
// Pairs "query>value" a query finds, then pairs it must not.
const FOUND = `山田太郎>山田 太郎|山田太郎>山田\u3000太郎|田太>山田 太郎|太郎 山田>山田\u3000太郎|0312345678>03-1234-5678
(03)1234-5678>03-1234-5678|03-1234-5678>(03) 1234 5678|０３ー１２３４ー５６７８>03−1234−5678|1050011>105-0011
105-0011>1050011|〒105ー0011>〒105-0011|03>03-1234-5678|5678>03-1234-5678|105->105-0011|-0011>105-0011|->1-2
髙橋>高橋|高橋>髙橋|山崎>山﨑|渡邉>渡辺|渡辺>渡邊|斎藤>齋藤|齊藤>斉藤|澤田>沢田|濱田>浜田|廣田>広田|國分>国分
櫻井>桜井|嶋田>島田|\uFA10本>塚本|2丁目>2丁目|2丁目>1-2丁目|2丁目>第2丁目|丁目>12丁目|12>12丁目|a-1>A-1
やまだ>ﾔﾏﾀﾞ|ＡＢＣ>abc|(株)>㈱山田|①>1番`;
const MISSED = `2丁目>12丁目|2丁目>21丁目|0312>03-1234-5678|1234>03-12345|1>10|10>100|山田 次郎>山田 太郎
高橋>高島|a-1>a-12|12>1a2`;

test('queries find the values a Japanese reader means, and numbers only whole', () => {
  const pairs = (list) => list.split(/[|\n]/).map((pair) => pair.split('>'));
  for (const [query, value] of pairs(FOUND)) assert.ok(finds(query, value), `${query} in ${value}`);
  for (const [query, value] of pairs(MISSED)) assert.ok(!finds(query, value), `not ${query} in ${value}`);
});

test('a value is found by its own text, without its blanks, and without the separators in its numbers', () => {
  const rnd = random(13);
  for (let round = 0; round < 2000; round++) {
    const value = rnd.list(1 + rnd.int(8), () => rnd.pick([...'ab19 \u3000-ー()（）髙高ｱア丁'])).join('');
    for (const blank of [/^$/, /[ \u3000]/g, /(?<=\d)[-ー()（） \u3000]+(?=\d)/g]) {
      const query = value.replace(blank, '');
      if (words(query).length) assert.ok(finds(query, value), JSON.stringify([query, value]));
    }
  }
});
