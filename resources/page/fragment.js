// The URL's fragment keeps the search, column filters, picked values, column, sort, hidden columns,
// page and page size, so that a reload or a bookmark returns to them.
import { elements, view } from './dom.js';
import { hiddenNames } from './columns.js';

export function readFragment() {
  const p = new URLSearchParams(location.hash.slice(1));
  const n = (k) => (/^\d+$/.test(p.get(k) || '') ? parseInt(p.get(k), 10) : null);
  return {
    q: p.get('q'),
    column: p.get('col'),
    sort: p.getAll('sort'),
    page: n('page'),
    size: n('size'),
    hide: p.get('hide'),
    filters: Object.fromEntries([...p].filter(([k]) => k.startsWith('f.')).map(([k, v]) => [k.slice(2), v])),
    picks: [...p]
      .filter(([k]) => k.startsWith('v.'))
      .reduce((all, [k, v]) => {
        (all[k.slice(2)] ||= []).push(v);
        return all;
      }, {}),
  };
}

export function writeFragment() {
  const p = new URLSearchParams();
  if (elements.query.value) p.set('q', elements.query.value);
  p.set('col', view.column >= 0 ? view.names[view.column] : '');
  for (const key of view.sort || [])
    p.append('sort', view.names[key.column] + (key.direction > 0 ? ':a' : ':d'));
  if (view.hidden.size) p.set('hide', hiddenNames());
  view.filters.forEach((text, c) => text && p.set('f.' + view.names[c], text));
  view.picks.forEach((set, c) => set.forEach((value) => p.append('v.' + view.names[c], value)));
  p.set('page', String(view.page + 1));
  p.set('size', String(view.pageSize));
  try {
    history.replaceState(null, '', '#' + p.toString());
  } catch (e) {
    // Some file:// pages refuse history changes; the view works without it.
  }
}

/** The sort keys a fragment names (each "column:a" or ":d"; unknown and repeated columns left out), or
 * null for none. */
export function sortNamed(texts, names) {
  const keys = [];
  for (const text of texts) {
    const m = /^(.*):([ad])$/.exec(text);
    const column = m ? names.indexOf(m[1]) : -1;
    if (column >= 0 && !keys.some((k) => k.column === column))
      keys.push({ column, direction: m[2] === 'a' ? 1 : -1 });
  }
  return keys.length ? keys : null;
}
