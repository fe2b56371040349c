// The CSV file and the copy: a value a spreadsheet would evaluate goes out after a "'", every other value as
// it stands (quoted where its separator, a quote or a line break needs it).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { tableText } from '../../../resources/page/cells.js';

test('values a spreadsheet would evaluate are written as text; the rest byte for byte', () => {
  for (const [value, csv, tsv] of [
    ['=1+2', "'=1+2", "'=1+2"],
    ['+81 3', "'+81 3", "'+81 3"],
    ['-5', "'-5", "'-5"],
    ['@SUM(A1)', "'@SUM(A1)", "'@SUM(A1)"],
    ['\tx', "'\tx", `"'\tx"`],
    ['\rx', `"'\rx"`, `"'\rx"`],
    ['=HYPERLINK("a","b")', `"'=HYPERLINK(""a"",""b"")"`, `"'=HYPERLINK(""a"",""b"")"`],
    ['03-1234-5678', '03-1234-5678', '03-1234-5678'],
    ['a=b', 'a=b', 'a=b'],
    [" '=x", " '=x", " '=x"],
    ['ー', 'ー', 'ー'],
    ['', '', ''],
    ['a,b', '"a,b"', 'a,b'],
    ['a\tb', 'a\tb', '"a\tb"'],
    ['say "hi"', '"say ""hi"""', '"say ""hi"""'],
    ['line\nnext', '"line\nnext"', '"line\nnext"'],
  ])
    for (const [separator, expected] of [
      [',', csv],
      ['\t', tsv],
    ])
      assert.equal(
        tableText([['名前', value]], separator),
        `名前${separator}${expected}\r\n`,
        JSON.stringify(value),
      );
});
