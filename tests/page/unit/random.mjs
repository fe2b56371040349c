// A seeded random source, so that a failing case can be run again.
export function random(seed) {
  let s = seed >>> 0 || 1;
  const next = () => {
    s ^= s << 13;
    s ^= s >>> 17;
    s ^= s << 5;
    return (s >>> 0) / 4294967296;
  };
  return { next, int: (n) => Math.floor(next() * n) };
}

export const pick = (rnd, list) => list[rnd.int(list.length)];
