// The scanner reads the tool's own simple form piece by piece; a document cut anywhere must read as a
// simple reader reads it whole, and every other form must make it give up (the XML parser takes over).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { SEP } from '../../../resources/page/fold.js';
import { Scanner, Collected } from '../../../resources/page/scanner.js';
import { shiftJis } from './encode.mjs';

const REFS = { lt: '<', gt: '>', amp: '&', quot: '"', apos: "'" };
const unref = (s) =>
  s.replace(/&(#x[0-9a-fA-F]+|#[0-9]+|[a-z]+);/g, (m, r) =>
    r[0] !== '#'
      ? REFS[r]
      : String.fromCodePoint(r[1] === 'x' ? parseInt(r.slice(2), 16) : parseInt(r.slice(1), 10)),
  );

// The whole document at once, by patterns: each record's fields, the n-th column of a name from the
// n-th element of that name.
function reference(text, names) {
  const records = [...text.matchAll(/<mivoxml>([\s\S]*?)<\/mivoxml>/g)].map((m) =>
    [...m[1].matchAll(/<([^>]+)>([^<]*)<\/\1>/g)].map((f) => [f[1], unref(f[2])]),
  );
  const columns = names.length ? names : (records[0] || []).map((f) => f[0]);
  return records.flatMap((fields) => {
    const seen = {};
    return columns.map((n) => {
      seen[n] = (seen[n] || 0) + 1;
      const found = fields.filter((f) => f[0] === n)[seen[n] - 1];
      return found ? found[1] : '';
    });
  });
}

function scanned(bytes, names, cuts) {
  const scanner = new Scanner(names);
  const out = new Collected();
  let ok = true;
  let from = 0;
  for (const to of [...cuts, bytes.length]) {
    ok = ok && scanner.push(bytes.subarray(from, to), to === bytes.length, out);
    from = to;
  }
  out.flush();
  const values = out.parts.join('').split(SEP);
  values.pop();
  return { ok, values };
}

const record = (fields) => '<mivoxml>' + fields.map(([n, v]) => `<${n}>${v}</${n}>`).join('') + '</mivoxml>';
const doc = (records, head = '<?xml version="1.0" encoding="Shift_JIS"?>\r\n') =>
  head + '<名簿>\r\n' + records.map((r) => record(r) + '\r\n').join('') + '</名簿>\r\n';

const DOCUMENTS = {
  'plain records, the names given': {
    text: doc([
      [
        ['名前', '山田'],
        ['読み', 'ﾔﾏﾀﾞ'],
      ],
      [
        ['名前', '佐藤①'],
        ['読み', ''],
      ],
      [
        ['名前', 'a&amp;b &lt;c&gt; &#x20BB7;'],
        ['読み', '&quot;x&apos;'],
      ],
    ]),
    names: ['名前', '読み'],
  },
  'names from the first record, fields missing or in another order': {
    text: doc([
      [
        ['a', '1'],
        ['b', '2'],
        ['a', '3'],
      ],
      [
        ['b', '4'],
        ['a', '5'],
      ],
      [['a', '6']],
      [],
    ]),
    names: [],
  },
  'UTF-8 with its byte order mark': {
    text:
      '\uFEFF' +
      doc(
        [
          [
            ['x', '𠮷'],
            ['y', 'ー'],
          ],
          [
            ['x', 'é'],
            ['y', '\uFEFF'],
          ],
        ],
        '<?xml version="1.0" encoding="UTF-8"?>',
      ),
    names: ['x', 'y'],
    utf8: true,
  },
};

test('a document cut at every offset reads as the reference reader reads it whole', async (t) => {
  for (const [name, { text, names, utf8 }] of Object.entries(DOCUMENTS)) {
    await t.test(name, () => {
      const bytes = utf8 ? new TextEncoder().encode(text) : shiftJis(text);
      const expected = reference(text, names);
      assert.ok(expected.length > 0);
      assert.deepEqual(scanned(bytes, names, []), { ok: true, values: expected });
      for (let cut = 1; cut < bytes.length; cut++) {
        assert.deepEqual(scanned(bytes, names, [cut]), { ok: true, values: expected }, `cut at ${cut}`);
      }
    });
  }
});

test('the scanner gives up on every form it does not know', () => {
  const head = '<?xml version="1.0" encoding="UTF-8"?>';
  const forms = {
    'a comment': '<r><!-- x --><mivoxml><a>1</a></mivoxml></r>',
    'an attribute on a record': '<r><mivoxml id="1"><a>1</a></mivoxml></r>',
    'an attribute on a field': '<r><mivoxml><a b="1">1</a></mivoxml></r>',
    'a nested element': '<r><mivoxml><a><b>1</b></a></mivoxml></r>',
    'a raw ampersand': '<r><mivoxml><a>1 & 2</a></mivoxml></r>',
    'a raw less-than sign': '<r><mivoxml><a>1 < 2</a></mivoxml></r>',
    'an unknown entity': '<r><mivoxml><a>&nbsp;</a></mivoxml></r>',
    'a reference to no character': '<r><mivoxml><a>&#0;</a></mivoxml></r>',
    'a CDATA section': '<r><mivoxml><a><![CDATA[1]]></a></mivoxml></r>',
    'a processing instruction inside': '<r><?pi x?><mivoxml><a>1</a></mivoxml></r>',
    'a document type': '<!DOCTYPE r><r><mivoxml><a>1</a></mivoxml></r>',
    'a record left open': '<r><mivoxml><a>1</a>',
    'a root never closed': '<r><mivoxml><a>1</a></mivoxml>',
    'text after the root': '<r><mivoxml><a>1</a></mivoxml></r>x',
    'an element after the root': '<r></r><s></s>',
    'a misspelt closing tag': '<r><mivoxml><a>1</b></mivoxml></r>',
    'a prefixed name': '<r><mivoxml><p:a>1</p:a></mivoxml></r>',
    'a name XML refuses': '<r><mivoxml><1a>1</1a></mivoxml></r>',
    'the record element as the root': '<mivoxml><a>1</a></mivoxml>',
    'a control character': '<r><mivoxml><a>1\u0007</a></mivoxml></r>',
    'a carriage return in a value': '<r><mivoxml><a>1\r2</a></mivoxml></r>',
    'no root at all': 'just text',
  };
  for (const [name, text] of Object.entries(forms)) {
    for (const names of [['a'], []]) {
      const bytes = new TextEncoder().encode(head + text);
      assert.equal(scanned(bytes, names, []).ok, false, `${name}, names ${names}`);
    }
  }
});
