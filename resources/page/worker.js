// The worker's side of the protocol: reads the document, keeps the index, answers queries. The same
// code runs on the page where no worker starts.
import { SEP, fold, words } from './fold.js';
import { Scanner, Collected } from './scanner.js';
import { RecordIndex } from './index.js';
import { MSG, dispatcher } from './protocol.js';

// A column with at most this many distinct values gets a list of them to pick from.
const LIST_MOST = 200;

class Reader {
  constructor(post) {
    this.post = post;
    this.start({ names: [] });
  }

  start(m) {
    this.names = m.names;
    this.index = new RecordIndex(m.names.length);
    this.asked = { id: 0, words: [], column: -1, filters: [], picks: [] };
    this.order = null;
    // Rows parsed by the page itself come as batches; no document text is read any more.
    this.failed = !!m.rowsOnly;
    this.scanner = new Scanner(m.names);
  }

  data(m) {
    if (this.failed) return;
    const out = new Collected();
    let ok;
    try {
      ok = this.scanner.push(m.piece, m.last, out);
      out.flush();
    } catch (e) {
      ok = false;
    }
    if (!ok || (this.scanner.names.length === 0 && out.parts.length)) {
      this.failed = true;
      this.post({ t: MSG.fallback });
      return;
    }
    if (!this.index.width && this.scanner.names.length) this.setNames(this.scanner.names);
    this.send(out.parts.join(''), m.last);
  }

  batch(m) {
    if (!this.index.width) this.setNames(m.names);
    const values = [].concat(...m.rows).map((v) => v.replace(/\u0000/g, ''));
    this.send(values.length ? values.join(SEP) + SEP : '', m.last);
  }

  query(m) {
    const filters = (m.filters || [])
      .map((f) => ({ column: f.column, words: words(f.text) }))
      .filter((f) => f.words.length);
    const picks = (m.picks || [])
      .map((p) => ({ column: p.column, values: new Set(p.values.map(fold)) }))
      .filter((p) => p.values.size);
    this.asked = { id: m.id, words: words(m.text), column: m.column, filters, picks };
    if (m.sort) this.order = this.index.sortOrder(m.sort);
    else if (m.sort === null) this.order = null;
    const counts = this.index.countsArrays();
    const matches = this.index.matches(this.asked, this.order, counts);
    const { total } = this.index;
    this.post(
      { t: MSG.result, id: m.id, total, order: this.order, matches, counts },
      matches ? [matches.buffer] : [],
    );
  }

  // Once every record is searchable: the lists of the columns of few values, a batch at a time between
  // queries, then sent with the counts of the query on view.
  listValues(index, steps = index.listing(LIST_MOST)) {
    if (this.index !== index) return;
    if (!steps.next().done) {
      setTimeout(() => this.listValues(index, steps), 0);
      return;
    }
    const counts = index.countsArrays();
    if (!counts) return;
    index.matches(this.asked, null, counts);
    const lists = index.lists.map((list) => list && list.first);
    this.post({ t: MSG.values, lists, counts, query: this.asked.id });
  }

  setNames(names) {
    this.names = names;
    this.index = new RecordIndex(names.length);
  }

  send(raw, last) {
    const { index } = this;
    const { batch: b, off } = index.add(raw);
    const q = this.asked;
    const hits = q.words.length || q.filters.length || q.picks.length ? this.index.matchesIn([b], q) : null;
    const { names } = this;
    this.post({ t: MSG.rows, start: b.start, count: b.count, names, raw, off, hits, query: q.id, last }, [
      off.buffer,
    ]);
    if (last) setTimeout(() => this.listValues(index), 0);
  }
}

/** The handler of every message to the worker; answers go to `post(message, transfer)`. */
export function serve(post) {
  const reader = new Reader(post);
  const on = {};
  for (const t of [MSG.start, MSG.data, MSG.batch, MSG.query]) on[t] = (m) => reader[t](m);
  return dispatcher(on);
}

// In a worker (this script's text made into one), answer the page.
if (typeof importScripts === 'function') {
  const handle = serve((m, transfer) => self.postMessage(m, transfer));
  self.onmessage = (e) => handle(e.data);
}
