// The table decoder must read Shift_JIS exactly as the platform's decoder does, whole and in pieces.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { ShiftJisDecoder, encodingOf } from '../../../resources/page/shiftjis.js';
import { shiftJis } from './encode.mjs';

// Node's decoder (ICU) swaps three ASCII control bytes (0x1A, 0x1C, 0x7F) that browsers read as
// themselves, as the decoder's table does; where the decoder hands over to the platform, the swap comes
// with it. Both sides are compared with those three as one mark; in all else Node's decoder is the
// browsers'.
const controls = (text) => text.replace(/[\u001A\u001C\u007F]/g, '\u001A');
const wrap = (d) => ({ decode: (bytes, options) => controls(d.decode(bytes, options)) });
const platform = () => wrap(new TextDecoder('shift_jis'));
const ours = () => wrap(new ShiftJisDecoder());

test('the decoder equals the platform decoder on every byte and byte pair', () => {
  const two = new Uint8Array(2);
  for (let lead = 0; lead < 256; lead++) {
    assert.equal(ours().decode(Uint8Array.of(lead)), platform().decode(Uint8Array.of(lead)));
    for (let trail = 0; trail < 256; trail++) {
      two[0] = lead;
      two[1] = trail;
      const got = ours().decode(two);
      if (got !== platform().decode(two)) assert.fail(`bytes ${lead.toString(16)} ${trail.toString(16)}`);
    }
  }
});

test('text cut at every offset decodes as the whole does', async (t) => {
  const texts = {
    'kanji, kana, ASCII and code page 932 signs': shiftJis('山田 ﾀﾅｶ,①㈱～\\x-ー\r\n佐藤花子'),
    'a broken pair in the middle': Uint8Array.of(
      ...shiftJis('あい'),
      0x81,
      0x20,
      ...shiftJis('うえ'),
      0xa0,
      0x82,
    ),
  };
  for (const [name, bytes] of Object.entries(texts)) {
    await t.test(name, () => {
      const whole = platform().decode(bytes);
      for (let cut = 0; cut <= bytes.length; cut++) {
        const d = ours();
        const text = d.decode(bytes.subarray(0, cut), { stream: true }) + d.decode(bytes.subarray(cut));
        assert.equal(text, whole, `cut at ${cut}`);
      }
    });
  }
});

test('a document is UTF-8 by its byte order mark or declaration, else Shift_JIS', () => {
  const cases = [
    ['\uFEFF<r/>', 'utf-8'],
    ['<?xml version="1.0" encoding="UTF-8"?><r/>', 'utf-8'],
    ["<?xml version='1.0' encoding='utf8'?><r/>", 'utf-8'],
    ['<?xml version="1.0" encoding="Shift_JIS"?><r/>', 'shift_jis'],
    ['<r/>', 'shift_jis'],
  ];
  for (const [text, encoding] of cases)
    assert.equal(encodingOf(new TextEncoder().encode(text)), encoding, text);
});
