// The search page as the tool writes it, opened in headless Chromium or Firefox without any special flag.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';

import {
  MARKUP, NAMES, addressBook, firefox, launch, makePage, openPage, prop, rowOf, screenshot, searchFor, settled,
  shownRows, statusText, tempDir, text, visible, xmlDocument,
} from './helpers.mjs';

const records = addressBook();
const xml = xmlDocument(records);
const collator = new Intl.Collator('ja', { numeric: true });
const nodeDir = process.env.ORV_NODE_DIR || path.join(path.dirname(new URL(import.meta.url).pathname), '../../build/page-node');
const axeSource = fs.readFileSync(createRequire(path.join(nodeDir, 'package.json')).resolve('axe-core/axe.min.js'), 'utf8');

let browser;
let dir;
before(async () => {
  browser = await launch();
  dir = tempDir();
});
after(async () => {
  await browser?.close();
  if (dir) fs.rmSync(dir, { recursive: true, force: true });
});

function pageIn(name, options) {
  const sub = path.join(dir, name);
  fs.mkdirSync(sub);
  return makePage(sub, options);
}

const sortedBy = (list, name, dir = 1) => list.map((r, i) => [r, i])
  .sort(([a, i], [b, j]) => dir * collator.compare(a[name], b[name]) || i - j).map(([r]) => rowOf(r));

const sortState = (page, n) => page.$eval(`#head-rows th:nth-child(${n})`, (th) => th.getAttribute('aria-sort'));
const press = async (page, selector, key) => { await page.focus(selector); await page.keyboard.press(key); };
const sortOn = async (page, n) => { await page.click(`#head-rows th:nth-child(${n}) button`); await settled(page); };

async function axeViolations(page) {
  await page.evaluate(axeSource);
  const found = await page.evaluate(async () => (await window.axe.run(document)).violations);
  return found.filter((v) => v.impact === 'serious' || v.impact === 'critical').map((v) => `${v.id}: ${v.nodes[0].html} ${v.nodes[0].failureSummary}`);
}

describe('address book opened from disk', () => {
  let written;
  before(() => {
    written = pageIn('book', { field: '名前', lines: 33, xml });
  });

  test('shows the first page under real column headers, pages by button, number and size, shows markup as text', async () => {
    const page = await openPage(browser, written.url);
    const heads = await page.$$eval('#head-rows th', (ths) => ths.map((th) => [th.textContent, th.scope, th.getAttribute('aria-sort'),
      th.querySelector('.arrow').getAttribute('aria-hidden')]));
    assert.deepEqual(heads.map((h) => h.slice(1, 4)), NAMES.map(() => ['col', 'none', 'true']));
    assert.deepEqual(heads.map((h) => h[0].slice(0, -1)), NAMES, 'the name, then its arrow glyph');
    assert.equal(await page.$eval('#head-rows tr', (tr) => getComputedStyle(tr).backgroundColor), 'rgb(0, 255, 255)');
    assert.match(await page.$eval('meta[http-equiv="Content-Security-Policy"]', (m) => m.content), /default-src 'none'/);
    assert.equal(await prop(page, '#column', 'value'), '名前');
    assert.equal(await text(page, '#xml-file'), written.xml);
    await screenshot(page, 'search-page-first.png');
    // 33 lines give a page size of 16, offered beside the usual sizes.
    assert.deepEqual(await page.$$eval('#page-size option', (os) => os.map((o) => o.value)), ['16', '20', '50', '100', '500']);
    const expectPage = async (from, to) => {
      assert.equal(await statusText(page), `33件 / 全33件（${from + 1}–${to}件目）`);
      assert.deepEqual(await shownRows(page), records.slice(from, to).map((r) => rowOf(r)));
    };
    await expectPage(0, 16);
    assert.equal(await prop(page, '#prev-page', 'disabled'), true);
    await press(page, '#next-page', 'Enter');
    await page.keyboard.press('Enter');
    await expectPage(32, 33);
    assert.equal(await prop(page, '#next-page', 'disabled'), true);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'prev-page', 'the focus stays in the pager');
    assert.equal(await text(page, '#page-info'), '/ 3 ページ');
    await page.$eval('#page-number', (e) => { e.value = '2'; });
    await press(page, '#page-number', 'Enter');
    await expectPage(16, 32);
    await page.select('#page-size', '20');
    await expectPage(0, 20);

    const cells = await page.$$eval('#rows td', (tds) => tds.map((td) => td.textContent));
    assert.ok(cells.includes(MARKUP), 'the markup value is shown as it stands');
    assert.ok(cells.includes('&amp;'), 'an escaped ampersand shows as "&amp;"');
    assert.equal(await page.$$eval('#rows img', (imgs) => imgs.length), 0);
    await new Promise((resolve) => setTimeout(resolve, 200));
    assert.equal(await page.evaluate(() => window.__injected), undefined);
    assert.deepEqual(page.scriptErrors, []);
  });

  test('searches the way Japanese is typed: kana, width, dashes, case, every word, in the chosen column', async () => {
    const page = await openPage(browser, written.url);
    const reading = (kana) => records.filter((r) => r.読み.startsWith(kana));
    const cases = [
      ['あおき', '', reading('ｱｵｷ')],
      ['アオキ', '読み', reading('ｱｵｷ')],
      ['ｽｽﾞｷ', '', reading('ｽｽﾞｷ')],
      ['すずき', '名前', []],
      ['木', '名前', records.filter((r) => r.名前.includes('木'))],
      ['遥　青木', '名前', records.filter((r) => r.名前 === '青木 遥')],
      ['鈴木 美咲', '', []],
      ['03ー1000', '', records.filter((r) => r.電話.startsWith('03-1000'))],
      ['０３−１０００', '電話', records.filter((r) => r.電話.startsWith('03-1000'))],
      ['IMG SRC', '', [records[4]]],
    ];
    for (const [text, column, expected] of cases) {
      await searchFor(page, text, column);
      const rows = expected.length ? expected.map((r) => rowOf(r)) : [['該当するデータはありません（0件 / 全33件）']];
      assert.deepEqual(await shownRows(page), rows, `${text} in ${column || 'every column'}`);
      assert.equal(await statusText(page), expected.length ? `${expected.length}件 / 全33件（1–${expected.length}件目）`
        : '該当するデータはありません（0件 / 全33件）');
    }
    await searchFor(page, 'あおき はるか', '');
    assert.deepEqual(await page.$$eval('#rows mark', (ms) => ms.map((m) => m.textContent)), ['ｱｵｷ', 'ﾊﾙｶ'], 'hits are marked');
    await screenshot(page, 'search-page-search.png');
    await searchFor(page, '');
    assert.equal(await statusText(page), '33件 / 全33件（1–16件目）');
  });

  test('sorts numbers inside text by value, stably, keeping the search, and a reload returns to the same view', async () => {
    const page = await openPage(browser, written.url);
    await page.click('#next-page');
    await sortOn(page, 4);
    assert.deepEqual(await shownRows(page), sortedBy(records, '住所2').slice(0, 16), '2丁目 before 10丁目, back on page 1');
    assert.equal(await sortState(page, 4), 'ascending');
    await sortOn(page, 4);
    assert.equal(await sortState(page, 4), 'descending');
    assert.deepEqual(await shownRows(page), sortedBy(records, '住所2', -1).slice(0, 16));

    await searchFor(page, '丁目', '住所2');
    await press(page, '#head-rows th:nth-child(3) button', 'Enter');
    await settled(page);
    const expected = sortedBy(records.filter((r) => r.住所2.includes('丁目')), '住所1');
    await page.click('#next-page');
    assert.deepEqual(await shownRows(page), expected.slice(16, 32));
    await page.reload();
    await page.waitForSelector('html[data-state="ready"]');
    assert.deepEqual(await shownRows(page), expected.slice(16, 32), 'search, column, sort and page kept in the URL');
    assert.equal(await prop(page, '#query', 'value'), '丁目');
    assert.equal(await sortState(page, 3), 'ascending');
  });

  test('waits while an input method is composing and searches once the text is chosen', { skip: firefox && 'input methods are driven through CDP' }, async () => {
    const page = await openPage(browser, written.url);
    await page.focus('#query');
    const cdp = await page.createCDPSession();
    await cdp.send('Input.imeSetComposition', { text: 'すずき', selectionStart: 3, selectionEnd: 3 });
    assert.equal(await statusText(page), '33件 / 全33件（1–16件目）', 'no search while composing');
    await cdp.send('Input.insertText', { text: '鈴木' });
    const expected = records.filter((r) => r.名前.includes('鈴木'));
    await page.waitForFunction((n) => document.querySelectorAll('#rows tr').length === n, {}, expected.length);
    assert.deepEqual(await shownRows(page), expected.map((r) => rowOf(r)));
  });

  test('passes the accessibility checks in light and dark, prints without controls, fits a phone', async () => {
    const page = await openPage(browser, written.url);
    await searchFor(page, 'あおき', '');
    assert.deepEqual(await axeViolations(page), []);
    assert.ok(await page.$eval('#table-wrap', (w) => w.scrollWidth <= w.clientWidth), 'a long value wraps');
    assert.match(await page.$eval('#query', (e) => { e.focus(); return getComputedStyle(e).outlineStyle; }), /solid|auto/);
    if (!firefox) {  // media emulation is a CDP feature
      await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
      assert.notEqual(await page.$eval('#head-rows tr', (tr) => getComputedStyle(tr).backgroundColor), 'rgb(0, 255, 255)');
      assert.deepEqual(await axeViolations(page), []);
      await screenshot(page, 'search-page-dark.png');
      await page.emulateMediaType('print');
      assert.deepEqual(await page.$$eval('.toolbar, .pager', (es) => es.map((e) => getComputedStyle(e).display)), ['none', 'none']);
      await page.emulateMediaType('screen');
    }
    await page.setViewport({ width: 360, height: 700 });
    const widths = await page.evaluate(() => ({ page: document.documentElement.scrollWidth,
      view: document.documentElement.clientWidth, pager: document.querySelector('.pager').getBoundingClientRect().right }));
    assert.ok(widths.page <= widths.view && widths.pager <= widths.view, JSON.stringify(widths));
    await screenshot(page, 'search-page-narrow.png');
  });

  test('exports the matching rows as CSV with a byte order mark and copies them to the clipboard', async () => {
    const page = await openPage(browser, written.url);
    await searchFor(page, 'ｽｽﾞｷ', '読み');
    const suzuki = records.filter((r) => r.読み.startsWith('ｽｽﾞｷ'));
    await page.evaluate(() => {
      const make = URL.createObjectURL;
      URL.createObjectURL = (blob) => { window.__blob = blob; return make(blob); };
      HTMLAnchorElement.prototype.click = function save() { window.__name = this.download; };
    });
    await page.click('#export');
    const [name, bytes] = await page.evaluate(async () => [window.__name, [...new Uint8Array(await window.__blob.arrayBuffer())]]);
    assert.equal(name, '住所録.csv');
    const table = [NAMES, ...suzuki.map((r) => rowOf(r))];
    assert.equal(Buffer.from(bytes).toString('utf8'), '\uFEFF' + table.map((r) => r.join(',')).join('\r\n') + '\r\n');
    await page.evaluate(() => { navigator.clipboard.writeText = async (t) => { window.__copied = t; }; });
    await page.click('#copy');
    assert.equal(await page.evaluate(() => window.__copied), table.map((r) => r.join('\t')).join('\r\n') + '\r\n');
    assert.equal(await statusText(page), `${suzuki.length}件をコピーしました。`);
  });
});

describe('pages the tool left partly unfilled', () => {
  test('no rows, no field: names from the first record, every column searched, pages of 20 (as for a size of 0)', async () => {
    const page = await openPage(browser, pageIn('norows', { xml, noRows: true }).url);
    assert.deepEqual(await page.$$eval('#head-rows th', (ths) => ths.map((th) => th.textContent.slice(0, -1))), NAMES);
    assert.doesNotMatch(await page.evaluate(() => document.body.innerText), /\[t(head|body)\]/, 'no placeholder text shows');
    assert.equal(await prop(page, '#column', 'value'), '');
    assert.equal(await statusText(page), '33件 / 全33件（1–20件目）');
    assert.deepEqual(await shownRows(page), records.slice(0, 20).map((r) => rowOf(r)));
    await searchFor(page, records[7].電話);
    assert.deepEqual(await shownRows(page), [rowOf(records[7])]);
    const sizeZero = await openPage(browser, pageIn('size0', { field: '電話', lines: 1, xml }).url);
    assert.equal(await statusText(sizeZero), '33件 / 全33件（1–20件目）');
  });
});

describe('documents as the tool writes them and as hands edit them', () => {
  const raw = records.slice(0, 5).map((r) => ({ ...r }));
  raw[1].名前 = 'A & B <商会>';
  raw[2].住所1 = '1 < 2 &amp; 3';
  const parsererror = '<?xml version="1.0" encoding="Shift_JIS"?>\r\n<名簿>\r\n<!-- edited by hand -->\r\n<mivoxml>\r\n'
    + '<parsererror>&#x41;</parsererror><名前>x</名前>\r\n</mivoxml>\r\n</名簿>\r\n';
  const references = '<?xml version="1.0" encoding="Shift_JIS"?>\r\n<名簿>\r\n<mivoxml>\r\n'
    + '<読み>&#x20BB7;田</読み><名前>caf&#xE9;&#x1F600;</名前>\r\n</mivoxml>\r\n\r\n</名簿>';
  const cases = [
    ['characters Shift_JIS lacks come back from their references', { names: ['読み', '名前'], xml: references }, [['\u{20BB7}田', 'café😀']], false],
    ['raw "&" and "<" in values are read tolerantly, with a note', { xml: xmlDocument(raw, { escape: false }) },
      raw.map((r) => rowOf(r)).map((row, i) => (i === 2 ? [...row.slice(0, 2), '1 < 2 & 3', ...row.slice(3)] : row)), true],
    ['a field named parsererror gives no false warning', { names: ['parsererror', '名前'], xml: parsererror }, [['A', 'x']], false],
    ['a record left open at the end is still shown',
      { xml: xmlDocument(records.slice(0, 3)).replace(/\r\n<\/mivoxml>\r\n\r\n<\/住所録>\r\n$/, '') }, records.slice(0, 3).map((r) => rowOf(r)), true],
  ];
  cases.forEach(([name, options, expected, tolerant], i) => test(name, async () => {
    const page = await openPage(browser, pageIn(`parser${i}`, { field: '名前', lines: 10, ...options }).url);
    assert.deepEqual(await shownRows(page), expected);
    assert.equal(await visible(page, '#note'), tolerant);
    assert.deepEqual(page.scriptErrors, []);
  }));
});

describe('a large document', () => {
  const many = Array.from({ length: 40000 }, (_, i) => records[i % records.length])
    .map((r, i) => ({ ...r, 名前: `${r.名前}${i}`, 住所2: `${i}番地` }));

  test('shows rows while it loads, keeps what is typed meanwhile, then caps pages at 500', async () => {
    const page = await openPage(browser, pageIn('large', { field: '名前', lines: 40000, xml: xmlDocument(many) }).url, { waitFor: null });
    await page.waitForSelector('#rows tr');
    await searchFor(page, '鈴木 大輔');
    await page.waitForSelector('html[data-state="ready"]');
    await settled(page);
    const found = many.filter((r) => r.名前.includes('鈴木 大輔'));
    assert.equal(await statusText(page), `${found.length.toLocaleString('ja')}件 / 全40,000件（1–500件目）`);
    await page.click('#last-page');
    assert.deepEqual((await shownRows(page)).at(-1), rowOf(found.at(-1)));
    await searchFor(page, '');
    await page.click('#last-page');
    assert.equal(await statusText(page), '40,000件 / 全40,000件（39,501–40,000件目）');
    assert.deepEqual((await shownRows(page)).at(-1), rowOf(many.at(-1)));
  });
});

describe('no data in the page', () => {
  test('shows a Japanese prompt whose file picker refuses a file without records; a dropped document fills the table', async () => {
    // The document is not beside the page either (Firefox would read it from there).
    const written = pageIn('nodata', { field: '名前', lines: 33, xml, noData: true, xmlName: 'elsewhere.xml', xmlPath: 'C:\\データ\\住所録.xml' });
    const page = await openPage(browser, written.url, { waitFor: 'need-file' });
    assert.equal(await visible(page, '#records'), false);
    assert.equal(await text(page, '#loader-title'), 'XMLファイルを選んでください');
    assert.match(await text(page, '#loader'), /住所録\.xml/);
    assert.equal(await page.$eval('#file-input', (e) => e.getAttribute('accept')), '.xml');
    await screenshot(page, 'search-page-picker.png');
    const other = path.join(dir, 'nodata', 'memo.xml');
    fs.writeFileSync(other, 'just text');
    await (await page.$('#file-input')).uploadFile(other);
    await page.waitForFunction(() => document.getElementById('loader-error').textContent !== '');
    assert.match(await text(page, '#loader-error'), /memo\.xml/);
    await page.evaluate((b) => {
      const t = new DataTransfer();
      t.items.add(new File([new Uint8Array(b)], 'book.xml', { type: 'text/xml' }));
      document.getElementById('drop-zone').dispatchEvent(new DragEvent('drop', { dataTransfer: t, bubbles: true, cancelable: true }));
    }, [...fs.readFileSync(written.xml)]);
    await page.waitForSelector('html[data-state="ready"]');
    assert.deepEqual(await shownRows(page), records.slice(0, 16).map((r) => rowOf(r)));
    assert.equal(await visible(page, '#loader'), false);
    assert.equal(await text(page, '#xml-file'), 'book.xml');
    assert.deepEqual(page.scriptErrors, []);
  });

  test('served over http, the page loads the document of the same name beside it', async () => {
    const written = pageIn('served', { field: '名前', lines: 33, xml, noData: true, xmlPath: 'C:\\データ\\café😀\\住所録.xml' });
    const served = path.dirname(written.page);
    const server = http.createServer((req, res) => {
      const file = path.join(served, decodeURIComponent(new URL(req.url, 'http://x').pathname));
      if (!file.startsWith(served) || !fs.existsSync(file)) return res.writeHead(404).end();
      res.writeHead(200).end(fs.readFileSync(file));
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    try {
      const page = await openPage(browser, `http://127.0.0.1:${server.address().port}/XmlSearchTemp.htm`);
      assert.equal(await text(page, '#xml-file'), 'C:\\データ\\café😀\\住所録.xml');
      assert.deepEqual(await shownRows(page), records.slice(0, 16).map((r) => rowOf(r)));
    } finally {
      server.close();
    }
  });
});
