// The scanner reads the tool's own simple form piece by piece: a document cut anywhere must read as a
// simple reader reads it whole, and every other form must make it give up (the XML parser takes over).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SEP } from '../../../resources/page/fold.js';
import { Scanner, Collected } from '../../../resources/page/scanner.js';
import { shiftJis } from './support.mjs';

const REFS = { lt: '<', gt: '>', amp: '&', quot: '"', apos: "'" };
const unref = (s) =>
  s.replace(/&(#x?)?(\w+);/g, (m, hash, r) =>
    hash ? String.fromCodePoint(parseInt(r, hash === '#x' ? 16 : 10)) : REFS[r],
  );

// The whole document by patterns: the n-th column of a name from the n-th element of that name.
function reference(text, names) {
  const records = [...text.matchAll(/<mivoxml>(.*?)<\/mivoxml>/gs)].map((m) => [
    ...m[1].matchAll(/<(.+?)>(.*?)<\/\1>/gs),
  ]);
  const columns = names.length ? names : records[0].map((f) => f[1]);
  return records.flatMap((fields) =>
    columns.map((n, c) => {
      const found = fields.filter((f) => f[1] === n)[columns.slice(0, c).filter((m) => m === n).length];
      return found ? unref(found[2]) : '';
    }),
  );
}

// The bytes up to `cut` in one piece, then the rest in pieces of `step` bytes.
function scanned(bytes, names, cut, step = bytes.length) {
  const scanner = new Scanner(names);
  const out = new Collected();
  const pieces = [bytes.subarray(0, cut)];
  for (let at = cut; at < bytes.length; at += step) pieces.push(bytes.subarray(at, at + step));
  if (pieces.length === 1) pieces.push(bytes.subarray(cut));
  const ok = pieces.every((piece, k) => scanner.push(piece, k === pieces.length - 1, out));
  out.flush();
  return { ok, values: out.parts.join('').split(SEP).slice(0, -1) };
}

const doc = (records, head = '<?xml version="1.0" encoding="Shift_JIS"?>\r\n') =>
  `${head}<名簿>\r\n${records.map((r) => `<mivoxml>${r}</mivoxml>\r\n`).join('')}</名簿>\r\n`;
// prettier-ignore
const DOCUMENTS = [
  ['plain records, the names given', ['名前', '読み'], doc(['<名前>山田</名前><読み>ﾔﾏﾀﾞ</読み>', '<名前>①</名前><読み></読み>',
    '<名前>a&amp;&lt;&gt;&#x20BB7;&#65;</名前><読み>&quot;&apos;</読み>'])],
  ['Shift_JIS read from its bytes: "]" alone and as a second byte (ゾ), a reference and a record of another form between',
    ['名前', '読み'], doc(['<名前>ゾ]</名前><読み>ｿﾞ</読み>', '<名前>表[1]</名前><読み>a&amp;b</読み>', '<名前>x</名前><読み>y</読み>',
      '<読み>z</読み><名前>w</名前>', '\r\n<名前>v</名前>\r\n<読み>u</読み>\r\n', '<名前>t</名前><読み>s</読み>'])],
  ['names from the first record, fields missing or reordered', [], doc(['<a>1</a><b>2</b><a>3</a>', '<b>4</b><a>5</a>', '<a>6</a>', ''])],
  ['UTF-8 with its byte order mark', ['x', 'y'],
    '\uFEFF' + doc(['<x>𠮷</x><y>ー</y>', '<x>é</x><y>\uFEFF</y>'], '<?xml version="1.0" encoding="UTF-8"?>')],
];

test('a document cut at every offset reads as the reference reader reads it whole', () => {
  for (const [name, names, text] of DOCUMENTS) {
    const bytes = name.startsWith('UTF-8') ? new TextEncoder().encode(text) : shiftJis(text);
    const expected = { ok: true, values: reference(text, names) };
    for (let cut = 0; cut <= bytes.length; cut++)
      for (const step of [bytes.length, 1 + (cut % 13)])
        assert.deepEqual(
          scanned(bytes, names, cut, step),
          expected,
          `${name}, cut at ${cut}, then by ${step}`,
        );
  }
});

test('the scanner gives up on every form it does not know', () => {
  const record = (fields) => `<r><mivoxml>${fields}</mivoxml></r>`;
  // prettier-ignore
  const forms = [
    '<a b="1">1</a>', '<a><b>1</b></a>', '<a>1 & 2</a>', '<a>1 < 2</a>', '<a>&nbsp;</a>', '<a>&#0;</a>', '<a>1</b>', '<p:a>1</p:a>',
    '<1a>1</1a>', '<a><![CDATA[1]]></a>', '<a>1\u0007</a>', '<a>1\r2</a>', '<!-- x --><a>1</a>',
  ].map(record).concat([
    '<r><!-- x --><mivoxml><a>1</a></mivoxml></r>', '<r><mivoxml id="1"><a>1</a></mivoxml></r>', '<r><?pi x?></r>',
    '<!DOCTYPE r><r></r>', '<r><mivoxml><a>1</a>', '<r><mivoxml><a>1</a></mivoxml>', '<r></r>x', '<r></r><s></s>',
    '<mivoxml><a>1</a></mivoxml>', 'just text',
  ]);
  for (const form of forms) {
    const bytes = new TextEncoder().encode('<?xml version="1.0" encoding="UTF-8"?>' + form);
    for (const names of [['a'], []]) {
      assert.equal(scanned(bytes, names, bytes.length).ok, false, `${form}, names ${names}`);
    }
  }
  // The record forms after plain records in Shift_JIS, read from the bytes in small pieces.
  const plain = '<mivoxml><a>1</a></mivoxml>\r\n'.repeat(3);
  for (const form of forms.filter((f) => f.startsWith('<r><mivoxml>'))) {
    const bytes = shiftJis('<?xml version="1.0" encoding="Shift_JIS"?><r>' + plain + form.slice(3));
    for (const step of [3, 7, 16])
      assert.equal(scanned(bytes, ['a'], 60, step).ok, false, `${form} by ${step}`);
  }
  // A value ending in "]]>" is no value of the simple form, whole or cut.
  const cdataEnd = shiftJis(
    '<?xml version="1.0" encoding="Shift_JIS"?><r>' + plain + '<mivoxml><a>x]]></a></mivoxml></r>',
  );
  for (const step of [1, 2, 3, 5])
    assert.equal(scanned(cdataEnd, ['a'], 60, step).ok, false, `]]> by ${step}`);
});
