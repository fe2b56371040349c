// Shift_JIS bytes for test text, from the platform decoder's own table.
const table = new Map();
const d = new TextDecoder('shift_jis');
for (let b = 0; b < 0xe0; b++) {
  const c = d.decode(Uint8Array.of(b));
  if (c.length === 1 && c !== '\uFFFD' && !table.has(c)) table.set(c, [b]);
}
for (let lead = 0x81; lead <= 0xfc; lead++) {
  for (let trail = 0x40; trail <= 0xfc; trail++) {
    const c = d.decode(Uint8Array.of(lead, trail));
    if (c.length === 1 && c !== '\uFFFD' && !table.has(c)) table.set(c, [lead, trail]);
  }
}

export function shiftJis(text) {
  const out = [];
  for (const c of text) {
    if (!table.has(c)) throw new Error(`no Shift_JIS for ${c}`);
    out.push(...table.get(c));
  }
  return Uint8Array.from(out);
}
