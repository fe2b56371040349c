// How long the search page takes to show its first page of rows with 10,000 and 100,000 records
// embedded, to have read every record (search and sort wait for that), and how long a search keystroke
// and a sort take then. Run by hand after a build:
//   node bench/page_load.mjs [records...]
// (needs tests/page/node_modules: `npm ci` there).
import fs from 'node:fs';
import path from 'node:path';

import { NAMES, launch, makePage, openPage, tempDir, xmlDocument } from '../tests/page/helpers.mjs';

const sizes = process.argv.slice(2).map(Number).filter((n) => n > 0);
if (!sizes.length) sizes.push(10000, 100000);
const RUNS = 3;

function records(n) {
  const kana = ['ｱｵｷ', 'ｲｼｶﾜ', 'ｳｴﾀﾞ', 'ｴﾝﾄﾞｳ', 'ｵｵﾀ', 'ｶﾄｳ', 'ｷﾑﾗ', 'ｸﾎﾞ'];
  const kanji = ['青木', '石川', '上田', '遠藤', '太田', '加藤', '木村', '久保'];
  const out = [];
  for (let i = 0; i < n; i++) {
    out.push({
      読み: `${kana[i % 8]} ${i}`,
      名前: `${kanji[i % 8]} ${kanji[(i >> 3) % 8]}${i}`,
      住所1: ['東京都港区', '大阪府北区', '福岡県博多区'][i % 3],
      住所2: `${(i * 7919) % 997 + 1}丁目${i % 50 + 1}番`,
      電話: `0${3 + (i % 6)}-${String(i % 10000).padStart(4, '0')}-${String((i * 31) % 10000).padStart(4, '0')}`,
    });
  }
  return out;
}

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];

const browser = await launch();
const dir = tempDir();
try {
  for (const n of sizes) {
    const written = makePage(dir, { field: '名前', lines: n, xml: xmlDocument(records(n), { names: NAMES }) });
    const pageBytes = fs.statSync(written.page).size;
    const shown = [];
    const loaded = [];
    const wall = [];
    const search = [];
    const sort = [];
    for (let run = 0; run < RUNS; run++) {
      const t0 = performance.now();
      const page = await openPage(browser, written.url, { waitFor: null });
      await page.waitForSelector('html[data-state="ready"]', { timeout: 120000 });
      wall.push(performance.now() - t0);
      const marks = await page.evaluate(() => ['records-shown', 'records-loaded'].map(
        (name) => performance.getEntriesByName(name)[0].startTime));
      shown.push(marks[0]);
      loaded.push(marks[1]);
      // Both run synchronously inside the handlers, so one evaluate measures them whole.
      search.push(await page.evaluate(() => {
        const q = document.getElementById('query');
        const t = performance.now();
        q.value = '木村';
        q.dispatchEvent(new InputEvent('input', { bubbles: true }));
        return performance.now() - t;
      }));
      sort.push(await page.evaluate(() => {
        const t = performance.now();
        document.querySelector('#head-rows td:nth-child(4) button').click();
        return performance.now() - t;
      }));
      await page.context().close();
    }
    const f = (xs) => `${Math.round(median(xs))} ms`;
    console.log(`${n} records (page ${(pageBytes / 1e6).toFixed(1)} MB), after navigation start: first page ` +
      `shown ${f(shown)}, every record read ${f(loaded)} (${f(wall)} from goto); then first search ${f(search)}, ` +
      `sort ${f(sort)}; median of ${RUNS}`);
  }
} finally {
  await browser.close();
  fs.rmSync(dir, { recursive: true, force: true });
}
