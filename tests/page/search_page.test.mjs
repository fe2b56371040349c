// The search page as the tool writes it, opened in headless Chromium or Firefox without any special flag.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { test } from 'node:test';

import {
  NAMES, addressBook, built, firefox, makePage, nodeRequire, prop, searchFor, settled, shownRows, templatePath,
  text, useBrowser, xmlDocument,
} from './helpers.mjs';

const records = addressBook();
const xml = xmlDocument(records);
const env = useBrowser();
const sample = process.env.ORV_SAMPLE || new URL('../../resources/sample.txt', import.meta.url).pathname;
const rows = (list, names = NAMES) => list.map((r) => names.map((n) => r[n]));
/// The status line and the rows shown, as `showing` gives them for rows from..to of the records found out of `all`.
const view = async (page) => [await text(page, '#status'), await shownRows(page)];
const showing = (found, from, to, all = 33) => [`${found.length.toLocaleString('ja')}件 / 全${all.toLocaleString('ja')}件`
  + `（${(from + 1).toLocaleString('ja')}–${to.toLocaleString('ja')}件目）`, rows(found.slice(from, to))];
const NONE = '該当するデータはありません（0件 / 全33件）';
/// A page in a folder of its own, by default with the address book, searching 名前.
const pageIn = (name, options) => makePage(path.join(env.dir, name), { field: '名前', xml, ...options });
let book;
const openBook = () => env.open((book ??= pageIn('book')).url);
const press = async (page, selector, key) => { await page.focus(selector); await page.keyboard.press(key); };
const sortState = (page, n) => page.$eval(`#head-rows th:nth-child(${n})`, (th) => th.getAttribute('aria-sort'));
const sortOn = async (page, n) => { await page.click(`#head-rows th:nth-child(${n}) button`); await settled(page); };
/// The records as a stable sort by `keys` ([name, 1 up or -1 down], the first deciding first) orders them.
const sortedBy = (list, ...keys) => rows(list.map((r, i) => [r, i]).sort(([a, i], [b, j]) => keys.reduce((d, [name, order]) =>
  d || order * a[name].localeCompare(b[name], 'ja', { numeric: true }), 0) || i - j).map(([r]) => r));
const withShift = async (page, action) => { await page.keyboard.down('Shift'); await action(); await page.keyboard.up('Shift'); };
/// The findings of axe-core, of any impact, on the page as it is now.
async function axeFindings(page) {
  await page.evaluate(fs.readFileSync(nodeRequire.resolve('axe-core/axe.min.js'), 'utf8'));
  return page.evaluate(async () => (await window.axe.run(document)).violations
    .map((v) => `${v.impact} ${v.id}: ${v.nodes[0].html} ${v.nodes[0].failureSummary}`));
}

test('the first page shows under the column names; pages by button, number and size; markup shows as text; axe-core '
  + 'finds nothing (in dark mode too); a long value wraps; the page fits a phone', async () => {
  const page = await openBook();
  const heads = await page.$$eval('#head-rows th', (ths) => ths.map((th) =>
    [th.textContent.slice(0, -1), th.scope, th.getAttribute('aria-sort'), th.querySelector('.arrow').getAttribute('aria-hidden')]));
  assert.deepEqual(heads, NAMES.map((n) => [n, 'col', 'none', 'true']), 'each name, then its arrow, hidden from readers');
  // 33 lines give pages of 16; the values that look like markup and "&amp;" are on the first
  assert.deepEqual(await view(page), showing(records, 0, 16));
  assert.equal(await prop(page, '#prev-page', 'disabled'), true);
  await press(page, '#next-page', 'Enter');
  await page.keyboard.press('Enter');
  assert.deepEqual(await view(page), showing(records, 32, 33));
  assert.equal(await prop(page, '#next-page', 'disabled'), true);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'prev-page', 'the focus stays in the pager');
  assert.equal(await text(page, '#page-info'), '/ 3 ページ');
  for (const [typed, from, to, shown] of [['2', 16, 32, '2'], ['99999', 32, 33, '3'], ['0', 0, 16, '1']]) {  // beyond too
    await page.$eval('#page-number', (e, v) => { e.value = v; }, typed);
    await press(page, '#page-number', 'Enter');
    assert.deepEqual([await view(page), await prop(page, '#page-number', 'value')], [showing(records, from, to), shown], typed);
  }
  await page.select('#page-size', '20');
  assert.deepEqual(await view(page), showing(records, 0, 20));
  assert.equal(await page.evaluate(() => document.images.length), 0, 'the markup made no element');
  assert.deepEqual(await axeFindings(page), []);  // with the far too long value on this page
  const headColour = () => page.$eval('#head-rows tr', (tr) => getComputedStyle(tr).backgroundColor);
  assert.equal(await headColour(), 'rgb(0, 255, 255)', 'the cyan header of light mode');
  assert.match(await page.$eval('#query', (e) => { e.focus(); return getComputedStyle(e).outlineStyle; }), /solid|auto/);
  if (!firefox) {  // media emulation is a CDP feature
    await page.emulateMediaType('print');
    assert.deepEqual(await page.$$eval('.toolbar, .pager', (es) => es.map((e) => getComputedStyle(e).display)),
      ['none', 'none'], 'printed without the controls');
    await page.emulateMediaType('screen');
    await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
    assert.notEqual(await headColour(), 'rgb(0, 255, 255)', 'dark mode has a header of its own');
    assert.deepEqual(await axeFindings(page), []);
  }
  assert.ok(await page.$eval('#table-wrap', (w) => w.scrollWidth <= w.clientWidth), 'a long value wraps');
  await page.setViewport({ width: 360, height: 700 });
  assert.ok(await page.evaluate(() => Math.max(document.documentElement.scrollWidth, document.querySelector('.pager')
    .getBoundingClientRect().right) <= document.documentElement.clientWidth), 'nothing wider than a 360 px phone');
  assert.deepEqual(await page.$eval('#rows tr', (tr) => [...tr.cells].map((td) => [td.dataset.label,
    getComputedStyle(td).display, getComputedStyle(td, '::before').content !== 'none'])),
  NAMES.map((n) => [n, 'grid', true]), 'on a phone a record is a card, each value after its column name');
});

test('search goes the way Japanese is typed: kana, width, dashes, case, every word, a column, an input method', async () => {
  const page = await openBook();
  const where = (name, match) => records.filter((r) => match(r[name]));
  const aoki = where('読み', (v) => v.startsWith('ｱｵｷ'));
  const phone = where('電話', (v) => v.startsWith('03-1000'));
  for (const [query, column, expected] of [
    // how each query folds is the engine's test; here the box, the column list and the rows
    ['あおき', '', aoki], ['すずき', '名前', []], ['遥　青木', '名前', where('名前', (v) => v === '青木 遥')],
    ['０３−１０００', '電話', phone], ['IMG SRC', '', [records[4]]],
  ]) {
    await searchFor(page, query, column);
    assert.deepEqual(await view(page), expected.length ? showing(expected, 0, expected.length) : [NONE, [[NONE]]],
      `${query} in ${column || 'every column'}`);
  }
  await searchFor(page, 'あおきはるか (03)10009000', '');
  assert.deepEqual(await page.$$eval('#rows mark', (ms) => ms.map((m) => m.textContent)), ['ｱｵｷ ﾊﾙｶ', '03-1000-9000'], 'marked');
  await searchFor(page, '');
  assert.deepEqual(await view(page), showing(records, 0, 16));
  if (firefox) return;  // input methods are driven over CDP
  await page.focus('#query');
  const cdp = await page.createCDPSession();
  await cdp.send('Input.imeSetComposition', { text: 'すずき', selectionStart: 3, selectionEnd: 3 });
  assert.equal(await text(page, '#status'), showing(records, 0, 16)[0], 'no search while composing');
  await cdp.send('Input.insertText', { text: '鈴木' });
  const expected = records.filter((r) => r.名前.includes('鈴木'));
  await page.waitForFunction((n) => document.querySelectorAll('#rows tr').length === n, {}, expected.length);
  assert.deepEqual(await shownRows(page), rows(expected));
});

test('numbers inside text sort by value, stably, keeping the search; Shift adds a column to the sort, numbered in the '
  + 'header, which keeps the order on view while the status says it sorts; a reload returns to the same view; the rows '
  + 'found export as CSV with a byte order mark and copy to the clipboard, in that order', async () => {
  const page = await openBook();
  await page.click('#next-page');
  for (const [order, state] of [[1, 'ascending'], [-1, 'descending']]) {  // 2丁目 before 10丁目, back on page 1
    await sortOn(page, 4);
    assert.deepEqual([await sortState(page, 4), await shownRows(page)], [state, sortedBy(records, ['住所2', order]).slice(0, 16)]);
  }
  await searchFor(page, '丁目', '住所2');
  await press(page, '#head-rows th:nth-child(3) button', 'Enter');
  await settled(page);
  await withShift(page, () => sortOn(page, 4));
  await page.evaluate(() => {  // what the status and the headers show at each change of the status
    const head = () => [...document.querySelectorAll('#head-rows th')].slice(2, 4).map((th) => th.textContent.slice(-2));
    window.__seen = [];
    new MutationObserver(() => window.__seen.push([document.getElementById('status').textContent, ...head()]))
      .observe(document.getElementById('status'), { childList: true, characterData: true, subtree: true });
  });
  const paged = await page.evaluate(() => {  // Shift+Enter, then the next page before the sort's answer
    const button = document.querySelector('#head-rows th:nth-child(4) button');
    button.dispatchEvent(new KeyboardEvent('keydown', { key: 'Enter', shiftKey: true, bubbles: true }));
    document.getElementById('next-page').click();
    return document.getElementById('status').textContent;
  });
  await settled(page);
  assert.deepEqual([paged, ...(await page.evaluate(() => window.__seen)).slice(0, 1)], ['並べ替え中…', ['並べ替え中…', '▲1', '▲2']]);
  assert.deepEqual([await sortState(page, 3), await sortState(page, 4), await text(page, '#head-rows th:nth-child(4)')],
    ['ascending', 'none', '住所2▼2']);
  await page.click('#next-page');
  const found = sortedBy(records.filter((r) => r.住所2.includes('丁目')), ['住所1', 1], ['住所2', -1]);
  assert.deepEqual(await shownRows(page), found.slice(16, 32));
  await page.reload();
  await page.waitForSelector('html[data-state="ready"]');
  assert.deepEqual(await shownRows(page), found.slice(16, 32), 'search, column, sort and page kept in the URL');
  assert.equal(await prop(page, '#query', 'value'), '丁目');
  assert.deepEqual([await sortState(page, 3), await text(page, '#head-rows th:nth-child(4)')], ['ascending', '住所2▼2']);
  await page.evaluate(() => {  // keep what would be saved and copied
    URL.createObjectURL = (blob) => { window.__blob = blob; return ''; };
    HTMLAnchorElement.prototype.click = function save() { window.__name = this.download; };
    navigator.clipboard.writeText = async (t) => { window.__copied = t; };
  });
  await page.click('#export');
  const [name, bytes] = await page.evaluate(async () => [window.__name, [...new Uint8Array(await window.__blob.arrayBuffer())]]);
  const table = [NAMES, ...found];
  assert.equal(name, '住所録.csv');
  assert.equal(Buffer.from(bytes).toString('utf8'), `\uFEFF${table.map((r) => r.join(',')).join('\r\n')}\r\n`);
  await page.click('#copy');
  assert.equal(await page.evaluate(() => window.__copied), `${table.map((r) => r.join('\t')).join('\r\n')}\r\n`);
  assert.equal(await text(page, '#status'), `${table.length - 1}件をコピーしました。`);
});

test('a filter under a column narrows with the search, and so do values ticked in the list of a column of few; a '
  + 'column is widened by dragging its edge; the reader hides columns from the menu but never the last one; a reload '
  + 'keeps the filter, the ticked values and the hidden columns', async () => {
  const page = await openBook();
  await page.$eval('.filter-row td:nth-child(3) input', (e) => {
    e.value = '区';
    e.dispatchEvent(new InputEvent('input', { bubbles: true }));
  });
  await settled(page);
  await searchFor(page, '木');
  const narrowed = records.filter((r) => r.住所1.includes('区') && r.名前.includes('木'));
  assert.deepEqual(await view(page), showing(narrowed, 0, narrowed.length));
  // The one column of few values lists them, counted among the records the search and the filter leave;
  // ticked values narrow too.
  const lists = await page.$$eval('.values', (all) => all.map((d) => d.closest('td').cellIndex));
  await page.click('.values summary');
  const towns = [...new Set(records.map((r) => r.住所1))].sort((a, b) => a.localeCompare(b, 'ja'));
  const count = (list, town) => list.filter((r) => r.住所1 === town).length;
  const counted = towns.map((t) => `${t} (${count(narrowed, t)})`);
  assert.deepEqual([lists, await page.$$eval('.values label', (ls) => ls.map((l) => l.textContent))], [[2], counted]);
  const ticked = towns.filter((t) => count(narrowed, t)).slice(0, 2);
  for (const t of ticked) await page.click(`.values label:nth-of-type(${towns.indexOf(t) + 1}) input`);
  await settled(page);
  const picked = narrowed.filter((r) => ticked.includes(r.住所1));
  assert.deepEqual(await view(page), showing(picked, 0, picked.length));
  assert.deepEqual(await axeFindings(page), [], 'with the list open');
  const width = () => page.$eval('#head-rows th:nth-child(2)', (th) => th.getBoundingClientRect().width);
  const before = await width();
  const edge = await (await page.$('#head-rows th:nth-child(2) .col-resize')).boundingBox();
  await page.mouse.move(edge.x + 4, edge.y + 10);
  await page.mouse.down();
  await page.mouse.move(edge.x + 124, edge.y + 10, { steps: 4 });
  await page.mouse.up();
  assert.ok(Math.abs((await width()) - before - 120) < 8, `${before} widened to ${await width()}`);
  const shown = () => page.$$eval('#head-rows th, #rows tr:first-child td', (cells) => cells
    .filter((c) => getComputedStyle(c).display !== 'none').map((c) => c.textContent.slice(0, 2)));
  await page.click('#columns-menu summary');
  for (const box of (await page.$$('#column-choices input')).slice(1)) await box.click();
  const kept = [NAMES[0].slice(0, 2), narrowed[0][NAMES[0]].slice(0, 2)];
  assert.deepEqual([await shown(), await prop(page, '#column-choices input', 'disabled')], [kept, true]);
  await page.reload();
  await page.waitForSelector('html[data-state="ready"]');
  assert.deepEqual(await shown(), kept, 'the hidden columns are kept in the URL');
  await page.waitForSelector('.values');
  assert.deepEqual(await view(page), showing(picked, 0, picked.length), 'the filter and the picks are kept in the URL');
  assert.equal(await page.$$eval('.values input:checked', (boxes) => boxes.length), ticked.length);
});

test('left without rows or field, the page names columns from the first record, searches all, pages by 20', async () => {
  const page = await env.open(pageIn('norows', { field: '', leave: 'no-rows' }).url);
  assert.deepEqual(await page.$$eval('#head-rows th', (ths) => ths.map((th) => th.textContent.slice(0, -1))), NAMES);
  assert.doesNotMatch(await page.evaluate(() => document.body.innerText), /\[t(head|body)\]/, 'no placeholder shows');
  assert.deepEqual(await view(page), showing(records, 0, 20));
  assert.equal(await prop(page, '#column', 'value'), '', 'every column is searched');
  const sizeZero = await env.open(pageIn('size0', { field: '電話', lines: 1 }).url);
  assert.deepEqual(await view(sizeZero), showing(records, 0, 20), 'a page size of 0 pages by 20');
});

// Documents as the tool writes them and as hands edit them.
const raw = records.slice(0, 5).map((r, i) => ({ ...r, ...[{}, { 名前: 'A & B <商会>' }, { 住所1: '1 < 2 &amp; 3' }][i] }));
const doc = (body) => `<?xml version="1.0" encoding="Shift_JIS"?>\r\n<名簿>\r\n${body}\r\n</mivoxml>\r\n</名簿>\r\n`;
const unclosed = xmlDocument(records.slice(0, 3)).replace(/\r\n<\/mivoxml>\r\n\r\n<\/住所録>\r\n$/, '');
for (const [i, [name, names, xmlText, expected, tolerant]] of [
  ['raw "&" and "<" in values are read tolerantly, with a note', NAMES, xmlDocument(raw, { escape: false }),
    rows(raw).map((row, r) => (r === 2 ? row.with(2, '1 < 2 & 3') : row)), true],
  ['a field named parsererror gives no false warning', ['parsererror', '名前'],
    doc('<!-- edited by hand -->\r\n<mivoxml>\r\n<parsererror>&#x41;</parsererror><名前>x</名前>'), [['A', 'x']], false],
  ['a record left open at the end is still shown', NAMES, unclosed, rows(records.slice(0, 3)), true],
].entries()) {
  test(name, async () => {
    const page = await env.open(pageIn(`parser${i}`, { names, xml: xmlText, lines: 10 }).url);
    assert.deepEqual(await shownRows(page), expected);
    assert.equal(await page.$eval('#note', (e) => e.getClientRects().length > 0), tolerant, 'whether the note shows');
  });
}

test('a large document shows rows while it loads, keeps what is typed meanwhile, then pages by at most 500', async () => {
  const many = Array.from({ length: 40000 }, (_, i) => ({ ...records[i % 33], 名前: `${records[i % 33].名前}${i}`, 住所2: `${i}番地` }));
  const page = await env.open(pageIn('large', { lines: 40000, xml: xmlDocument(many) }).url, { waitFor: null });
  await page.waitForSelector('#rows tr');
  await searchFor(page, '鈴木 大輔');
  await page.waitForSelector('html[data-state="ready"]');
  await settled(page);
  const found = many.filter((r) => r.名前.includes('鈴木 大輔'));
  assert.deepEqual(await view(page), showing(found, 0, 500, 40000));
  await searchFor(page, '');
  await page.click('#last-page');
  assert.deepEqual(await view(page), showing(many, 39500, 40000, 40000));
});

test('with no data, a prompt whose picker refuses a file without records; a dropped document fills the table', async () => {
  // The document is not beside the page either (Firefox would read it from there).
  const written = pageIn('nodata', { leave: 'no-data', xmlName: 'elsewhere.xml', xmlPath: 'C:\\データ\\住所録.xml' });
  const page = await env.open(written.url, { waitFor: 'need-file' });
  assert.equal(await page.$eval('#records', (e) => e.getClientRects().length), 0, 'no table while the prompt shows');
  assert.match(await text(page, '#loader'), /住所録\.xml/);
  fs.writeFileSync(path.join(env.dir, 'memo.xml'), 'just text');
  await (await page.$('#file-input')).uploadFile(path.join(env.dir, 'memo.xml'));
  await page.waitForFunction(() => document.getElementById('loader-error').textContent !== '');
  assert.match(await text(page, '#loader-error'), /memo\.xml/);
  await page.evaluate((bytes) => {
    const data = new DataTransfer();
    data.items.add(new File([new Uint8Array(bytes)], 'book.xml', { type: 'text/xml' }));
    document.getElementById('drop-zone').dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
  }, [...fs.readFileSync(written.xml)]);
  await page.waitForSelector('html[data-state="ready"]');
  assert.deepEqual(await view(page), showing(records, 0, 16));
  assert.equal(await page.$eval('#loader', (e) => e.getClientRects().length), 0, 'the prompt has gone');
  assert.equal(await text(page, '#xml-file'), 'book.xml');
});

test('with no data, served over http, the page names the document and loads the one of its name beside it', async () => {
  const folder = path.dirname(pageIn('served', { leave: 'no-data', xmlPath: 'C:\\データ\\café😀\\住所録.xml' }).page);
  const server = http.createServer((req, res) => fs.readFile(path.join(folder, decodeURIComponent(req.url.split('?')[0])),
    (error, data) => (error ? res.writeHead(404).end() : res.end(data))));
  await new Promise((resolve) => server.unref().listen(0, '127.0.0.1', resolve));  // unref: a failure cannot hang the run
  const page = await env.open(`http://127.0.0.1:${server.address().port}/XmlSearchTemp.htm`);
  assert.equal(await text(page, '#xml-file'), 'C:\\データ\\café😀\\住所録.xml');
  assert.deepEqual(await view(page), showing(records, 0, 16));
  server.close();
});

test('the walk-through in the window model writes the page beside the program and asks the desktop to open it; that '
  + 'page shows the sample and searches by name', async () => {
  for (const [from, name] of [[templatePath, 'search.mvo'], [sample, 'sample.txt']]) fs.copyFileSync(from, path.join(env.dir, name));
  const opened = execFileSync(built('ORV_MAKE_PAGE', 'tests/page/make_page'), ['--first-time', env.dir], { encoding: 'utf8' }).trim();
  assert.equal(opened, path.join(env.dir, 'XmlSearchTemp.htm'));
  assert.ok(fs.existsSync(path.join(env.dir, 'sample.xml')));
  // The sample's records, read back from the Shift_JIS file the tool ships; the page size is half their count.
  const records = new TextDecoder('shift_jis').decode(fs.readFileSync(sample)).split('\r\n').filter((l) => l)
    .map((l) => l.slice(1, -1).split('","'));
  const page = await env.open(`file://${opened}`);
  assert.deepEqual(await shownRows(page), records.slice(0, Math.floor(records.length / 2)));
  assert.equal(await prop(page, '#column', 'value'), '名前');
  await searchFor(page, records[9][1].split(' ')[0]);
  assert.deepEqual(await shownRows(page), [records[9]]);
});
