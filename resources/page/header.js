// The column headers (each a button that sorts by its column, or with Shift adds it to the sort), the
// column list and page sizes.
import { PAGE_SIZES, say } from './messages.js';
import { $, elements, view, searchFieldSetting } from './dom.js';
import { buildTemplateRow } from './table.js';
import { sortNamed } from './fragment.js';

/** Each header's arrow, its place among several sort keys (1, 2, ...) and, on the first key's header,
 * `aria-sort`. */
export function showSortState() {
  const keys = view.sort || [];
  view.headCells.forEach((cell, i) => {
    const at = keys.findIndex((k) => k.column === i);
    const state = at < 0 ? 'none' : keys[at].direction > 0 ? 'ascending' : 'descending';
    cell.setAttribute('aria-sort', at === 0 ? state : 'none');
    const arrows = { ascending: say.sortAscending, descending: say.sortDescending, none: say.sortNone };
    const [arrow, ordinal] = [cell.querySelector('.arrow'), cell.querySelector('.ordinal')];
    if (arrow) arrow.textContent = arrows[state];
    if (ordinal) ordinal.textContent = at >= 0 && keys.length > 1 ? String(at + 1) : '';
  });
}

function sortButton(cell, onSort) {
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'sort-button';
  const label = document.createElement('span');
  label.append(...cell.childNodes);
  const arrow = document.createElement('span');
  arrow.className = 'arrow';
  arrow.setAttribute('aria-hidden', 'true');
  const ordinal = document.createElement('span');
  ordinal.className = 'ordinal';
  const mark = document.createElement('span');
  mark.append(arrow, ordinal);
  button.title = say.sortHint;
  button.append(label, mark);
  button.addEventListener('click', (e) => onSort(e.shiftKey));
  // Shift would otherwise select text on a click and is not passed on by Enter in every browser.
  button.addEventListener('mousedown', (e) => e.shiftKey && e.preventDefault());
  button.addEventListener('keydown', (e) => {
    if (e.key !== 'Enter' || !e.shiftKey) return;
    e.preventDefault();
    onSort(true);
  });
  return button;
}

// The header cells become real column headers, each holding a button that sorts by its column.
function prepareHeader(layout, names, onSort) {
  let headRow = layout.headRow;
  if (!headRow) {
    headRow = document.createElement('tr');
    headRow.style.backgroundColor = 'cyan';
    for (const name of names) headRow.appendChild(document.createElement('td')).textContent = name;
    $('head-rows').appendChild(headRow);
  }
  const cells = Array.from(headRow.cells).map((cell, i) => {
    const th = document.createElement('th');
    th.scope = 'col';
    for (const a of Array.from(cell.attributes)) th.setAttribute(a.name, a.value);
    if (i < names.length) th.appendChild(sortButton(cell, (adding) => onSort(i, adding)));
    else th.append(...cell.childNodes);
    cell.replaceWith(th);
    return th;
  });
  view.headCells = cells.slice(0, names.length);
}

/** The document's columns into the view: header, row pattern, the column list, the column and sort
 * the fragment (or the tool) asks for. */
export function setUpColumns(layout, names, wanted, onSort) {
  view.names = names;
  view.templateRow = layout.templateRow || buildTemplateRow(names);
  prepareHeader(layout, names, onSort);
  for (const name of names) {
    const option = elements.column.appendChild(document.createElement('option'));
    option.value = name;
    option.textContent = name;
  }
  const field = wanted.column !== null ? wanted.column : searchFieldSetting();
  view.column = names.indexOf(field);
  elements.column.value = view.column >= 0 ? names[view.column] : '';
  view.sort = sortNamed(wanted.sort, names) || view.sort;
  showSortState();
}

export function choosePageSizes() {
  const sizes = PAGE_SIZES.includes(view.pageSize)
    ? PAGE_SIZES
    : PAGE_SIZES.concat(view.pageSize).sort((a, b) => a - b);
  elements.pageSize.replaceChildren(
    ...sizes.map((n) => {
      const option = document.createElement('option');
      option.value = String(n);
      option.textContent = n + '件';
      return option;
    }),
  );
  elements.pageSize.value = String(view.pageSize);
}
