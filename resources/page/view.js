  const RECORD = 'mivoxml';
  const DEFAULT_PAGE_SIZE = 20;
  const PAGE_SIZES = [20, 50, 100, 500];
  const SLICE_RECORDS = 2000;
  // The tool sets half the input's line count as the page size: for a large file that would draw tens
  // of thousands of rows at once.
  const MAX_PAGE_SIZE = 500;
  // Printing puts every matching row on paper, up to this many.
  const MAX_PRINTED = 10000;
  // Bytes of the document per piece sent to the worker: a small first one so that rows show at once.
  const FIRST_PIECE = 1 << 16;
  const PIECE = 1 << 22;
  const LOCAL_PIECE = 1 << 16;
  // Base64 characters of the compressed document inflated at a time (multiples of 4): a small first
  // slice, again so that rows show at once.
  const FIRST_PACKED = 1 << 14;
  const PACKED_PIECE = 1 << 18;
  const placeholder = (name) => '[' + name + ']';
  const SEARCH_FIELD_MARK = '<' + 'search_field' + '>';
  const E = engine();

  const number = (n) => n.toLocaleString('ja-JP');
  const say = {
    all: '全項目',
    loading: (n) => '読み込み中… ' + number(n) + '件',
    count: (n, all) => number(n) + '件 / 全' + number(all) + '件',
    range: (a, b) => '（' + number(a) + '–' + number(b) + '件目）',
    reading: '（読み込み中…）',
    none: (all) => '該当するデータはありません（0件 / 全' + number(all) + '件）',
    page: (n) => '/ ' + number(n) + ' ページ',
    notSaved: '（まだ保存されていません）',
    expected: (name) => '（' + name + '）',
    unreadable: (name) => name + ' からデータを読み取れませんでした。保存したXMLファイルを選んでください。',
    notFile: 'ファイルを1つ選んでください。',
    noRecords: 'レコードがありません（0件）',
    tolerant: 'XMLとして正しくない部分がありましたが、読み取れた範囲で表示しています。',
    copied: (n) => number(n) + '件をコピーしました。',
    saved: (n) => number(n) + '件をCSVファイルに書き出しました。',
    sortAscending: '\u25B2',
    sortDescending: '\u25BC',
    sortNone: '\u21C5',
  };

  const $ = (id) => document.getElementById(id);
  const root = document.documentElement;
  const app = $('app');
  const query = $('query');
  const columnChoice = $('column');
  const status = $('status');
  const pageInfo = $('page-info');
  const pageNumber = $('page-number');
  const pageSizeChoice = $('page-size');
  const rowsBody = $('rows');
  const buttons = { first: $('first-page'), prev: $('prev-page'), next: $('next-page'), last: $('last-page') };

  const setState = (s) => { root.setAttribute('data-state', s); };
  const mark = (name) => { if (performance.mark) performance.mark(name); };
  mark('script-start');
  setState('loading');

  // The tool writes the header row and a data row of empty SPAN DATAFLD=name cells; the data row is the
  // pattern every shown row is cloned from.
  function readLayout() {
    const templateRow = $('row-template').querySelector('tr');
    const spans = templateRow ? Array.from(templateRow.querySelectorAll('span[datafld]')) : [];
    const headRow = $('head-rows').querySelector('tr');
    // A placeholder left unfilled is stray text that the table pushes out in front of itself.
    for (const node of Array.from($('table-wrap').childNodes)) {
      if (node.nodeType === Node.TEXT_NODE && node.textContent.trim()) node.remove();
    }
    return { templateRow: spans.length ? templateRow : null, names: spans.map((s) => s.getAttribute('datafld')), headRow };
  }

  // ---- the browser's XML parser, for documents the worker's reader gives up on ----

  function encodingOf(bytes) {
    if (bytes[0] === 0xef && bytes[1] === 0xbb && bytes[2] === 0xbf) return 'utf-8';
    const head = String.fromCharCode.apply(null, bytes.subarray(0, 120));
    const m = /^<\?xml[^>]*encoding\s*=\s*["']([^"']+)["']/.exec(head);
    return m && /^utf-?8$/i.test(m[1]) ? 'utf-8' : 'shift_jis';
  }

  const decode = (bytes) => new TextDecoder(encodingOf(bytes)).decode(bytes);

  // The n-th SPAN naming a field takes the n-th element of that name in the record.
  function columnsOf(names) {
    const seen = new Map();
    return names.map((name) => {
      const occurrence = seen.get(name) || 0;
      seen.set(name, occurrence + 1);
      return { name, occurrence };
    });
  }

  function strictRecords(doc, names) {
    const elements = doc.getElementsByTagName(RECORD);
    if (!names.length && elements.length) names = Array.from(elements[0].children, (c) => c.tagName);
    const columns = columnsOf(names);
    const rows = new Array(elements.length);
    for (let r = 0; r < elements.length; r++) {
      const values = new Map();
      for (let child = elements[r].firstElementChild; child; child = child.nextElementSibling) {
        const list = values.get(child.tagName);
        if (list) list.push(child.textContent); else values.set(child.tagName, [child.textContent]);
      }
      rows[r] = columns.map((c) => { const list = values.get(c.name); return (list && list[c.occurrence]) || ''; });
    }
    return { names, rows };
  }

  const ENTITIES = { lt: '<', gt: '>', amp: '&', quot: '"', apos: "'" };
  const unescapeXml = (s) => s.replace(/&(lt|gt|amp|quot|apos);/g, (m, e) => ENTITIES[e]);

  function tolerantValue(block, column) {
    const open = '<' + column.name + '>';
    const close = '</' + column.name + '>';
    let from = 0;
    for (let k = 0; ; k++) {
      const start = block.indexOf(open, from);
      if (start < 0) return '';
      const valueStart = start + open.length;
      const end = block.indexOf(close, valueStart);
      if (end < 0) return '';
      if (k === column.occurrence) return unescapeXml(block.slice(valueStart, end));
      from = end + close.length;
    }
  }

  // For documents that a strict parser refuses (a raw "&" or "<" in a value): the record tags and the
  // field names are enough to find every value.
  function tolerantRecords(text, names) {
    const open = '<' + RECORD + '>';
    const close = '</' + RECORD + '>';
    const blocks = [];
    for (let pos = text.indexOf(open); pos >= 0;) {
      const bodyStart = pos + open.length;
      const next = text.indexOf(open, bodyStart);
      let end = text.indexOf(close, bodyStart);
      if (end < 0 || (next >= 0 && next < end)) end = next >= 0 ? next : text.length;
      blocks.push(text.slice(bodyStart, end));
      pos = next;
    }
    if (!names.length && blocks.length) {
      names = [];
      const tag = /<([^\s<>\/!?]+)>/g;
      for (let m; (m = tag.exec(blocks[0]));) {
        if (blocks[0].indexOf('</' + m[1] + '>', m.index) >= 0) names.push(m[1]);
      }
    }
    const columns = columnsOf(names);
    return { names, rows: blocks.map((block) => columns.map((c) => tolerantValue(block, c))) };
  }

  // The parser reports an error as an element in a namespace of its own, which no field element shares.
  const ERROR_NAMESPACES = ['http://www.w3.org/1999/xhtml', 'http://www.mozilla.org/newlayout/xml/parsererror.xml'];
  const parsesStrictly = (doc) => doc.documentElement
    && ERROR_NAMESPACES.every((ns) => doc.getElementsByTagNameNS(ns, 'parsererror').length === 0);

  function parseWhole(text, names) {
    const doc = new DOMParser().parseFromString(text, 'application/xml');
    if (parsesStrictly(doc)) return Object.assign(strictRecords(doc, names), { tolerant: false });
    const found = tolerantRecords(text, names);
    if (!found.rows.length && !text.includes('<' + RECORD)) return null;
    return Object.assign(found, { tolerant: true });
  }

  function parseSlice(piece, names) {
    const doc = new DOMParser().parseFromString('<slice>' + piece + '</slice>', 'application/xml');
    if (parsesStrictly(doc)) return Object.assign(strictRecords(doc, names), { tolerant: false });
    return Object.assign(tolerantRecords(piece, names), { tolerant: true });
  }

  // The records a slice at a time, each slice parsed strictly on its own and tolerantly if that fails.
  // Null when the text holds no records at all.
  function recordSlices(text, names) {
    const open = '<' + RECORD + '>';
    const close = '</' + RECORD + '>';
    const first = text.indexOf(open);
    if (first < 0) {
      const whole = parseWhole(text, names);
      if (!whole) return null;
      let given = false;
      return { next: () => (given ? null : (given = true, whole)) };
    }
    const bounds = [first];
    let closed = 0;
    let lastEnd = first;
    for (let end = text.indexOf(close, first); end >= 0; end = text.indexOf(close, lastEnd)) {
      lastEnd = end + close.length;
      if (++closed % SLICE_RECORDS === 0) bounds.push(lastEnd);
    }
    // A record left open after the last closing tag goes with the last slice.
    const tail = text.indexOf(open, lastEnd) >= 0 ? text.length : lastEnd;
    if (bounds[bounds.length - 1] < tail) bounds.push(tail);
    let k = 0;
    return {
      next() {
        if (k + 1 >= bounds.length) return null;
        const slice = parseSlice(text.slice(bounds[k], bounds[k + 1]), names);
        k++;
        if (!names.length) names = slice.names;
        return slice;
      },
    };
  }

  // ---- settings the tool filled in (or left as placeholders) ----

  function pageSizeSetting() {
    const raw = (app.getAttribute('data-page-size') || '').trim();
    const n = /^\d+$/.test(raw) ? parseInt(raw, 10) : 0;
    return n >= 1 ? Math.min(n, MAX_PAGE_SIZE) : DEFAULT_PAGE_SIZE;
  }

  function searchFieldSetting() {
    const raw = app.getAttribute('data-search-field') || '';
    return raw === SEARCH_FIELD_MARK ? '' : raw;
  }

  function xmlPathSetting() {
    const raw = $('xml-file').getAttribute('data-path') || '';
    return raw === placeholder('xmlfile') ? '' : raw;
  }

  const baseName = (path) => path.split(/[\\/]/).pop();

  // ---- the view ----

  const view = {
    names: [],
    batches: [],
    total: 0,
    templateRow: null,
    headCells: [],
    matches: null,
    order: null,
    queryId: 0,
    words: [],
    column: -1,
    page: 0,
    pageSize: DEFAULT_PAGE_SIZE,
    sort: null,
    loading: true,
    printing: false,
    tolerant: false,
    sourceName: '',
  };

  // What the URL's fragment keeps: search, column, sort, page and page size.
  function readFragment() {
    const p = new URLSearchParams(location.hash.slice(1));
    const n = (k) => (/^\d+$/.test(p.get(k) || '') ? parseInt(p.get(k), 10) : null);
    return { q: p.get('q'), column: p.get('col'), sort: p.get('sort'), page: n('page'), size: n('size') };
  }

  function writeFragment() {
    const p = new URLSearchParams();
    if (query.value) p.set('q', query.value);
    p.set('col', view.column >= 0 ? view.names[view.column] : '');
    if (view.sort) p.set('sort', view.names[view.sort.column] + (view.sort.direction > 0 ? ':a' : ':d'));
    p.set('page', String(view.page + 1));
    p.set('size', String(view.pageSize));
    try {
      history.replaceState(null, '', '#' + p.toString());
    } catch (e) {
      // Some file:// pages refuse history changes; the view works without it.
    }
  }

  const shownCount = () => (view.matches ? view.matches.length : view.total);
  const pageCount = () => Math.max(1, Math.ceil(shownCount() / view.pageSize));

  function recordAt(k) {
    if (view.matches) return view.matches[k];
    return view.order ? view.order[k] : k;
  }

  function batchOf(i) {
    const list = view.batches;
    let lo = 0;
    let hi = list.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (list[mid].start <= i) lo = mid; else hi = mid - 1;
    }
    return list[lo];
  }

  function valuesOf(i) {
    const b = batchOf(i);
    const w = view.names.length;
    const out = new Array(w);
    for (let c = 0, k = (i - b.start) * w; c < w; c++, k++) out[c] = b.raw.slice(b.off[k], b.off[k + 1] - 1);
    return out;
  }

  // Puts `value` into `cell` as text, with the parts that match a search word marked.
  function fillCell(cell, value, words) {
    if (!words.length || !value) {
      cell.textContent = value;
      return;
    }
    const pieces = value.match(/[\s\S][\u0300-\u036F\u3099\u309A\uFF9E\uFF9F\uDC00-\uDFFF]*/g) || [];
    let folded = '';
    const at = [];
    let raw = 0;
    for (const piece of pieces) {
      const f = E.fold(piece);
      for (let k = 0; k < f.length; k++) at.push(raw);
      folded += f;
      raw += piece.length;
    }
    at.push(raw);
    const marked = new Uint8Array(value.length);
    let any = false;
    for (const w of words) {
      for (let p = folded.indexOf(w); p >= 0; p = folded.indexOf(w, p + 1)) {
        for (let r = at[p]; r < at[p + w.length]; r++) marked[r] = 1;
        any = true;
      }
    }
    if (!any) {
      cell.textContent = value;
      return;
    }
    cell.textContent = '';
    for (let s = 0; s < value.length;) {
      let e = s;
      while (e < value.length && marked[e] === marked[s]) e++;
      const text = document.createTextNode(value.slice(s, e));
      if (marked[s]) cell.appendChild(document.createElement('mark')).appendChild(text); else cell.appendChild(text);
      s = e;
    }
  }

  function rowFor(values, words, column) {
    const tr = view.templateRow.cloneNode(true);
    const spans = tr.querySelectorAll('span[datafld]');
    for (let c = 0; c < spans.length; c++) fillCell(spans[c], values[c], column < 0 || column === c ? words : []);
    return tr;
  }

  // Draws the rows of the current page (unless `keepRows`), the counts and the pager.
  function render(keepRows) {
    const total = shownCount();
    const pages = pageCount();
    const page = Math.min(Math.max(view.page, 0), pages - 1);
    if (!view.loading) view.page = page;
    const start = view.printing ? 0 : page * view.pageSize;
    const end = Math.min(total, start + (view.printing ? MAX_PRINTED : view.pageSize));
    if (!keepRows) {
      const fragment = document.createDocumentFragment();
      const words = view.matches ? view.words : [];
      for (let k = start; k < end; k++) fragment.appendChild(rowFor(valuesOf(recordAt(k)), words, view.column));
      if (!total && !view.loading) {
        const tr = document.createElement('tr');
        const td = document.createElement('td');
        td.className = 'empty';
        td.colSpan = Math.max(1, view.names.length);
        td.textContent = view.total ? say.none(view.total) : say.noRecords;
        tr.appendChild(td);
        fragment.appendChild(tr);
      }
      rowsBody.replaceChildren(fragment);
    }
    let text;
    if (!view.total && !view.loading) text = say.noRecords;
    else if (!total && !view.loading) text = say.none(view.total);
    else if (view.loading && !view.matches) text = say.loading(view.total);
    else text = say.count(total, view.total) + (total ? say.range(start + 1, end) : '') + (view.loading ? say.reading : '');
    status.textContent = text;
    pageInfo.textContent = say.page(pages);
    if (document.activeElement !== pageNumber) pageNumber.value = String(page + 1);
    pageNumber.max = String(pages);
    const focused = document.activeElement;
    buttons.first.disabled = buttons.prev.disabled = page === 0;
    buttons.next.disabled = buttons.last.disabled = page >= pages - 1;
    // A button that was just used up hands the focus to its neighbour, so the keyboard stays in the pager.
    if (focused && focused.disabled && Object.values(buttons).includes(focused)) {
      const back = focused === buttons.next || focused === buttons.last;
      const other = back ? buttons.prev : buttons.next;
      (other.disabled ? pageNumber : other).focus();
    }
    for (const cell of view.headCells) {
      const button = cell.querySelector('.sort-button');
      if (button) button.disabled = view.loading;
    }
    if (!view.loading) writeFragment();
  }

  // ---- talking to the worker ----

  let channel = null;

  function openChannel(onMessage) {
    try {
      const source = '(' + engine.toString() + ')().listen(self);';
      const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
      const worker = new Worker(url);
      let heard = false;
      const ch = {
        local: false,
        post: (m, transfer) => worker.postMessage(m, transfer || []),
        close: () => worker.terminate(),
      };
      worker.onmessage = (e) => { heard = true; onMessage(e.data); };
      worker.onerror = (e) => {
        if (heard) return;
        if (e && e.preventDefault) e.preventDefault();
        worker.terminate();
        if (ch.onFail) ch.onFail();
      };
      return ch;
    } catch (e) {
      return localChannel(onMessage);
    }
  }

  // The worker's code run here, one message per task, for browsers or settings where no worker starts.
  function localChannel(onMessage) {
    const handle = E.serve((m) => setTimeout(() => onMessage(m), 0));
    const queue = [];
    let closed = false;
    const run = () => {
      if (closed || !queue.length) return;
      handle(queue.shift());
      if (queue.length) setTimeout(run, 0);
    };
    return {
      local: true,
      post: (m) => { queue.push(m); if (queue.length === 1) setTimeout(run, 0); },
      close: () => { closed = true; },
    };
  }

  function ask(extra) {
    view.queryId++;
    $('records').setAttribute('aria-busy', 'true');
    channel.post(Object.assign({ t: 'query', id: view.queryId, text: query.value, column: view.column }, extra));
  }

  function search() {
    view.words = E.words(query.value);
    view.page = 0;
    if (!view.words.length) {
      view.matches = null;
      render();
    }
    if (channel && view.names.length) ask({});
  }

  function sortBy(column) {
    const direction = view.sort && view.sort.column === column ? -view.sort.direction : 1;
    view.sort = { column, direction };
    showSortState();
    view.page = 0;
    ask({ sort: view.sort });
  }

  function showSortState() {
    view.headCells.forEach((cell, i) => {
      const state = !view.sort || view.sort.column !== i ? 'none' : view.sort.direction > 0 ? 'ascending' : 'descending';
      cell.setAttribute('aria-sort', state);
      const arrow = cell.querySelector('.arrow');
      if (arrow) arrow.textContent = state === 'ascending' ? say.sortAscending : state === 'descending' ? say.sortDescending : say.sortNone;
    });
  }

  function buildTemplateRow(names) {
    const tr = document.createElement('tr');
    for (const name of names) {
      const td = document.createElement('td');
      const span = document.createElement('span');
      span.setAttribute('datafld', name);
      td.appendChild(span);
      tr.appendChild(td);
    }
    return tr;
  }

  // The header cells become real column headers, each holding a button that sorts by its column.
  function prepareHeader(layout, names) {
    let headRow = layout.headRow;
    if (!headRow) {
      headRow = document.createElement('tr');
      headRow.style.backgroundColor = 'cyan';
      for (const name of names) headRow.appendChild(document.createElement('td')).textContent = name;
      $('head-rows').appendChild(headRow);
    }
    view.headCells = Array.from(headRow.cells).map((cell, i) => {
      const th = document.createElement('th');
      th.scope = 'col';
      for (const a of Array.from(cell.attributes)) th.setAttribute(a.name, a.value);
      if (i < names.length) {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'sort-button';
        const label = document.createElement('span');
        label.append(...cell.childNodes);
        const arrow = document.createElement('span');
        arrow.className = 'arrow';
        arrow.setAttribute('aria-hidden', 'true');
        button.append(label, arrow);
        button.addEventListener('click', () => sortBy(i));
        th.appendChild(button);
      } else {
        th.append(...cell.childNodes);
      }
      cell.replaceWith(th);
      return th;
    }).slice(0, names.length);
  }

  function setUpColumns(layout, names, wanted) {
    view.names = names;
    view.templateRow = layout.templateRow || buildTemplateRow(names);
    prepareHeader(layout, names);
    for (const name of names) {
      const option = document.createElement('option');
      option.value = name;
      option.textContent = name;
      columnChoice.appendChild(option);
    }
    const field = wanted.column !== null ? wanted.column : searchFieldSetting();
    view.column = names.indexOf(field);
    columnChoice.value = view.column >= 0 ? names[view.column] : '';
    if (wanted.sort) {
      const m = /^(.*):([ad])$/.exec(wanted.sort);
      const column = m ? names.indexOf(m[1]) : -1;
      if (column >= 0) view.sort = { column, direction: m[2] === 'a' ? 1 : -1 };
    }
    showSortState();
  }

  function reset() {
    view.batches = [];
    view.total = 0;
    view.matches = null;
    view.order = null;
    view.tolerant = false;
  }

  // Feeds the document to the worker a piece at a time (two in flight), so that a search typed while
  // it loads is answered between pieces, and shows rows as they come.
  function load(source, layout, sourceName) {
    const wanted = readFragment();
    if (wanted.q !== null && !query.value) query.value = wanted.q;
    if (wanted.size) {
      view.pageSize = Math.min(wanted.size, MAX_PAGE_SIZE);
      choosePageSizes();
    }
    if (wanted.page) view.page = wanted.page - 1;
    view.words = E.words(query.value);
    view.sourceName = sourceName;
    let columnsReady = false;
    let pieces = null;
    let sent = 0;
    let ended = false;
    let inFlight = 0;
    let fallbackRows = null;
    let readyAfterResult = false;

    // Pieces go as the source gives them; a source read again from the start (another channel) or
    // given up for the XML parser leaves this loop behind.
    const sendMore = async () => {
      const from = pieces;
      if (!from || from.busy) return;
      from.busy = true;
      try {
        while (inFlight < 2 && !ended && from === pieces) {
          const { piece, last } = await from.read(sent === 0 ? FIRST_PIECE : channel.local ? LOCAL_PIECE : PIECE);
          if (from !== pieces) break;
          channel.post({ t: 'data', piece, last }, [piece.buffer]);
          sent++;
          ended = last;
          inFlight++;
        }
      } catch (e) {
        // Data that does not inflate: the XML parser's route tells the user the document is unreadable.
        if (from === pieces) onMessage({ t: 'fallback' });
      }
      from.busy = false;
    };
    const sendSlice = () => {
      const slice = fallbackRows.reader.next();
      const last = !slice;
      if (slice) view.tolerant = view.tolerant || slice.tolerant;
      channel.post({ t: 'batch', rows: slice ? slice.rows : [], names: slice ? slice.names : layout.names, last });
    };

    const finish = () => {
      view.loading = false;
      $('note').textContent = view.tolerant ? say.tolerant : '';
      $('note').hidden = !view.tolerant;
      mark('records-loaded');
      if (source.release) source.release();
      if (view.sort || view.words.length) {
        readyAfterResult = true;
        ask(view.sort ? { sort: view.sort } : {});
      } else {
        render();
        setState('ready');
      }
    };

    const onMessage = (m) => {
      if (m.t === 'fallback') {
        // The document is not of the simple form: read it again through the XML parser.
        reset();
        if (pieces) pieces.cancel();
        pieces = null;
        source.bytes().then((bytes) => recordSlices(decode(bytes), layout.names)).catch(() => null).then((reader) => {
          if (!reader) {
            channel.close();
            askForFile(layout, say.unreadable(sourceName || xmlPathSetting()));
            return;
          }
          fallbackRows = { reader };
          channel.post({ t: 'start', names: layout.names, rowsOnly: true });
          sendSlice();
        });
        return;
      }
      if (m.t === 'rows') {
        if (!columnsReady) {
          columnsReady = true;
          setUpColumns(layout, m.names, wanted);
          if (view.words.length) ask({});
        }
        view.batches.push({ start: m.start, raw: m.raw, off: m.off });
        view.total = m.start + m.count;
        if (m.hits && m.query === view.queryId && view.matches) {
          const grown = new Int32Array(view.matches.length + m.hits.length);
          grown.set(view.matches);
          grown.set(m.hits, view.matches.length);
          view.matches = grown;
        }
        const first = view.total > 0 && view.total === m.count;
        if (m.last) {
          finish();
        } else {
          inFlight--;
          if (fallbackRows) sendSlice(); else sendMore();
          // Rows are drawn again only when the page on view was not yet full.
          render(!first && !view.matches && (view.page + 1) * view.pageSize <= view.total - m.count);
        }
        if (first || m.last) mark('records-shown');
        return;
      }
      if (m.t === 'result' && m.id === view.queryId) {
        view.order = m.order;
        view.matches = m.matches;
        view.words = E.words(query.value);
        $('records').removeAttribute('aria-busy');
        render();
        if (readyAfterResult) {
          readyAfterResult = false;
          setState('ready');
        }
      }
    };

    const begin = (ch) => {
      channel = ch;
      channel.onFail = () => { reset(); begin(localChannel(onMessage)); };
      channel.post({ t: 'start', names: layout.names });
      if (pieces) pieces.cancel();
      pieces = gather(source.stream());
      sent = 0;
      ended = false;
      inFlight = 0;
      sendMore();
    };
    $('loader').hidden = true;
    $('viewer').hidden = false;
    if (sourceName) $('xml-file').textContent = sourceName;
    setState('reading');
    render();
    begin(openChannel(onMessage));
  }

  function choosePageSizes() {
    const sizes = PAGE_SIZES.includes(view.pageSize) ? PAGE_SIZES : PAGE_SIZES.concat(view.pageSize).sort((a, b) => a - b);
    pageSizeChoice.replaceChildren(...sizes.map((n) => {
      const option = document.createElement('option');
      option.value = String(n);
      option.textContent = n + '件';
      return option;
    }));
    pageSizeChoice.value = String(view.pageSize);
  }

  // ---- loading ----

  // Pieces of `size` bytes (the last one shorter, and told so) out of a stream of byte chunks.
  function gather(stream) {
    const reader = stream.getReader();
    const held = [];
    let count = 0;
    let done = false;
    return {
      busy: false,
      async read(size) {
        while (!done && count <= size) {
          const r = await reader.read();
          if (r.done) done = true;
          else { held.push(r.value); count += r.value.length; }
        }
        const piece = new Uint8Array(Math.min(size, count));
        for (let k = 0; k < piece.length;) {
          const chunk = held[0];
          const take = Math.min(chunk.length, piece.length - k);
          piece.set(take === chunk.length ? chunk : chunk.subarray(0, take), k);
          if (take === chunk.length) held.shift(); else held[0] = chunk.subarray(take);
          k += take;
        }
        count -= piece.length;
        return { piece, last: done && count === 0 };
      },
      cancel() { reader.cancel().catch(() => {}); },
    };
  }

  // The page carries the document as raw DEFLATE data in base64. It is inflated as it is read, a slice
  // at a time, so that the first rows show long before the last are inflated; a browser that cannot
  // inflate reads the document beside the page instead.
  function embeddedSource() {
    const element = $('xml-data');
    let data = (element.textContent || '').trim();
    element.textContent = '';
    if (!data || data === placeholder('xmldata') || typeof DecompressionStream !== 'function') return null;
    return {
      stream() {
        const text = data;
        const inflate = new DecompressionStream('deflate-raw');
        const writer = inflate.writable.getWriter();
        const bytesOf = Uint8Array.fromBase64 || E.fromBase64;
        (async () => {
          for (let at = 0, end = 0; at < text.length; at = end) {
            end = at + (at ? PACKED_PIECE : FIRST_PACKED);
            await writer.write(bytesOf(text.slice(at, end)));
          }
          await writer.close();
        })().catch((e) => writer.abort(e).catch(() => {}));
        return inflate.readable;
      },
      release() { data = ''; },
      bytes() { return gather(this.stream()).read(Infinity).then((r) => r.piece); },
    };
  }

  function bytesSource(bytes) {
    return {
      stream: () => new ReadableStream({ start(c) { c.enqueue(bytes); c.close(); } }),
      bytes: () => Promise.resolve(bytes),
    };
  }

  async function fetchBeside(path) {
    if (!path) return null;
    try {
      const response = await fetch(encodeURIComponent(baseName(path)), { cache: 'no-cache' });
      return response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
    } catch (e) {
      return null;
    }
  }

  function askForFile(layout, message) {
    const path = xmlPathSetting();
    $('loader-name').textContent = path ? say.expected(baseName(path)) : '';
    $('loader-error').textContent = message || '';
    $('loader').hidden = false;
    $('viewer').hidden = true;
    setState('need-file');
  }

  function loadFile(file, layout) {
    if (!file) {
      $('loader-error').textContent = say.notFile;
      return;
    }
    file.arrayBuffer().then((buffer) => {
      const bytes = new Uint8Array(buffer);
      if (!bytes.length) {
        askForFile(layout, say.unreadable(file.name));
        return;
      }
      load(bytesSource(bytes), layout, file.name);
    }, () => askForFile(layout, say.unreadable(file.name)));
  }

  function wireLoader(layout) {
    const input = $('file-input');
    input.addEventListener('change', () => loadFile(input.files[0], layout));
    const zone = $('drop-zone');
    const active = () => !$('loader').hidden;
    document.addEventListener('dragover', (e) => {
      if (!active()) return;
      e.preventDefault();
      zone.classList.add('over');
    });
    document.addEventListener('dragleave', (e) => {
      if (!e.relatedTarget) zone.classList.remove('over');
    });
    document.addEventListener('drop', (e) => {
      if (!active()) return;
      e.preventDefault();
      zone.classList.remove('over');
      loadFile(e.dataTransfer && e.dataTransfer.files[0], layout);
    });
  }

  // ---- out of the page: the matching rows as CSV or on the clipboard ----

  function matchingRows() {
    const out = [view.names];
    for (let k = 0, n = shownCount(); k < n; k++) out.push(valuesOf(recordAt(k)));
    return out;
  }

  const csvField = (v) => (/[",\r\n]/.test(v) ? '"' + v.replace(/"/g, '""') + '"' : v);
  const tsvField = (v) => (/["\t\r\n]/.test(v) ? '"' + v.replace(/"/g, '""') + '"' : v);

  function exportCsv() {
    const rows = matchingRows();
    const text = '\uFEFF' + rows.map((r) => r.map(csvField).join(',')).join('\r\n') + '\r\n';
    const url = URL.createObjectURL(new Blob([text], { type: 'text/csv;charset=utf-8' }));
    const a = document.createElement('a');
    a.href = url;
    a.download = (baseName(view.sourceName || xmlPathSetting() || 'data').replace(/\.xml$/i, '') || 'data') + '.csv';
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
    status.textContent = say.saved(rows.length - 1);
  }

  async function copyRows() {
    const rows = matchingRows();
    const text = rows.map((r) => r.map(tsvField).join('\t')).join('\r\n') + '\r\n';
    try {
      await navigator.clipboard.writeText(text);
    } catch (e) {
      const area = document.createElement('textarea');
      area.value = text;
      document.body.appendChild(area);
      area.select();
      document.execCommand('copy');
      area.remove();
    }
    status.textContent = say.copied(rows.length - 1);
  }

  function wireControls() {
    $('search-form').addEventListener('submit', (e) => { e.preventDefault(); search(); });
    let composing = false;
    query.addEventListener('compositionstart', () => { composing = true; });
    query.addEventListener('compositionend', () => { composing = false; search(); });
    query.addEventListener('input', (e) => { if (!composing && !e.isComposing) search(); });
    columnChoice.addEventListener('change', () => {
      view.column = view.names.indexOf(columnChoice.value);
      search();
    });
    const go = (page) => { view.page = Math.min(Math.max(page, 0), pageCount() - 1); render(); };
    buttons.first.addEventListener('click', () => go(0));
    buttons.prev.addEventListener('click', () => go(view.page - 1));
    buttons.next.addEventListener('click', () => go(view.page + 1));
    buttons.last.addEventListener('click', () => go(pageCount() - 1));
    const jump = () => {
      const n = parseInt(pageNumber.value, 10);
      if (n >= 1) go(n - 1); else render();
    };
    pageNumber.addEventListener('change', jump);
    pageNumber.addEventListener('keydown', (e) => { if (e.key === 'Enter') jump(); });
    pageSizeChoice.addEventListener('change', () => {
      const first = view.page * view.pageSize;
      view.pageSize = parseInt(pageSizeChoice.value, 10);
      go(Math.floor(first / view.pageSize));
    });
    $('export').addEventListener('click', exportCsv);
    $('copy').addEventListener('click', copyRows);
    const printing = (on) => () => { view.printing = on; if (view.names.length) render(); };
    window.addEventListener('beforeprint', printing(true));
    window.addEventListener('afterprint', printing(false));
  }

  async function start() {
    const layout = readLayout();
    const path = xmlPathSetting();
    $('xml-file').textContent = path || say.notSaved;
    view.pageSize = pageSizeSetting();
    choosePageSizes();
    wireControls();
    wireLoader(layout);
    let source = null;
    try {
      source = embeddedSource();
    } catch (e) {
      source = null;
    }
    if (source) {
      load(source, layout);
      return;
    }
    const bytes = await fetchBeside(path);
    if (bytes && bytes.length) load(bytesSource(bytes), layout, '');
    else askForFile(layout, bytes ? say.unreadable(baseName(path)) : '');
  }

  start();
})();
