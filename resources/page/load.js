// Loading a document: its bytes go to the engine a piece at a time (two in flight), so that a search
// typed while it loads is answered between pieces, and rows show as they come. A document the
// scanner gives up on is read again through the XML parser and its rows sent as batches.
import { words } from './fold.js';
import { MSG, dispatcher } from './protocol.js';
import { MAX_PAGE_SIZE, say } from './messages.js';
import { $, elements, view, setState, mark, xmlPathSetting, baseName } from './dom.js';
import { decodeWhole, recordSlices } from './fallback.js';
import { readFragment, writeFragment } from './fragment.js';
import { setUpColumnMenu } from './columns.js';
import { addWidthHandles } from './widths.js';
import { setUpFilterRow, narrowing } from './filters.js';
import { takePicks, setUpValueLists, showCounts } from './values.js';
import { setUpColumns, choosePageSizes } from './header.js';
import { openChannel, localChannel } from './channel.js';
import { gather } from './sources.js';
import { render } from './pager.js';
import { ask, sortBy, takeSorted, search } from './controls.js';

// Bytes of the document per piece sent to the engine: a small first one so that rows show at once.
const FIRST_PIECE = 1 << 16;
const PIECE = 1 << 22;
const LOCAL_PIECE = 1 << 16;

function reset() {
  view.batches = [];
  view.total = 0;
  view.matches = null;
  view.order = null;
  view.tolerant = false;
}

// Matches of the query in a batch just read grow the list of matches on view.
function addHits(m) {
  if (!m.hits || m.query !== view.queryId || !view.matches) return;
  const grown = new Int32Array(view.matches.length + m.hits.length);
  grown.set(view.matches);
  grown.set(m.hits, view.matches.length);
  view.matches = grown;
}

class Loading {
  constructor(source, layout, sourceName) {
    this.source = source;
    this.layout = layout;
    this.sourceName = sourceName;
    this.wanted = readFragment();
    this.columnsReady = false;
    this.pieces = null;
    this.sent = { pieces: 0, ended: false, inFlight: 0 };
    this.slices = null;
    this.readyAfterResult = false;
    this.onMessage = dispatcher({
      [MSG.fallback]: () => this.readWithParser(),
      [MSG.rows]: (m) => this.takeRows(m),
      [MSG.result]: (m) => this.takeResult(m),
      [MSG.values]: (m) => this.takeLists(m),
    });
  }

  begin(ch) {
    view.channel = ch;
    ch.onFail = () => {
      reset();
      this.begin(localChannel(this.onMessage));
    };
    ch.post({ t: MSG.start, names: this.layout.names });
    if (this.pieces) this.pieces.cancel();
    this.pieces = gather(this.source.stream());
    this.sent = { pieces: 0, ended: false, inFlight: 0 };
    this.sendMore();
  }

  // Pieces go as the source gives them; a source read again from the start (another channel) or given
  // up for the XML parser leaves this loop behind.
  async sendMore() {
    const from = this.pieces;
    if (!from || from.busy) return;
    from.busy = true;
    const sent = this.sent;
    try {
      while (sent.inFlight < 2 && !sent.ended && from === this.pieces) {
        const size = sent.pieces === 0 ? FIRST_PIECE : view.channel.local ? LOCAL_PIECE : PIECE;
        const { piece, last } = await from.read(size);
        if (from !== this.pieces) break;
        view.channel.post({ t: MSG.data, piece, last }, [piece.buffer]);
        sent.pieces++;
        sent.ended = last;
        sent.inFlight++;
      }
    } catch (e) {
      // Data that does not inflate: the XML parser's route tells the user the document is unreadable.
      if (from === this.pieces) this.readWithParser();
    }
    from.busy = false;
  }

  // The document is not of the simple form: read it again through the XML parser.
  readWithParser() {
    reset();
    if (this.pieces) this.pieces.cancel();
    this.pieces = null;
    this.source
      .bytes()
      .then((bytes) => recordSlices(decodeWhole(bytes), this.layout.names))
      .catch(() => null)
      .then((slices) => {
        if (!slices) {
          view.channel.close();
          askForFile(say.unreadable(this.sourceName || xmlPathSetting()));
          return;
        }
        this.slices = slices;
        view.channel.post({ t: MSG.start, names: this.layout.names, rowsOnly: true });
        this.sendSlice();
      });
  }

  sendSlice() {
    const slice = this.slices.next();
    if (slice) view.tolerant = view.tolerant || slice.tolerant;
    const names = slice ? slice.names : this.layout.names;
    view.channel.post({ t: MSG.batch, rows: slice ? slice.rows : [], names, last: !slice });
  }

  takeRows(m) {
    if (!this.columnsReady) {
      this.columnsReady = true;
      setUpColumns(this.layout, m.names, this.wanted, sortBy);
      setUpColumnMenu(m.names, this.wanted.hide, writeFragment);
      addWidthHandles();
      setUpFilterRow(m.names, this.wanted.filters, search);
      takePicks(m.names, this.wanted.picks);
      if (narrowing()) ask({});
    }
    view.batches.push({ start: m.start, raw: m.raw, off: m.off });
    view.total = m.start + m.count;
    addHits(m);
    const first = view.total > 0 && view.total === m.count;
    if (m.last) {
      this.finish();
    } else {
      this.sent.inFlight--;
      if (this.slices) this.sendSlice();
      else this.sendMore();
      // Rows are drawn again only when the page on view was not yet full.
      render(!first && !view.matches && (view.page + 1) * view.pageSize <= view.total - m.count);
    }
    if (first || m.last) mark('records-shown');
  }

  // The lists of the columns of few values; counts for an older query are asked for again.
  takeLists(m) {
    const current = m.query === view.queryId;
    setUpValueLists(m.lists, current ? m.counts : null, search);
    if (!current) ask({});
  }

  takeResult(m) {
    if (m.id !== view.queryId) return;
    view.order = m.order;
    view.matches = m.matches;
    showCounts(m.counts);
    takeSorted(m.id);
    view.words = words(elements.query.value);
    $('records').removeAttribute('aria-busy');
    render();
    if (this.readyAfterResult) {
      this.readyAfterResult = false;
      setState('ready');
    }
  }

  finish() {
    view.loading = false;
    $('note').textContent = view.tolerant ? say.tolerant : '';
    $('note').hidden = !view.tolerant;
    mark('records-loaded');
    if (this.source.release) this.source.release();
    if (view.sort || narrowing()) {
      this.readyAfterResult = true;
      ask(view.sort ? { sort: view.sort } : {});
    } else {
      render();
      setState('ready');
    }
  }
}

// The search, page and page size the fragment keeps, before the first rows show.
function takeFragment(wanted) {
  if (wanted.q !== null && !elements.query.value) elements.query.value = wanted.q;
  if (wanted.size) {
    view.pageSize = Math.min(wanted.size, MAX_PAGE_SIZE);
    choosePageSizes();
  }
  if (wanted.page) view.page = wanted.page - 1;
}

/** Shows the document of `source` (sourceName: the file the user gave, '' for the page's own). */
export function load(source, layout, sourceName) {
  const loading = new Loading(source, layout, sourceName);
  takeFragment(loading.wanted);
  view.words = words(elements.query.value);
  view.sourceName = sourceName;
  $('loader').hidden = true;
  $('viewer').hidden = false;
  if (sourceName) $('xml-file').textContent = sourceName;
  setState('reading');
  render();
  loading.begin(openChannel(loading.onMessage));
}

/** Asks the user for the document (with why, when a document could not be read). */
export function askForFile(message) {
  const path = xmlPathSetting();
  $('loader-name').textContent = path ? say.expected(baseName(path)) : '';
  $('loader-error').textContent = message || '';
  $('loader').hidden = false;
  $('viewer').hidden = true;
  setState('need-file');
}
