// Drawing the page on view: its rows, the counts in the status line, the pager.
import { MAX_PRINTED, say } from './messages.js';
import { elements, view } from './dom.js';
import { rowsBetween, shownCount } from './table.js';
import { writeFragment } from './fragment.js';

export const pageCount = () => Math.max(1, Math.ceil(shownCount() / view.pageSize));

function statusText(total, start, end) {
  if (!view.total && !view.loading) return say.noRecords;
  if (!total && !view.loading) return say.none(view.total);
  if (view.loading && !view.matches) return say.loading(view.total);
  return (
    say.count(total, view.total) +
    (total ? say.range(start + 1, end) : '') +
    (view.loading ? say.reading : '')
  );
}

function showPager(page, pages) {
  const { pageNumber, buttons } = elements;
  elements.pageInfo.textContent = say.page(pages);
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
}

/** Draws the rows of the current page (unless `keepRows`), the counts and the pager. */
export function render(keepRows) {
  const total = shownCount();
  const pages = pageCount();
  const page = Math.min(Math.max(view.page, 0), pages - 1);
  if (!view.loading) view.page = page;
  const start = view.printing ? 0 : page * view.pageSize;
  const end = Math.min(total, start + (view.printing ? MAX_PRINTED : view.pageSize));
  if (!keepRows) {
    const empty = !total && !view.loading ? (view.total ? say.none(view.total) : say.noRecords) : '';
    elements.rows.replaceChildren(rowsBetween(start, end, empty));
  }
  // A sort still running is what the status line says until its rows come.
  elements.status.textContent = view.sortAsked ? say.sorting : statusText(total, start, end);
  showPager(page, pages);
  for (const cell of view.headCells) {
    const button = cell.querySelector('.sort-button');
    if (button) button.disabled = view.loading;
  }
  if (!view.loading) writeFragment();
}

/** Turns to a page (kept within the pages there are). */
export function go(page) {
  view.page = Math.min(Math.max(page, 0), pageCount() - 1);
  render();
}
