// The controls: search box, column list, sort buttons, pager, page size, export, printing, and the
// file the user gives when the page has no document.
import { words } from './fold.js';
import { filterTerms, narrowing } from './filters.js';
import { pickTerms } from './values.js';
import { MSG } from './protocol.js';
import { say } from './messages.js';
import { $, elements, view } from './dom.js';
import { render, go, pageCount } from './pager.js';
import { showSortState } from './header.js';
import { exportCsv, copyRows } from './export.js';
import { bytesSource } from './sources.js';
import { load, askForFile } from './load.js';

/** Asks the engine for the matches (and `extra.sort`) of what the search box holds. */
export function ask(extra) {
  view.queryId++;
  $('records').setAttribute('aria-busy', 'true');
  const text = elements.query.value;
  const [filters, picks] = [filterTerms(), pickTerms()];
  view.channel.post(
    Object.assign({ t: MSG.query, id: view.queryId, text, column: view.column, filters, picks }, extra),
  );
}

export function search() {
  view.words = words(elements.query.value);
  view.page = 0;
  if (!narrowing()) {
    view.matches = null;
    render();
  }
  if (view.channel && view.names.length) ask({});
}

/** Sorts by the column alone, the other way when it is the first key already; `adding`: adds it to
 * the keys as the last one, or turns it the other way where it is one of them. The header and the rows
 * keep the order on view until the rows in the new one come (`takeSorted`). */
export function sortBy(column, adding) {
  const keys = view.sortAsked ? view.sortAsked.keys : view.sort || [];
  const at = keys.findIndex((k) => k.column === column);
  const turned = (k) => ({ column, direction: -k.direction });
  let next = [{ column, direction: at === 0 ? -keys[0].direction : 1 }];
  if (adding && at < 0) next = keys.concat({ column, direction: 1 });
  else if (adding) next = keys.map((k, i) => (i === at ? turned(k) : k));
  ask({ sort: next });
  view.sortAsked = { keys: next, id: view.queryId };
  elements.status.textContent = say.sorting;
}

/** The answer to query `id` has come: the sort asked for up to it is the one on view, from page 1. */
export function takeSorted(id) {
  if (!view.sortAsked || id < view.sortAsked.id) return;
  view.sort = view.sortAsked.keys;
  view.sortAsked = null;
  view.page = 0;
  showSortState();
}

function wireSearch() {
  const { query, column } = elements;
  $('search-form').addEventListener('submit', (e) => {
    e.preventDefault();
    search();
  });
  const typing = { composing: false };
  query.addEventListener('compositionstart', () => (typing.composing = true));
  query.addEventListener('compositionend', () => {
    typing.composing = false;
    search();
  });
  query.addEventListener('input', (e) => !typing.composing && !e.isComposing && search());
  column.addEventListener('change', () => {
    view.column = view.names.indexOf(column.value);
    search();
  });
}

function wirePager() {
  const { buttons, pageNumber, pageSize } = elements;
  buttons.first.addEventListener('click', () => go(0));
  buttons.prev.addEventListener('click', () => go(view.page - 1));
  buttons.next.addEventListener('click', () => go(view.page + 1));
  buttons.last.addEventListener('click', () => go(pageCount() - 1));
  // A number beyond the pages turns to the last (or first) page, and the box then reads the page shown.
  const jump = () => {
    const n = parseInt(pageNumber.value, 10);
    if (Number.isNaN(n)) render();
    else go(n - 1);
    pageNumber.value = String(Math.min(view.page, pageCount() - 1) + 1);
  };
  pageNumber.addEventListener('change', jump);
  pageNumber.addEventListener('keydown', (e) => e.key === 'Enter' && jump());
  pageSize.addEventListener('change', () => {
    const first = view.page * view.pageSize;
    view.pageSize = parseInt(pageSize.value, 10);
    go(Math.floor(first / view.pageSize));
  });
}

export function wireControls() {
  wireSearch();
  wirePager();
  $('export').addEventListener('click', exportCsv);
  $('copy').addEventListener('click', copyRows);
  const printing = (on) => () => {
    view.printing = on;
    if (view.names.length) render();
  };
  window.addEventListener('beforeprint', printing(true));
  window.addEventListener('afterprint', printing(false));
}

function loadFile(file, layout) {
  if (!file) {
    $('loader-error').textContent = say.notFile;
    return;
  }
  file.arrayBuffer().then(
    (buffer) => {
      const bytes = new Uint8Array(buffer);
      if (bytes.length) load(bytesSource(bytes), layout, file.name);
      else askForFile(say.unreadable(file.name));
    },
    () => askForFile(say.unreadable(file.name)),
  );
}

export function wireLoader(layout) {
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
