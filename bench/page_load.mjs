// The search page written by the tool with generated address books embedded, in headless Chromium
// (ORV_BROWSER=firefox for Firefox): how long until the first page of rows shows and until every record
// is searchable, the longest main-thread task while loading (PerformanceObserver 'longtask', Chromium
// only), the renderer's peak memory (the largest content process's in Firefox), and how long a search
// keystroke, a filter (大阪 under 住所1), a ticked value of 住所1's list and each sort (the first on its
// column: 住所2 of repeated values, 名前 and 電話 of all-different ones, then 住所1 added with Shift) take
// until the rows are redrawn; each figure as min–median–max of RUNS runs (3). Run by hand after a build:
//   node bench/page_load.mjs [records...]        (default 100000 1000000)
// (needs the test packages: bash scripts/browser-tests.sh installs them once into build/page-node).
import fs from 'node:fs';
import { execFileSync } from 'node:child_process';

import { NAMES, launch, makePage, openPage, tempDir, xmlDocument } from '../tests/page/helpers.mjs';

const sizes = process.argv.slice(2).map(Number).filter((n) => n > 0);
if (!sizes.length) sizes.push(100000, 1000000);
const RUNS = Number(process.env.RUNS || 3);

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

// Peak resident memory of the renderer processes under this script (the page and its workers live there).
function rendererPeak(browserPid) {
  const out = execFileSync('ps', ['-eo', 'pid=,ppid=,args='], { encoding: 'utf8' });
  const procs = out.trim().split('\n').map((l) => /^\s*(\d+)\s+(\d+)\s+(.*)$/.exec(l)).filter(Boolean)
    .map(([, pid, ppid, args]) => ({ pid, ppid, args }));
  const mine = new Set([String(browserPid)]);
  for (let grown = true; grown;) {
    grown = false;
    for (const p of procs) if (mine.has(p.ppid) && !mine.has(p.pid)) { mine.add(p.pid); grown = true; }
  }
  let peak = 0;
  for (const p of procs) {
    if (!mine.has(p.pid) || !/--type=renderer|-contentproc/.test(p.args)) continue;
    try {
      const m = /VmHWM:\s+(\d+)/.exec(fs.readFileSync(`/proc/${p.pid}/status`, 'utf8'));
      if (m) peak = Math.max(peak, Number(m[1]) * 1024);
    } catch { /* gone */ }
  }
  return peak;
}

// Time from the action (a search, or a click on the header of column `what`, with Shift when `shift`)
// until the rows are redrawn.
const untilRowsChange = (page, what, shift = false) => page.evaluate(async (what, shift) => {
  const rows = document.getElementById('rows');
  const done = new Promise((resolve) => new MutationObserver((_, o) => { o.disconnect(); resolve(performance.now()); })
    .observe(rows, { childList: true }));
  const t = performance.now();
  if (what === 'search' || what === 'filter') {
    const q = what === 'search' ? document.getElementById('query') : document.querySelector('.filter-row td:nth-child(3) input');
    q.value = what === 'search' ? '木村' : '大阪';
    q.dispatchEvent(new InputEvent('input', { bubbles: true }));
  } else if (what === 'pick') {
    document.querySelector('.values input[type=checkbox]').click();
  } else {
    const button = document.querySelector(`#head-rows tr > :nth-child(${what}) button`);
    button.dispatchEvent(new MouseEvent('click', { bubbles: true, shiftKey: shift }));
  }
  return (await done) - t;
}, what, shift);
const SORTS = [['sort', 4], ['byName', 2], ['byPhone', 5], ['added', 3, true]];

const browser = await launch();
const browserPid = process.pid;  // the browser runs as this script's child
const dir = tempDir();
try {
  for (const n of sizes) {
    const written = makePage(dir, { field: '名前', lines: n, xml: xmlDocument(records(n), { names: NAMES }) });
    const docBytes = fs.statSync(written.xml).size;
    const pageBytes = fs.statSync(written.page).size;
    const m = { shown: [], loaded: [], longest: [], over100: [], ours: [], memory: [], search: [], filter: [], pick: [] };
    for (const [name] of SORTS) m[name] = [];
    for (let run = 0; run < RUNS; run++) {
      const page = await openPage(browser, 'about:blank', { waitFor: null });
      await page.evaluateOnNewDocument(() => {
        window.__long = [];
        new PerformanceObserver((list) => { for (const e of list.getEntries()) window.__long.push([e.startTime, e.duration]); })
          .observe({ type: 'longtask', buffered: true });
      });
      await page.goto(written.url, { timeout: 300000, waitUntil: 'domcontentloaded' });
      await page.waitForSelector('html[data-state="ready"]', { timeout: 300000 });
      const r = await page.evaluate(() => {
        const at = (name) => (performance.getEntriesByName(name)[0] || { startTime: NaN }).startTime;
        const loaded = at('records-loaded');
        const tasks = window.__long.filter(([s]) => s <= loaded).map(([, d]) => d);
        // Tasks that begin once the page's script runs: the earlier ones are the browser parsing the page.
        const ours = Number.isNaN(at('script-start')) ? [NaN]
          : window.__long.filter(([s]) => s >= at('script-start') && s <= loaded).map(([, d]) => d);
        return { shown: at('records-shown'), loaded, longest: Math.max(0, ...tasks), over100: tasks.filter((d) => d > 100).length,
          ours: Math.max(0, ...ours) };
      });
      for (const k of ['shown', 'loaded', 'longest', 'over100', 'ours']) m[k].push(r[k]);
      m.memory.push(rendererPeak(browserPid));
      m.search.push(await untilRowsChange(page, 'search'));
      // The list of the column of few values comes once every record is searchable.
      await page.waitForSelector('.values input', { timeout: 60000 });
      m.filter.push(await untilRowsChange(page, 'filter'));
      m.pick.push(await untilRowsChange(page, 'pick'));
      for (const [name, column, shift] of SORTS) m[name].push(await untilRowsChange(page, column, shift));
      await page.browserContext().close();
    }
    const secs = (xs) => `${[Math.min(...xs), median(xs), Math.max(...xs)].map((x) => (x / 1000).toFixed(2)).join('–')} s`;
    const ms = (xs) => `${Math.round(median(xs))} ms`;
    const spread = (xs) => `${[Math.min(...xs), median(xs), Math.max(...xs)].map(Math.round).join('–')} ms`;
    const mb = (x) => `${(x / 1e6).toFixed(0)} MB (${(x / docBytes).toFixed(1)}x)`;
    console.log(`| ${process.env.ORV_BROWSER || 'chromium'} | ${n.toLocaleString('en')} | ` +
      `${(docBytes / 1e6).toFixed(0)} MB / ${(pageBytes / 1e6).toFixed(0)} MB | ` +
      `${secs(m.shown)} | ${secs(m.loaded)} | ${ms(m.longest)} (${median(m.over100)} over 100 ms) | ${ms(m.ours)} | ` +
      `${m.memory.some(Boolean) ? [Math.min(...m.memory), median(m.memory), Math.max(...m.memory)].map(mb).join('–') : '—'} | ` +
      `${[m.search, m.filter, m.pick, ...SORTS.map(([name]) => m[name])].map(spread).join(' | ')} |`);
  }
} finally {
  await browser.close();
  fs.rmSync(dir, { recursive: true, force: true });
}
