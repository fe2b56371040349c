// A filter box under each column's name: words that column must hold too, folded as the search box's
// are, combined with the search. Kept in the URL's fragment ("f.NAME=words"). A column of few values
// also gets the list of them there (see values.js).
import { say } from './messages.js';
import { $, view } from './dom.js';
import { pickTerms } from './values.js';

/** The filters a query carries: [{ column, text }] for each box that holds a word. */
export const filterTerms = () =>
  view.filters.map((text, column) => ({ column, text })).filter((f) => f.text.trim());

/** Whether the search box, a filter or a picked value narrows the records. */
export const narrowing = () => view.words.length > 0 || filterTerms().length > 0 || pickTerms().length > 0;

/** A row of filter boxes under the column names, filled from the fragment's `wanted` ({ name: text });
 * `changed` after each edit (not while an input method composes). */
export function setUpFilterRow(names, wanted, changed) {
  view.filters = names.map((name) => wanted[name] || '');
  const row = document.createElement('tr');
  row.className = 'filter-row';
  names.forEach((name, c) => {
    const cell = row.appendChild(document.createElement('td')).appendChild(document.createElement('div'));
    cell.className = 'filter-cell';
    const input = cell.appendChild(document.createElement('input'));
    input.type = 'search';
    input.value = view.filters[c];
    input.placeholder = say.filterPlaceholder;
    input.setAttribute('aria-label', say.filterLabel(name));
    const take = () => {
      view.filters[c] = input.value;
      changed();
    };
    input.addEventListener('input', (e) => !e.isComposing && take());
    input.addEventListener('compositionend', take);
  });
  $('head-rows').appendChild(row);
}
