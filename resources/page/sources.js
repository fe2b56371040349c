// Where the document's bytes come from: the page itself (raw DEFLATE in base64), a file the user
// picks, or the document beside the page. Each gives a stream of byte chunks and the whole.
import { takeEmbeddedData, baseName } from './dom.js';

// Base64 characters of the compressed document inflated at a time (multiples of 4): a small first
// slice, so that rows show at once.
const FIRST_PACKED = 1 << 14;
const PACKED_PIECE = 1 << 18;

const B64 = new Uint8Array(128).fill(255);
for (let i = 0; i < 64; i++)
  B64['ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/'.charCodeAt(i)] = i;

/** Base64 text (a multiple of 4 characters, no blanks) to bytes; throws on anything else. */
function fromBase64(s) {
  let n = s.length;
  if (n % 4) throw new Error('base64');
  const pad = n && s.charCodeAt(n - 1) === 61 ? (s.charCodeAt(n - 2) === 61 ? 2 : 1) : 0;
  const out = new Uint8Array((n / 4) * 3 - pad);
  let j = 0;
  n -= pad ? 4 : 0;
  const at = (i) => (s.charCodeAt(i) > 127 ? 255 : B64[s.charCodeAt(i)]);
  for (let i = 0; i < n; i += 4) {
    const v = (at(i) << 18) | (at(i + 1) << 12) | (at(i + 2) << 6) | at(i + 3);
    if (v > 0xffffff) throw new Error('base64');
    out[j++] = v >> 16;
    out[j++] = (v >> 8) & 255;
    out[j++] = v & 255;
  }
  const tail = pad ? atob(s.slice(n)) : '';
  for (let i = 0; i < tail.length; i++) out[j++] = tail.charCodeAt(i);
  return out;
}

/** Pieces of `size` bytes (the last one shorter, and told so) out of a stream of byte chunks. */
export function gather(stream) {
  const reader = stream.getReader();
  const held = [];
  const state = { count: 0, done: false };
  return {
    busy: false,
    async read(size) {
      while (!state.done && state.count <= size) {
        const r = await reader.read();
        if (r.done) state.done = true;
        else {
          held.push(r.value);
          state.count += r.value.length;
        }
      }
      const piece = new Uint8Array(Math.min(size, state.count));
      for (let k = 0; k < piece.length;) {
        const chunk = held[0];
        const take = Math.min(chunk.length, piece.length - k);
        piece.set(take === chunk.length ? chunk : chunk.subarray(0, take), k);
        if (take === chunk.length) held.shift();
        else held[0] = chunk.subarray(take);
        k += take;
      }
      state.count -= piece.length;
      return { piece, last: state.done && state.count === 0 };
    },
    cancel() {
      reader.cancel().catch(() => {});
    },
  };
}

function inflated(text) {
  const inflate = new DecompressionStream('deflate-raw');
  const writer = inflate.writable.getWriter();
  const bytesOf = Uint8Array.fromBase64 || fromBase64;
  (async () => {
    for (let at = 0, end; at < text.length; at = end) {
      end = at + (at ? PACKED_PIECE : FIRST_PACKED);
      await writer.write(bytesOf(text.slice(at, end)));
    }
    await writer.close();
  })().catch((e) => writer.abort(e).catch(() => {}));
  return inflate.readable;
}

/** The document the page carries, inflated a slice at a time as it is read, so that the first rows
 * show long before the last are inflated; null where there is none or the browser cannot inflate. */
export function embeddedSource() {
  const held = { data: takeEmbeddedData() };
  if (!held.data || typeof DecompressionStream !== 'function') return null;
  return {
    stream: () => inflated(held.data),
    release() {
      held.data = '';
    },
    bytes() {
      return gather(this.stream())
        .read(Infinity)
        .then((r) => r.piece);
    },
  };
}

export function bytesSource(bytes) {
  return {
    stream: () =>
      new ReadableStream({
        start(c) {
          c.enqueue(bytes);
          c.close();
        },
      }),
    bytes: () => Promise.resolve(bytes),
  };
}

/** The document beside the page, by the name the tool gave; null where it cannot be read. */
export async function fetchBeside(path) {
  if (!path) return null;
  try {
    const response = await fetch(encodeURIComponent(baseName(path)), { cache: 'no-cache' });
    return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
  } catch (e) {
    return null;
  }
}
