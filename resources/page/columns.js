// Which columns show: a menu of the column names with a box each, at least one kept; the hidden ones
// are kept in the URL's fragment. A hidden column is left out by one style rule, header and cells alike.
import { $, view } from './dom.js';

function applyHidden() {
  // The row that says there are no rows spans every column and stays.
  const selectors = Array.from(view.hidden, (c) => `#records tr > :nth-child(${c + 1}):not(.empty)`);
  $('column-style').textContent = selectors.length ? selectors.join(', ') + ' { display: none; }' : '';
}

/** The columns a fragment's list of names hides; never all of them. */
export function hiddenNamed(text, names) {
  const hidden = new Set((text ? text.split(',') : []).map((n) => names.indexOf(n)).filter((c) => c >= 0));
  return hidden.size < names.length ? hidden : new Set();
}

/** The fragment's list of the hidden columns' names. */
export const hiddenNames = () => Array.from(view.hidden, (c) => view.names[c]).join(',');

/** Fills the menu with a box per column and hides what `wanted` names; `changed` after each choice. */
export function setUpColumnMenu(names, wanted, changed) {
  view.hidden = hiddenNamed(wanted, names);
  const boxes = names.map((name, c) => {
    const label = document.createElement('label');
    const box = label.appendChild(document.createElement('input'));
    box.type = 'checkbox';
    box.checked = !view.hidden.has(c);
    label.append(name);
    box.addEventListener('change', () => {
      if (box.checked) view.hidden.delete(c);
      else view.hidden.add(c);
      // The last column shown stays: its box cannot be cleared.
      for (const b of boxes) b.disabled = b.checked && view.hidden.size === names.length - 1;
      applyHidden();
      changed();
    });
    return box;
  });
  $('column-choices').append(...boxes.map((b) => b.parentNode));
  for (const b of boxes) b.disabled = b.checked && view.hidden.size === names.length - 1;
  applyHidden();
}
