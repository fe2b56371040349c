// The page that the tool itself writes at the end of the guided sample, opened from disk.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { built, prop, searchFor, shownRows, statusText, templatePath, useBrowser } from './helpers.mjs';

const env = useBrowser();
const sample = process.env.ORV_SAMPLE || path.join(path.dirname(new URL(import.meta.url).pathname), '../../resources/sample.txt');

test('the walk-through writes the page beside the program and asks the desktop to open it; the page shows the sample '
  + 'and searches by name', async () => {
  for (const [from, name] of [[templatePath, 'search.mvo'], [sample, 'sample.txt']]) fs.copyFileSync(from, path.join(env.dir, name));
  const opened = execFileSync(built('ORV_WALKTHROUGH', 'tests/page/walkthrough_page'), [env.dir], { encoding: 'utf8' }).trim();
  assert.equal(opened, path.join(env.dir, 'XmlSearchTemp.htm'));
  assert.ok(fs.existsSync(path.join(env.dir, 'sample.xml')));

  // The sample's records, read back from the Shift_JIS file the tool ships; the page size is half their count.
  const records = new TextDecoder('shift_jis').decode(fs.readFileSync(sample)).split('\r\n').filter((l) => l)
    .map((l) => l.slice(1, -1).split('","'));
  const size = Math.floor(records.length / 2);
  const page = await env.open(`file://${opened}`);
  assert.deepEqual(await shownRows(page), records.slice(0, size));
  assert.equal(await statusText(page), `${records.length}件 / 全${records.length}件（1–${size}件目）`);
  assert.equal(await prop(page, '#column', 'value'), '名前');
  await searchFor(page, records[9][1].split(' ')[0]);
  assert.deepEqual(await shownRows(page), [records[9]]);
});
