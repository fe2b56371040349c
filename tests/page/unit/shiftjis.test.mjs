// The table decoder must read Shift_JIS exactly as the platform's decoder does, whole and in pieces.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { ShiftJisDecoder } from '../../../resources/page/shiftjis.js';
import { shiftJis } from './support.mjs';

// Node's decoder (ICU) swaps three ASCII control bytes (0x1A, 0x1C, 0x7F) that browsers, and the table,
// read as themselves; where the decoder hands over to the platform the swap comes with it. Both sides are
// compared with those three as one mark; in all else Node's decoder is the browsers'.
const wrap = (d) => ({
  decode: (b, options) => d.decode(b, options).replace(/[\u001A\u001C\u007F]/g, '\u001A'),
});
const platform = () => wrap(new TextDecoder('shift_jis'));
const ours = () => wrap(new ShiftJisDecoder());

test('the decoder equals the platform decoder on every byte and byte pair', () => {
  for (let lead = 0; lead < 256; lead++) {
    assert.equal(ours().decode(Uint8Array.of(lead)), platform().decode(Uint8Array.of(lead)));
    for (let trail = 0; trail < 256; trail++) {
      const two = Uint8Array.of(lead, trail);
      if (ours().decode(two) !== platform().decode(two)) assert.fail(`bytes ${lead} ${trail}`);
    }
  }
});

test('text cut at every offset decodes as the whole does, also around a broken pair', () => {
  const texts = [
    shiftJis('山田 ﾀﾅｶ,①㈱～\\x-ー\r\n佐藤'),
    Uint8Array.of(...shiftJis('あい'), 0x81, 0x20, 0x82, 0xa0, 0xa0, 0x82),
  ];
  for (const bytes of texts) {
    for (let cut = 0; cut <= bytes.length; cut++) {
      const d = ours();
      const text = d.decode(bytes.subarray(0, cut), { stream: true }) + d.decode(bytes.subarray(cut));
      assert.equal(text, platform().decode(bytes), `cut at ${cut}`);
    }
  }
});
