// The page that the tool itself writes at the end of the guided sample, opened from disk.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { launch, openPage, prop, screenshot, searchFor, shownRows, statusText, tempDir, templatePath } from './helpers.mjs';

const here = path.dirname(new URL(import.meta.url).pathname);
const walkthrough = process.env.ORV_WALKTHROUGH || path.join(here, '../../build/tests/page/walkthrough_page');
const sample = process.env.ORV_SAMPLE || path.join(here, '../../resources/sample.txt');

// The sample's records, read back from the Shift_JIS file the tool ships.
function sampleRecords() {
  const text = new TextDecoder('shift_jis').decode(fs.readFileSync(sample));
  return text.split('\r\n').filter((l) => l).map((l) => l.slice(1, -1).split('","'));
}

let browser;
let dir;
let opened;
before(async () => {
  browser = await launch();
  dir = tempDir();
  fs.copyFileSync(templatePath, path.join(dir, 'search.mvo'));
  fs.copyFileSync(sample, path.join(dir, 'sample.txt'));
  opened = execFileSync(walkthrough, [dir], { encoding: 'utf8', stdio: ['ignore', 'pipe', 'inherit'] }).trim();
});
after(async () => {
  await browser?.close();
  if (dir) fs.rmSync(dir, { recursive: true, force: true });
});

test('the walk-through writes the page beside the program and asks the desktop to open it', () => {
  assert.equal(opened, path.join(dir, 'XmlSearchTemp.htm'));
  assert.ok(fs.existsSync(path.join(dir, 'sample.xml')));
});

test('opened from disk, the address book page shows its first page and searches by name', async () => {
  const records = sampleRecords();
  assert.ok(records.length >= 30);
  const pageSize = Math.floor(records.length / 2);
  const page = await openPage(browser, 'file://' + opened);
  assert.deepEqual(await shownRows(page), records.slice(0, pageSize));
  assert.equal(await statusText(page), `${records.length}件 / 全${records.length}件（1–${pageSize}件目）`);
  assert.equal(await prop(page, '#column', 'value'), '名前');
  await screenshot(page, 'walkthrough-first.png');

  const name = records[9][1];
  await searchFor(page, name.split(' ')[0]);
  assert.deepEqual(await shownRows(page), [records[9]]);
  assert.deepEqual(page.scriptErrors, []);
});
