// The page's elements, what the tool filled into them, and the state of the view.
import { DEFAULT_PAGE_SIZE, MAX_PAGE_SIZE } from './messages.js';

export const $ = (id) => document.getElementById(id);
export const elements = {
  app: $('app'),
  query: $('query'),
  column: $('column'),
  status: $('status'),
  pageInfo: $('page-info'),
  pageNumber: $('page-number'),
  pageSize: $('page-size'),
  rows: $('rows'),
  buttons: { first: $('first-page'), prev: $('prev-page'), next: $('next-page'), last: $('last-page') },
};

export const view = {
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
  // The sort keys on view ([{ column, direction }], null for the document's order) and the ones asked
  // for ({ keys, id }) until the rows in their order come.
  sort: null,
  hidden: new Set(),
  filters: [],
  // Each column's ticked values (as shown), and the boxes of the columns' lists (null for none).
  picks: [],
  lists: null,
  sortAsked: null,
  loading: true,
  printing: false,
  tolerant: false,
  sourceName: '',
  channel: null,
};

/** The loading state, for styles and for tests: loading, reading, ready, need-file. */
export const setState = (s) => document.documentElement.setAttribute('data-state', s);
export const mark = (name) => {
  if (performance.mark) performance.mark(name);
};

// Placeholder literals are built from pieces: the tool fills every literal one in the page.
const placeholder = (name) => '[' + name + ']';

export function pageSizeSetting() {
  const raw = (elements.app.getAttribute('data-page-size') || '').trim();
  const n = /^\d+$/.test(raw) ? parseInt(raw, 10) : 0;
  return n >= 1 ? Math.min(n, MAX_PAGE_SIZE) : DEFAULT_PAGE_SIZE;
}

export function searchFieldSetting() {
  const raw = elements.app.getAttribute('data-search-field') || '';
  return raw === '<' + 'search_field' + '>' ? '' : raw;
}

export function xmlPathSetting() {
  const raw = $('xml-file').getAttribute('data-path') || '';
  return raw === placeholder('xmlfile') ? '' : raw;
}

/** The embedded document's text, taken out of the page; '' when the tool put none there. */
export function takeEmbeddedData() {
  const element = $('xml-data');
  const data = (element.textContent || '').trim();
  element.textContent = '';
  return data === placeholder('xmldata') ? '' : data;
}

export const baseName = (path) => path.split(/[\\/]/).pop();
