// Shared by the browser tests (and bench/page_load.mjs): the address book, pages written through make_page, a
// headless browser (Chromium or Firefox, as ORV_BROWSER says) driven over WebDriver BiDi.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { after, afterEach, before } from 'node:test';

export const built = (variable, file) => process.env[variable] || new URL(`../../build/${file}`, import.meta.url).pathname;
// The node packages live outside the sources, where scripts/browser-tests.sh installed them.
export const nodeRequire = createRequire(path.join(built('ORV_NODE_DIR', 'page-node'), 'package.json'));
export const firefox = process.env.ORV_BROWSER === 'firefox';
export const templatePath = built('ORV_TEMPLATE', 'search.mvo');
export const NAMES = ['読み', '名前', '住所1', '住所2', '電話'];

const pairs = (list) => list.split(' ').map((pair) => pair.split('/'));
const FAMILIES = pairs('ｱｵｷ/青木 ｲｼｶﾜ/石川 ｳｴﾀﾞ/上田 ｴﾝﾄﾞｳ/遠藤 ｵｵﾀ/太田 ｶﾄｳ/加藤 ｷﾑﾗ/木村 ｸﾎﾞ/久保 ｺﾊﾞﾔｼ/小林 ｻｻｷ/佐々木 ｼﾐｽﾞ/清水 ｽｽﾞｷ/鈴木');
const GIVEN = pairs('ﾊﾙｶ/遥 ﾀﾞｲｽｹ/大輔 ﾐｻｷ/美咲');
const TOWNS = ['東京都港区', '大阪府北区', '福岡県博多区', '北海道札幌市'];

/// 33 fictional records: readings in half-width katakana, a numbered address column, and three odd values: one
/// that looks like markup (record 4), one like an escaped ampersand (9), one far wider than any window (12).
export function addressBook() {
  const records = Array.from({ length: 33 }, (_, i) => {
    const [[familyKana, family], [givenKana, given]] = [FAMILIES[i % 12], GIVEN[Math.floor(i / 12)]];
    return { 読み: `${familyKana} ${givenKana}`, 名前: `${family} ${given}`, 住所1: TOWNS[i % 4],
      住所2: `${(i * 7) % 33 + 1}丁目${i + 1}番`, 電話: `0${3 + (i % 6)}-${1000 + i * 37}-${9000 - i * 11}` };
  });
  [records[4].住所2, records[9].住所2, records[12].住所2] = ['<img src=x onerror=window.__injected=1>', '&amp;', `${'Mansion'.repeat(40)}1丁目`];
  return records;
}

/// The document in the tool's layout. `escape` false writes values raw, as older versions did.
export function xmlDocument(records, { names = NAMES, escape = true } = {}) {
  const value = (s) => (escape ? s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;') : s);
  const record = (r) => `<mivoxml>\r\n${names.map((n) => `<${n}>${value(r[n])}</${n}>`).join('')}\r\n</mivoxml>\r\n\r\n`;
  return `<?xml version="1.0" encoding="Shift_JIS"?>\r\n<住所録>\r\n${records.map(record).join('')}</住所録>\r\n`;
}

export const tempDir = () => fs.mkdtempSync(path.join(os.tmpdir(), 'orv-page-'));

/// Writes `dir`/XmlSearchTemp.htm and the document `xml` (in Shift_JIS, as `xmlName`) through make_page; no `field`
/// leaves the search field unfilled, `leave` 'no-rows' or 'no-data' the rows or the data; `xmlPath` is shown.
export function makePage(dir, { names = NAMES, field = '', lines = 33, xml, xmlName = '住所録.xml', xmlPath, leave = '' } = {}) {
  const [page, doc] = [path.join(dir, 'XmlSearchTemp.htm'), path.join(dir, xmlName)];
  fs.mkdirSync(dir, { recursive: true });
  const args = [templatePath, page, doc, xmlPath ?? doc, field, String(lines), leave, ...names];
  execFileSync(built('ORV_MAKE_PAGE', 'tests/page/make_page'), args, { input: xml, stdio: ['pipe', 'inherit', 'inherit'] });
  return { page, xml: doc, url: `file://${page}` };
}

export const launch = () => nodeRequire('puppeteer-core').launch({ browser: firefox ? 'firefox' : 'chrome',
  executablePath: process.env.ORV_BROWSER_PATH || (firefox ? '/usr/bin/firefox-esr' : '/usr/bin/chromium'),
  args: firefox ? [] : ['--no-sandbox', '--disable-gpu', '--disable-component-update', '--lang=ja-JP'] });

/// For the tests of one file: a temporary folder, a browser once they start (both gone when they end), and `open`,
/// whose pages must show no script error by the end of each test.
export function useBrowser() {
  const env = { dir: tempDir(), pages: [] };
  env.open = (url, options) => openPage(env.browser, url, options).then((page) => { env.pages.push(page); return page; });
  before(async () => { env.browser = await launch(); });
  afterEach(() => assert.deepEqual(env.pages.splice(0).flatMap((page) => page.scriptErrors), [], 'script errors'));
  after(async () => { await env.browser?.close(); fs.rmSync(env.dir, { recursive: true, force: true }); });
  return env;
}

/// A fresh page in a context of its own, in state `waitFor`; `page.scriptErrors` collects its script errors (not Firefox's
/// reports of an XML document the page then reads tolerantly, or of the favicon over http that the page's policy blocks).
export async function openPage(browser, url, { waitFor = 'ready' } = {}) {
  const page = await (await browser.createBrowserContext()).newPage();
  await page.setViewport({ width: 1000, height: 800 });
  page.scriptErrors = [];
  page.on('pageerror', (e) => /^XML Parsing Error|^Content-Security-Policy: .*favicon\.ico/.test(e.message) || page.scriptErrors.push(e));
  await page.goto(url);
  if (waitFor) await page.waitForSelector(`html[data-state="${waitFor}"]`, { timeout: 20000 });
  return page;
}

export const text = (page, selector) => page.$eval(selector, (e) => e.textContent);
export const prop = (page, selector, name) => page.$eval(selector, (e, n) => e[n], name);
export const shownRows = (page) => page.$$eval('#rows tr', (trs) => trs.map((tr) => [...tr.cells].map((td) => td.textContent)));
/// Waits until the worker's answer to the last search or sort is on the page.
export const settled = (page) => page.waitForSelector('#records:not([aria-busy])');

/// Sets the search box as typing does (searching `column`, '' for every column, when given) and waits.
export async function searchFor(page, query, column) {
  if (column !== undefined) await page.select('#column', column);
  await page.$eval('#query', (e, q) => { e.value = q; e.dispatchEvent(new InputEvent('input', { bubbles: true })); }, query);
  await settled(page);
}
