// The values of a column of few distinct ones, each with how many records hold it among those the
// other filters leave, to tick one or several: a record then holds one of them. Kept in the URL's
// fragment ("v.NAME=value", once per value).
import { fold } from './fold.js';
import { say } from './messages.js';
import { $, view } from './dom.js';
import { valuesOf } from './table.js';

/** The picks a query carries: [{ column, values }] for each column with a value ticked. */
export const pickTerms = () =>
  view.picks.map((set, column) => ({ column, values: [...set] })).filter((p) => p.values.length);

/** The picks the fragment names ({ name: [values] }), before the lists come. */
export function takePicks(names, wanted) {
  view.picks = names.map((name) => new Set(wanted[name] || []));
}

// A list: its box of values in the column's filter cell, each value's box and label.
function listFor(c, records, changed) {
  const name = view.names[c];
  const details = document.createElement('details');
  details.className = 'values';
  const summary = details.appendChild(document.createElement('summary'));
  const set = details.appendChild(document.createElement('fieldset'));
  set.appendChild(document.createElement('legend')).textContent = say.valuesLabel(name, 0);
  const clear = set.appendChild(document.createElement('button'));
  clear.type = 'button';
  clear.textContent = say.valuesClear;
  const picked = new Set([...view.picks[c]].map(fold));
  view.picks[c] = new Set();
  const entries = Array.from(records, (record) => {
    const value = valuesOf(record)[c];
    const label = set.appendChild(document.createElement('label'));
    const box = label.appendChild(document.createElement('input'));
    box.type = 'checkbox';
    box.checked = picked.has(fold(value));
    if (box.checked) view.picks[c].add(value);
    const text = label.appendChild(document.createElement('span'));
    text.textContent = say.valueCount(value, null);
    box.addEventListener('change', () => {
      if (box.checked) view.picks[c].add(value);
      else view.picks[c].delete(value);
      showPicked();
      changed();
    });
    return { value, box, text };
  });
  const showPicked = () => {
    const n = view.picks[c].size;
    // The mark for the eye, the words for a screen reader.
    const [mark, words] = [document.createElement('span'), document.createElement('span')];
    mark.setAttribute('aria-hidden', 'true');
    mark.textContent = say.valuesMark(n);
    words.className = 'unseen';
    words.textContent = say.valuesLabel(name, n);
    summary.replaceChildren(mark, words);
    clear.disabled = !view.picks[c].size;
  };
  clear.addEventListener('click', () => {
    for (const e of entries) e.box.checked = false;
    view.picks[c].clear();
    showPicked();
    changed();
  });
  details.addEventListener('keydown', (e) => {
    if (e.key !== 'Escape' || !details.open) return;
    details.open = false;
    summary.focus();
  });
  showPicked();
  return entries;
}

/** The lists the engine made once every record was read (for each column the first record holding
 * each value, null for a column of many values), into the filter row; `changed` after each tick. */
export function setUpValueLists(lists, counts, changed) {
  const cells = Array.from($('head-rows').querySelector('.filter-row').cells);
  const picked = () => view.picks.reduce((n, set) => n + set.size, 0);
  const before = picked();
  view.lists = lists.map((records, c) => {
    if (!records) return null;
    const entries = listFor(c, records, changed);
    cells[c].firstChild.appendChild(entries[0].box.closest('details'));
    return entries;
  });
  showCounts(counts);
  // Picks of the fragment that name no value any more narrow nothing now.
  if (picked() !== before) changed();
}

/** Each value's count after a query: `counts` from the engine, null while there are no lists. */
export function showCounts(counts) {
  if (!counts || !view.lists) return;
  view.lists.forEach((entries, c) => {
    if (!entries) return;
    entries.forEach((e, k) => {
      e.text.textContent = say.valueCount(e.value, counts[c][k]);
    });
  });
}
