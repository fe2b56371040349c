// The way to the engine: a worker made from the engine's own script block (a Blob URL, which works
// from disk), or, where no worker starts, the engine run here one message per task.
import { serve } from './worker.js';

/** A channel { local, post(message, transfer), close() }; `onFail` (set by the caller) runs when the
 * worker fails before it has answered. */
export function openChannel(onMessage) {
  try {
    const source = document.getElementById('engine').textContent;
    const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
    const worker = new Worker(url);
    let heard = false;
    const ch = {
      local: false,
      post: (m, transfer) => worker.postMessage(m, transfer || []),
      close: () => worker.terminate(),
    };
    worker.onmessage = (e) => {
      heard = true;
      onMessage(e.data);
    };
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

export function localChannel(onMessage) {
  const handle = serve((m) => setTimeout(() => onMessage(m), 0));
  const queue = [];
  const ch = {
    local: true,
    closed: false,
    post: (m) => {
      queue.push(m);
      if (queue.length === 1) setTimeout(run, 0);
    },
    close: () => {
      ch.closed = true;
    },
  };
  const run = () => {
    if (ch.closed || !queue.length) return;
    handle(queue.shift());
    if (queue.length) setTimeout(run, 0);
  };
  return ch;
}
