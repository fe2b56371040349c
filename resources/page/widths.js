// A column's width dragged by the edge of its header: a handle at the right of each column name.
import { view } from './dom.js';

function drag(th, handle) {
  handle.addEventListener('pointerdown', (e) => {
    e.preventDefault();
    handle.setPointerCapture(e.pointerId);
    const startX = e.clientX;
    const startWidth = th.getBoundingClientRect().width;
    const move = (m) => {
      const width = Math.max(48, Math.round(startWidth + m.clientX - startX));
      th.style.width = th.style.minWidth = width + 'px';
    };
    const stop = () => {
      handle.removeEventListener('pointermove', move);
      handle.removeEventListener('pointerup', stop);
      handle.removeEventListener('pointercancel', stop);
    };
    handle.addEventListener('pointermove', move);
    handle.addEventListener('pointerup', stop);
    handle.addEventListener('pointercancel', stop);
  });
}

/** Puts a width handle on every column's header. */
export function addWidthHandles() {
  for (const th of view.headCells) {
    const handle = th.appendChild(document.createElement('span'));
    handle.className = 'col-resize';
    handle.setAttribute('aria-hidden', 'true');
    drag(th, handle);
  }
}
