// Shared by the engine's tests: a seeded random source (a failing case runs again) and Shift_JIS bytes
// for test text, from the platform decoder's own table.
export function random(seed) {
  let s = seed;
  const next = () => ((s = (s * 1103515245 + 12345) >>> 0) >>> 8) / (1 << 24);
  const int = (n) => Math.floor(next() * n);
  return {
    next,
    int,
    pick: (list) => list[int(list.length)],
    list: (n, make) => Array.from({ length: n }, make),
  };
}

const codes = new Map();
const decoder = new TextDecoder('shift_jis');
const learn = (...bytes) => {
  const c = decoder.decode(Uint8Array.from(bytes));
  if (c.length === 1 && c !== '\uFFFD' && !codes.has(c)) codes.set(c, bytes);
};
for (let b = 0; b < 0xe0; b++) learn(b);
for (let lead = 0x81; lead <= 0xfc; lead++) for (let trail = 0x40; trail <= 0xfc; trail++) learn(lead, trail);
const codeOf = (c) => {
  if (!codes.has(c)) throw new Error(`no Shift_JIS for ${c}`);
  return codes.get(c);
};
export const shiftJis = (text) => Uint8Array.from([...text].flatMap(codeOf));
