// Values as the CSV file and the copy write them. A value a spreadsheet would read as a formula (one that
// begins with "=", "+", "-" or "@", or with a tab or CR) is written after a "'", which makes the
// spreadsheet take it as text; every other value goes out as it stands. A field with the separator, a
// quote or a line break is quoted.

const FORMULA = /^[=+\-@\t\r]/;

/** `v` with a leading "'" where a spreadsheet would evaluate it. */
export const guarded = (v) => (FORMULA.test(v) ? "'" + v : v);

const quotedIf = (special) => (v) => {
  const s = guarded(v);
  return special.test(s) ? '"' + s.replace(/"/g, '""') + '"' : s;
};
const csvField = quotedIf(/[",\r\n]/);
const tsvField = quotedIf(/["\t\r\n]/);

/** Rows as lines of fields joined by `separator`, each line ended by CRLF. */
export const tableText = (rows, separator) =>
  rows.map((r) => r.map(separator === ',' ? csvField : tsvField).join(separator)).join('\r\n') + '\r\n';
