// Shared by the browser tests: the address book, pages written through make_page, a headless browser
// (Chromium or Firefox, as ORV_BROWSER says) driven over WebDriver BiDi.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const here = path.dirname(new URL(import.meta.url).pathname);
// The browser driver lives outside the sources, where run.sh installed it.
const nodeDir = process.env.ORV_NODE_DIR || path.join(here, '../../build/page-node');
const puppeteer = createRequire(path.join(nodeDir, 'package.json'))('puppeteer-core');
export const engine = process.env.ORV_BROWSER || 'chromium';
export const firefox = engine === 'firefox';
export const makePageTool = process.env.ORV_MAKE_PAGE || path.join(here, '../../build/tests/page/make_page');
export const templatePath = process.env.ORV_TEMPLATE || path.join(here, '../../build/search.mvo');

export const NAMES = ['読み', '名前', '住所1', '住所2', '電話'];
export const MARKUP = '<img src=x onerror=window.__injected=1>';

const FAMILIES = [
  ['ｱｵｷ', '青木'], ['ｲｼｶﾜ', '石川'], ['ｳｴﾀﾞ', '上田'], ['ｴﾝﾄﾞｳ', '遠藤'], ['ｵｵﾀ', '太田'],
  ['ｶﾄｳ', '加藤'], ['ｷﾑﾗ', '木村'], ['ｸﾎﾞ', '久保'], ['ｺﾊﾞﾔｼ', '小林'], ['ｻｻｷ', '佐々木'],
  ['ｼﾐｽﾞ', '清水'], ['ｽｽﾞｷ', '鈴木'],
];
const GIVEN = [['ﾊﾙｶ', '遥'], ['ﾀﾞｲｽｹ', '大輔'], ['ﾐｻｷ', '美咲']];
const TOWNS = ['東京都港区', '大阪府北区', '福岡県博多区', '北海道札幌市'];

/// 33 fictional records: readings in half-width katakana, one value that looks like markup, one that
/// looks like an escaped ampersand, one far too long for a cell, a numbered address column.
export function addressBook() {
  const records = Array.from({ length: 33 }, (_, i) => {
    const [familyKana, family] = FAMILIES[i % FAMILIES.length];
    const [givenKana, given] = GIVEN[Math.floor(i / FAMILIES.length)];
    return {
      読み: `${familyKana} ${givenKana}`, 名前: `${family} ${given}`, 住所1: TOWNS[i % TOWNS.length],
      住所2: `${(i * 7) % 33 + 1}丁目${i + 1}番`,
      電話: `0${3 + (i % 6)}-${String(1000 + i * 37).padStart(4, '0')}-${String(9000 - i * 11)}`,
    };
  });
  records[4].住所2 = MARKUP;
  records[9].住所2 = '&amp;';
  records[12].住所2 = `${'Mansion'.repeat(40)}1丁目`;  // far wider than any window
  return records;
}

const escapeXml = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

/// The document in the tool's layout. `escape` false writes values raw, as older versions did.
export function xmlDocument(records, { root = '住所録', names = NAMES, escape = true } = {}) {
  const value = escape ? escapeXml : (s) => s;
  let xml = `<?xml version="1.0" encoding="Shift_JIS"?>\r\n<${root}>\r\n`;
  for (const r of records) {
    xml += '<mivoxml>\r\n';
    xml += names.map((n) => `<${n}>${value(r[n])}</${n}>`).join('');
    xml += '\r\n</mivoxml>\r\n\r\n';
  }
  return xml + `</${root}>\r\n`;
}

export const tempDir = () => fs.mkdtempSync(path.join(os.tmpdir(), 'orv-page-'));

/// Writes `dir`/XmlSearchTemp.htm (and the document, Shift_JIS, as `xmlName`) through make_page.
/// options: field (search field, or none to leave it unfilled), lines, xml (UTF-8 document text),
/// xmlPath (the path text the page names), noData, noSave, noRows.
export function makePage(dir, { names = NAMES, field, lines = 33, xml, xmlName = '住所録.xml', xmlPath,
  noData = false, noSave = false, noRows = false } = {}) {
  const out = path.join(dir, 'XmlSearchTemp.htm');
  const xmlOut = path.join(dir, xmlName);
  const args = ['--template', templatePath, '--out', out, '--names', names.join(',')];
  if (noRows) args.push('--no-rows');
  if (field !== undefined) args.push('--field', field, '--lines', String(lines));
  if (noSave) args.push('--no-save');
  if (!noSave && xml !== undefined) {
    fs.writeFileSync(path.join(dir, 'source.utf8.xml'), xml);
    args.push('--xml-source', path.join(dir, 'source.utf8.xml'), '--xml-out', xmlOut);
  }
  if (!noSave) args.push('--xml-path', xmlPath ?? xmlOut);
  if (!noSave && noData) args.push('--no-data');
  execFileSync(makePageTool, args, { stdio: ['ignore', 'inherit', 'inherit'] });
  return { page: out, xml: xmlOut, url: 'file://' + out };
}

export function launch() {
  return puppeteer.launch({
    browser: firefox ? 'firefox' : 'chrome',
    executablePath: process.env.ORV_BROWSER_PATH || (firefox ? '/usr/bin/firefox-esr' : '/usr/bin/chromium'),
    headless: true,
    args: firefox ? [] : ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--lang=ja-JP'],
  });
}

/// A fresh page in a context of its own; `page.scriptErrors` collects script errors in the page (not
/// Firefox's report of an XML document the page then reads tolerantly).
export async function openPage(browser, url, { width = 1000, height = 800, waitFor = 'ready' } = {}) {
  const page = await (await browser.createBrowserContext()).newPage();
  await page.setViewport({ width, height });
  page.scriptErrors = [];
  page.on('pageerror', (e) => { if (!/^XML Parsing Error/.test(e.message)) page.scriptErrors.push(e); });
  await page.goto(url);
  if (waitFor) await page.waitForSelector(`html[data-state="${waitFor}"]`, { timeout: 20000 });
  return page;
}

export const text = (page, selector) => page.$eval(selector, (e) => e.textContent);
export const prop = (page, selector, name) => page.$eval(selector, (e, n) => e[n], name);
export const visible = (page, selector) => page.$eval(selector, (e) => e.getClientRects().length > 0);

/// The cell texts of the rows now shown.
export function shownRows(page) {
  return page.$$eval('#rows tr', (trs) => trs.map((tr) => Array.from(tr.cells, (td) => td.textContent)));
}

export const statusText = (page) => text(page, '#status');

/// Waits until the worker's answer to the last search or sort is on the page.
export const settled = (page) => page.waitForSelector('#records:not([aria-busy])');

/// Sets the search box as typing does (searching `column`, '' for every column, when given) and waits.
export async function searchFor(page, query, column) {
  if (column !== undefined) await page.select('#column', column);
  await page.$eval('#query', (e, q) => { e.value = q; e.dispatchEvent(new InputEvent('input', { bubbles: true })); }, query);
  await settled(page);
}

export const rowOf = (record, names = NAMES) => names.map((n) => record[n]);

export async function screenshot(page, name) {
  const dir = process.env.ORV_SCREENSHOT_DIR;
  if (dir) await page.screenshot({ path: path.join(dir, name), fullPage: true });
}
