// The CSV file and the copy: a value a spreadsheet would evaluate goes out after a "'", any other as it stands.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { tableText } from '../../../resources/page/cells.js';

const row = '=1+2|+81 3|-5|@SUM(A1)|\tx|\rx|=A("b")|03-1|a=b| \'=x|ー||a,b|a\tb|a\nb'.split('|');
const csv = `'=1+2,'+81 3,'-5,'@SUM(A1),'\tx,"'\rx","'=A(""b"")",03-1,a=b, '=x,ー,,"a,b",a\tb,"a\nb"\r\n`;
const tsv = `'=1+2\t'+81 3\t'-5\t'@SUM(A1)\t"'\tx"\t"'\rx"\t"'=A(""b"")"\t03-1\ta=b\t '=x\tー\t\ta,b\t"a\tb"\t"a\nb"\r\n`;

test('values a spreadsheet would evaluate are written as text; the rest byte for byte', () => {
  assert.equal(tableText([row], ','), csv);
  assert.equal(tableText([row], '\t'), tsv);
});
