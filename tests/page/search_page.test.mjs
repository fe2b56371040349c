// The search page as the tool writes it, opened in headless Chromium without any special flag.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';

import {
  MARKUP, NAMES, addressBook, launch, makePage, openPage, rowOf, screenshot, shownRows, statusText,
  tempDir, xmlDocument,
} from './helpers.mjs';

const records = addressBook();
const xml = xmlDocument(records);
const collator = new Intl.Collator('ja', { numeric: true });

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

describe('address book opened from disk', () => {
  let written;
  before(() => {
    written = pageIn('book', { field: '名前', lines: 33, xml });
  });

  test('shows the first page under the cyan header, pages through the records, shows markup as text', async () => {
    const page = await openPage(browser, written.url);
    assert.deepEqual(await page.$$eval('#head-rows td', (tds) => tds.map((td) => td.textContent)), NAMES);
    assert.equal(await page.$eval('#head-rows tr', (tr) => getComputedStyle(tr).backgroundColor), 'rgb(0, 255, 255)');
    assert.equal(await page.$eval('#status', (e) => e.getAttribute('aria-live')), 'polite');
    assert.equal(await page.textContent('#search-field-name'), '名前');
    assert.equal(await page.textContent('#xml-file'), written.xml);
    assert.equal(await page.isVisible('#loader'), false);
    await screenshot(page, 'search-page-first.png');
    const expectPage = async (status, from, to) => {
      assert.equal(await statusText(page), status);
      assert.deepEqual(await shownRows(page), records.slice(from, to).map((r) => rowOf(r)));
    };
    // 33 lines give a page size of 16.
    await expectPage('33件中 1–16件', 0, 16);
    assert.equal(await page.isDisabled('#prev-page'), true);
    assert.equal(await page.isDisabled('#first-page'), true);
    await page.click('#next-page');
    await expectPage('33件中 17–32件', 16, 32);
    await page.click('#last-page');
    await expectPage('33件中 33–33件', 32, 33);
    assert.equal(await page.isDisabled('#next-page'), true);
    assert.equal(await page.isDisabled('#last-page'), true);
    assert.equal(await page.textContent('#page-info'), '3 / 3 ページ');
    await page.click('#prev-page');
    await expectPage('33件中 17–32件', 16, 32);
    await page.click('#first-page');
    await expectPage('33件中 1–16件', 0, 16);

    const cells = await page.$$eval('#rows td', (tds) => tds.map((td) => td.textContent));
    assert.ok(cells.includes(MARKUP), 'the markup value is shown as it stands');
    assert.ok(cells.includes('&amp;'), 'an escaped ampersand shows as "&amp;"');
    assert.equal(await page.$$eval('#rows img', (imgs) => imgs.length), 0);
    await page.waitForTimeout(200);
    assert.equal(await page.evaluate(() => window.__injected), undefined);
    assert.deepEqual(page.scriptErrors, []);
  });

  test('typing narrows the rows to the search field, folding full-width and half-width forms', async () => {
    const page = await openPage(browser, written.url);
    await page.click('#next-page');
    await page.fill('#query', '木');
    const expected = records.filter((r) => r.名前.includes('木'));
    assert.ok(expected.length >= 2 && expected.length < 16);
    assert.deepEqual(await shownRows(page), expected.map((r) => rowOf(r)));
    assert.equal(await statusText(page), `${expected.length}件中 1–${expected.length}件`, 'a new search starts on page 1');
    await screenshot(page, 'search-page-search.png');

    // The search field is 名前: a reading or a phone number finds nothing.
    await page.fill('#query', records[0].電話);
    assert.equal(await statusText(page), '該当するデータはありません（0件）');
    assert.equal(await page.$$eval('#rows td.empty', (tds) => tds.length), 1);

    await page.fill('#query', '');
    assert.equal(await statusText(page), '33件中 1–16件');
  });

  test('clicking a column header sorts with Japanese numeric collation, and again reverses it', async () => {
    const page = await openPage(browser, written.url);
    const column = NAMES.indexOf('住所2');
    const ascending = records.map((r, i) => [r, i])
      .sort(([a, i], [b, j]) => collator.compare(a.住所2, b.住所2) || i - j).map(([r]) => rowOf(r));
    await page.click('#next-page');
    await page.click('#head-rows td:nth-child(4) button');
    assert.deepEqual(await shownRows(page), ascending.slice(0, 16), 'sorted, back on page 1');
    assert.equal(await page.getAttribute('#head-rows td:nth-child(4)', 'aria-sort'), 'ascending');
    assert.equal(await page.getAttribute('#head-rows td:nth-child(2)', 'aria-sort'), 'none');
    const chome = (await shownRows(page)).map((row) => row[column]).filter((v) => /^\d+丁目/.test(v));
    assert.deepEqual(chome.slice(0, 3).map((v) => parseInt(v, 10)), [1, 2, 3], '2 before 10: numeric order');

    await page.click('#head-rows td:nth-child(4) button');
    assert.equal(await page.getAttribute('#head-rows td:nth-child(4)', 'aria-sort'), 'descending');
    const descending = records.map((r, i) => [r, i])
      .sort(([a, i], [b, j]) => -collator.compare(a.住所2, b.住所2) || i - j).map(([r]) => rowOf(r));
    assert.deepEqual(await shownRows(page), descending.slice(0, 16));

    // Sorting keeps the search, and the keyboard reaches the header buttons.
    await page.fill('#query', '木');
    await page.focus('#head-rows td:nth-child(2) button');
    await page.keyboard.press('Enter');
    const names = (await shownRows(page)).map((row) => row[1]);
    assert.deepEqual(names, records.filter((r) => r.名前.includes('木')).map((r) => r.名前).sort(collator.compare));
  });

  test('waits while an input method is composing and searches once the text is chosen', async () => {
    const page = await openPage(browser, written.url);
    await page.focus('#query');
    const cdp = await page.context().newCDPSession(page);
    await cdp.send('Input.imeSetComposition', { text: 'すずき', selectionStart: 3, selectionEnd: 3 });
    assert.equal(await page.inputValue('#query'), 'すずき');
    assert.equal(await statusText(page), '33件中 1–16件', 'no search while composing');
    await cdp.send('Input.insertText', { text: '鈴木' });
    const expected = records.filter((r) => r.名前.includes('鈴木'));
    await page.waitForFunction((n) => document.querySelectorAll('#rows tr').length === n, expected.length);
    assert.deepEqual(await shownRows(page), expected.map((r) => rowOf(r)));
  });

  test('is usable in a narrow window: nothing but the table scrolls sideways', async () => {
    const page = await openPage(browser, written.url, { width: 360, height: 700 });
    const widths = await page.evaluate(() => ({
      page: document.documentElement.scrollWidth,
      view: document.documentElement.clientWidth,
      pager: document.querySelector('.pager').getBoundingClientRect().right,
    }));
    assert.ok(widths.page <= widths.view, `page ${widths.page}px wide in a ${widths.view}px window`);
    assert.ok(widths.pager <= widths.view);
    await screenshot(page, 'search-page-narrow.png');
  });
});

describe('search every field', () => {
  test('without a chosen field, every field is searched, full-width queries match half-width values', async () => {
    // No field chosen: the search field and page size placeholders stay in the page.
    const written = pageIn('nofield', { xml });
    const page = await openPage(browser, written.url);
    assert.equal(await page.textContent('#search-field-name'), 'すべての項目');
    assert.equal(await statusText(page), '33件中 1–20件', 'an unfilled page size falls back to 20');
    await page.click('#next-page');
    await page.fill('#query', '丁目');
    assert.equal(await statusText(page), '31件中 1–20件', 'a new search starts on page 1');
    await page.fill('#query', 'ｽｽﾞｷ');
    const suzuki = records.filter((r) => r.読み.startsWith('ｽｽﾞｷ'));
    assert.deepEqual(await shownRows(page), suzuki.map((r) => rowOf(r)));
    await page.fill('#query', 'スズキ');
    assert.deepEqual(await shownRows(page), suzuki.map((r) => rowOf(r)), 'full-width katakana folds to the half-width values');
    await page.fill('#query', '０４－');
    const phones = records.filter((r) => r.電話.startsWith('04-'));
    assert.deepEqual(await shownRows(page), phones.map((r) => rowOf(r)), 'full-width digits and sign');
    await page.fill('#query', 'IMG SRC');
    assert.deepEqual(await shownRows(page), [rowOf(records[4])], 'letters match regardless of case');
  });

  test('a page size of 0 (a one-line file) falls back to 20', async () => {
    const page = await openPage(browser, pageIn('size0', { field: '電話', lines: 1, xml }).url);
    assert.equal(await statusText(page), '33件中 1–20件');
    assert.equal(await page.textContent('#search-field-name'), '電話');
  });
});

describe('a page whose table rows were never filled', () => {
  test('takes the field names from the first record and still binds, sorts and searches', async () => {
    const written = pageIn('norows', { xml, noRows: true, field: '電話', lines: 33 });
    const page = await openPage(browser, written.url);
    assert.deepEqual(await page.$$eval('#head-rows td', (tds) => tds.map((td) => td.textContent)), NAMES);
    assert.doesNotMatch(await page.evaluate(() => document.body.innerText), /\[t(head|body)\]/, 'no placeholder text shows');
    assert.deepEqual(await shownRows(page), records.slice(0, 16).map((r) => rowOf(r)));
    await page.fill('#query', records[7].電話);
    assert.deepEqual(await shownRows(page), [rowOf(records[7])]);
  });
});

describe('documents a strict parser refuses', () => {
  test('raw "&" and "<" in values still show every record through the tolerant reader', async () => {
    const raw = records.slice(0, 5).map((r) => ({ ...r }));
    raw[1].名前 = 'A & B <商会>';
    raw[2].住所1 = '1 < 2 &amp; 3';
    const written = pageIn('raw', { field: '名前', lines: 10, xml: xmlDocument(raw, { escape: false }) });
    const page = await openPage(browser, written.url);
    const expected = raw.map((r) => rowOf(r));
    expected[2][2] = '1 < 2 & 3';  // the five standard entities are still read
    assert.deepEqual(await shownRows(page), expected);
    assert.equal(await statusText(page), '5件中 1–5件');
    assert.match(await page.textContent('#note'), /正しくない/);
    await page.fill('#query', '商会');
    assert.deepEqual(await shownRows(page), [expected[1]]);
  });
});

describe('a large document', () => {
  test('every record arrives in order, a raw "&" in the middle included, and the page size is capped', async () => {
    const many = [];
    for (let i = 0; i < 4500; i++) {
      const r = records[i % records.length];
      many.push({ ...r, 名前: `${r.名前}${i}`, 住所2: `${i}番地` });
    }
    many[2500].名前 = 'A & B';  // raw in the document: the slice holding it is read tolerantly
    const body = xmlDocument(many).replace('A &amp; B', 'A & B');
    const written = pageIn('large', { field: '名前', lines: 4500, xml: body });
    const page = await openPage(browser, written.url);
    // 4500 lines would give pages of 2250 rows; the page caps that at 500.
    assert.equal(await statusText(page), '4500件中 1–500件');
    assert.equal(await page.isVisible('#note'), true);
    await page.click('#last-page');
    assert.equal(await statusText(page), '4500件中 4001–4500件');
    assert.deepEqual((await shownRows(page)).at(-1), rowOf(many[4499]));
    await page.fill('#query', 'A & B');
    assert.deepEqual(await shownRows(page), [rowOf(many[2500])]);
    await page.fill('#query', '鈴木 大輔');
    const found = many.filter((r) => r.名前.includes('鈴木 大輔'));
    assert.ok(found.length > 100);
    assert.equal(await statusText(page), `${found.length}件中 1–${found.length}件`);
    assert.deepEqual((await shownRows(page)).at(-1), rowOf(found.at(-1)));
  });

  test('a record left open at the end is still shown', async () => {
    const body = xmlDocument(records.slice(0, 3)).replace(/\r\n<\/mivoxml>\r\n\r\n<\/住所録>\r\n$/, '');
    const written = pageIn('truncated', { field: '名前', lines: 6, xml: body });
    const page = await openPage(browser, written.url);
    assert.deepEqual(await shownRows(page), records.slice(0, 3).map((r) => rowOf(r)));
  });
});

describe('no data in the page', () => {
  test('shows a Japanese prompt with a file picker that refuses a file without records and takes the document', async () => {
    const written = pageIn('nodata', { field: '名前', lines: 33, xml, noData: true });
    const page = await openPage(browser, written.url, { waitFor: 'need-file' });
    assert.equal(await page.isVisible('#loader'), true);
    assert.equal(await page.isVisible('#records'), false);
    assert.equal(await page.textContent('#loader-title'), 'XMLファイルを選んでください');
    assert.match(await page.textContent('#loader'), /住所録\.xml/);
    assert.equal(await page.getAttribute('#file-input', 'accept'), '.xml');
    await screenshot(page, 'search-page-picker.png');
    const other = path.join(dir, 'nodata', 'memo.xml');
    fs.writeFileSync(other, 'just text');
    await page.setInputFiles('#file-input', other);
    await page.waitForFunction(() => document.getElementById('loader-error').textContent !== '');
    assert.match(await page.textContent('#loader-error'), /memo\.xml/);
    assert.equal(await page.isVisible('#loader'), true);
    await page.setInputFiles('#file-input', written.xml);
    await page.waitForSelector('html[data-state="ready"]');
    assert.deepEqual(await shownRows(page), records.slice(0, 16).map((r) => rowOf(r)));
    assert.equal(await page.isVisible('#loader'), false);
    assert.equal(await page.textContent('#xml-file'), '住所録.xml');
    assert.deepEqual(page.scriptErrors, []);
  });

  test('a document dropped on the page fills the table', async () => {
    const document = pageIn('drop-source', { xml }).xml;
    const written = pageIn('drop', { noSave: true });
    const page = await openPage(browser, written.url, { waitFor: 'need-file' });
    const bytes = [...fs.readFileSync(document)];
    const transfer = await page.evaluateHandle((b) => {
      const t = new DataTransfer();
      t.items.add(new File([new Uint8Array(b)], 'book.xml', { type: 'text/xml' }));
      return t;
    }, bytes);
    await page.dispatchEvent('#drop-zone', 'drop', { dataTransfer: transfer });
    await page.waitForSelector('html[data-state="ready"]');
    assert.equal(await statusText(page), '33件中 1–20件');
    assert.deepEqual((await shownRows(page))[0], rowOf(records[0]));
  });

  test('served over http, the page loads the document of the same name beside it', async () => {
    const written = pageIn('served', { field: '名前', lines: 33, xml, noData: true, xmlPath: 'C:\\データ\\café😀\\住所録.xml' });
    const served = path.dirname(written.page);
    const server = http.createServer((req, res) => {
      const file = path.join(served, decodeURIComponent(new URL(req.url, 'http://x').pathname));
      if (!file.startsWith(served) || !fs.existsSync(file)) {
        res.writeHead(404).end();
        return;
      }
      res.writeHead(200).end(fs.readFileSync(file));
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    try {
      const page = await openPage(browser, `http://127.0.0.1:${server.address().port}/XmlSearchTemp.htm`);
      assert.equal(await page.textContent('#xml-file'), 'C:\\データ\\café😀\\住所録.xml');
      assert.deepEqual(await shownRows(page), records.slice(0, 16).map((r) => rowOf(r)));
    } finally {
      server.close();
    }
  });
});

describe('characters Shift_JIS lacks', () => {
  test('are read back from the character references the tool writes for them', async () => {
    const doc = '<?xml version="1.0" encoding="Shift_JIS"?>\r\n<名簿>\r\n<mivoxml>\r\n'
      + '<読み>&#x20BB7;田</読み><名前>caf&#xE9;&#x1F600;</名前>\r\n</mivoxml>\r\n\r\n</名簿>';
    const written = pageIn('references', { names: ['読み', '名前'], field: '名前', lines: 2, xml: doc });
    const page = await openPage(browser, written.url);
    assert.deepEqual(await shownRows(page), [['\u{20BB7}田', 'café😀']]);
    assert.deepEqual(page.scriptErrors, []);
  });
});
