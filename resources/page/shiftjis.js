// Shift_JIS decoding through a table of what the platform's own decoder makes of every byte and byte
// pair: many times faster than that decoder on long text. From a piece with any byte the table lacks
// on, the platform's decoder takes over (characters never straddle what was already decoded).
import { fromCodes } from './fold.js';

/** The document's encoding: UTF-8 by its byte order mark or its declaration, else Shift_JIS. */
export function encodingOf(bytes) {
  if (bytes[0] === 0xef && bytes[1] === 0xbb && bytes[2] === 0xbf) return 'utf-8';
  const head = String.fromCharCode.apply(null, bytes.subarray(0, 120));
  const m = /^<\?xml[^>]*encoding\s*=\s*["']([^"']+)["']/.exec(head);
  return m && /^utf-?8$/i.test(m[1]) ? 'utf-8' : 'shift_jis';
}

let tables = null;

/** What the platform's decoder makes of each byte (`single`, -1 for a lead byte or none) and byte
 * pair (`pair`, 0 for none). */
export const shiftJisTables = () => tables || (tables = buildTables());

/** The bytes of `text` in Shift_JIS, by the tables (the first pair of a character with two); null
 * where a character has none. */
export function shiftJisBytes(text) {
  const { single, pair } = shiftJisTables();
  const out = [];
  for (const ch of text) {
    const c = ch.charCodeAt(0);
    let b = single.indexOf(c);
    if (b >= 0 && ch.length === 1) {
      out.push(b);
      continue;
    }
    b = ch.length === 1 && c ? pair.indexOf(c) : -1;
    if (b < 0) return null;
    out.push(b >> 8, b & 255);
  }
  return Uint8Array.from(out);
}

function buildTables() {
  const single = new Int32Array(256).fill(-1);
  const pair = new Uint16Array(65536);
  const d = new TextDecoder('shift_jis');
  for (let b = 0; b < 256; b++) {
    const c = d.decode(new Uint8Array([b]));
    if (c.length === 1 && c !== '\uFFFD') single[b] = c.charCodeAt(0);
  }
  const two = new Uint8Array(2);
  for (let lead = 0x81; lead <= 0xfc; lead++) {
    if (single[lead] >= 0) continue;
    for (let trail = 0x40; trail <= 0xfc; trail++) {
      two[0] = lead;
      two[1] = trail;
      const c = d.decode(two);
      if (c.length === 1 && c !== '\uFFFD') pair[(lead << 8) | trail] = c.charCodeAt(0);
    }
  }
  return { single, pair };
}

/** A decoder with TextDecoder's `decode(bytes, { stream })`. */
export class ShiftJisDecoder {
  constructor() {
    this.carry = -1;
    this.fallback = null;
  }

  decode(bytes, options) {
    if (this.fallback) return this.fallback.decode(bytes, options);
    const { single, pair } = shiftJisTables();
    const out = new Uint16Array(bytes.length + 1);
    let j = 0;
    let i = 0;
    // A lead byte held from the last piece goes back in front of this one if the platform takes over.
    const carried = this.carry;
    this.carry = -1;
    if (carried >= 0 && bytes.length) {
      const c = pair[(carried << 8) | bytes[0]];
      if (!c) return this.giveUp(bytes, options, carried);
      out[j++] = c;
      i = 1;
    }
    for (const n = bytes.length; i < n; i++) {
      const b = bytes[i];
      if (b < 0x80) {
        out[j++] = b;
      } else if (single[b] >= 0) {
        out[j++] = single[b];
      } else if (i + 1 < n) {
        const c = pair[(b << 8) | bytes[++i]];
        if (!c) return this.giveUp(bytes, options, carried);
        out[j++] = c;
      } else if (options && options.stream) {
        this.carry = b;
      } else {
        return this.giveUp(bytes, options, carried);
      }
    }
    return fromCodes(out.subarray(0, j));
  }

  giveUp(bytes, options, carried) {
    this.fallback = new TextDecoder('shift_jis');
    this.carry = -1;
    let input = bytes;
    if (carried >= 0) {
      input = new Uint8Array(bytes.length + 1);
      input[0] = carried;
      input.set(bytes, 1);
    }
    return this.fallback.decode(input, options);
  }
}

/** The decoder for a document that begins with `bytes`. */
export const decoderFor = (bytes) =>
  encodingOf(bytes) === 'utf-8' ? new TextDecoder('utf-8') : new ShiftJisDecoder();
