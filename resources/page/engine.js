// Shows the records of the XML document as a table: one row per record element, each cell filled from
// the field element that its SPAN's DATAFLD names. Values go in as text only, never as markup.
// Placeholder literals are built from pieces here: the tool fills every literal one in the page.
//
// The document is read, indexed, searched and sorted by a worker (made from this page's own text, so it
// works from disk); the page only draws the rows asked for. Where no worker can start, the same code
// runs here in short slices.
(() => {
  'use strict';

  // ---- reading and searching: runs in the worker, or here when no worker starts ----
  function engine() {
    const RECORD_OPEN = '<mivoxml>';
    const RECORD_CLOSE = '</mivoxml>';
    const SEP = '\u0000';
    const KANA = /[\u30A1-\u30F6\u30FD\u30FE]/g;
    const DASHES = /[\u2010-\u2015\u2212\u2E3A\u2E3B\u30FC\uFE58\uFE63\uFF0D\uFF70]/g;
    const utf16 = new TextDecoder('utf-16le');

    // Width (NFKC), katakana to hiragana, the dash family to "-", case: what a search compares.
    function fold(s) {
      return s.normalize('NFKC').toLowerCase()
        .replace(KANA, (c) => String.fromCharCode(c.charCodeAt(0) - 0x60)).replace(DASHES, '-');
    }

    // The same for a whole batch of values at once, each ended by SEP; `ends` receives where each
    // folded value ends, past its SEP.
    function foldMany(s, ends) {
      s = s.normalize('NFKC');
      // Letters with case beyond ASCII are rare in these documents: only then the whole text is lowered.
      if (/[^\u0000-\u00BF\u3000-\u9FFF\uFF00-\uFFEF]/.test(s)) s = s.toLowerCase();
      const codes = new Uint16Array(s.length);
      for (let i = 0, k = 0; i < s.length; i++) {
        let c = s.charCodeAt(i);
        if (c < 0x80) {
          if (c >= 0x41 && c <= 0x5A) c += 0x20;
          else if (c === 0) ends[++k] = i + 1;
        } else if ((c >= 0x30A1 && c <= 0x30F6) || c === 0x30FD || c === 0x30FE) {
          c -= 0x60;
        } else if ((c >= 0x2010 && c <= 0x2015) || c === 0x2212 || c === 0x2E3A || c === 0x2E3B || c === 0x30FC
          || c === 0xFE58 || c === 0xFE63 || c === 0xFF0D || c === 0xFF70) {
          c = 0x2D;
        } else if (c >= 0xC0 && c < 0x100) {
          c = String.fromCharCode(c).toLowerCase().charCodeAt(0);
        }
        codes[i] = c;
      }
      return utf16.decode(codes);
    }

    // Shift_JIS through a table of what the browser's own decoder makes of every byte and byte pair,
    // many times faster than that decoder on long text. From a piece with any byte the table lacks on,
    // the browser's decoder takes over (characters never straddle what was already decoded).
    function shiftJisDecoder() {
      let single = null;
      let pair = null;
      let carry = -1;
      let fallback = null;
      function build() {
        single = new Int32Array(256).fill(-1);
        pair = new Uint16Array(65536);
        const d = new TextDecoder('shift_jis');
        for (let b = 0; b < 256; b++) {
          const c = d.decode(new Uint8Array([b]));
          if (c.length === 1 && c !== '\uFFFD') single[b] = c.charCodeAt(0);
        }
        const two = new Uint8Array(2);
        for (let lead = 0x81; lead <= 0xFC; lead++) {
          if (single[lead] >= 0) continue;
          for (let trail = 0x40; trail <= 0xFC; trail++) {
            two[0] = lead;
            two[1] = trail;
            const c = d.decode(two);
            if (c.length === 1 && c !== '\uFFFD') pair[(lead << 8) | trail] = c.charCodeAt(0);
          }
        }
      }
      return {
        decode(bytes, options) {
          if (fallback) return fallback.decode(bytes, options);
          if (!single) build();
          const out = new Uint16Array(bytes.length + 1);
          let j = 0;
          let i = 0;
          if (carry >= 0 && bytes.length) {
            const c = pair[(carry << 8) | bytes[0]];
            if (!c) return this.giveUp(bytes, options);
            out[j++] = c;
            i = 1;
          }
          carry = -1;
          for (const n = bytes.length; i < n; i++) {
            const b = bytes[i];
            if (b < 0x80) {
              out[j++] = b;
            } else if (single[b] >= 0) {
              out[j++] = single[b];
            } else if (i + 1 < n) {
              const c = pair[(b << 8) | bytes[++i]];
              if (!c) return this.giveUp(bytes, options);
              out[j++] = c;
            } else if (options && options.stream) {
              carry = b;
            } else {
              return this.giveUp(bytes, options);
            }
          }
          return utf16.decode(out.subarray(0, j));
        },
        giveUp(bytes, options) {
          fallback = new TextDecoder('shift_jis');
          let input = bytes;
          if (carry >= 0) {
            input = new Uint8Array(bytes.length + 1);
            input[0] = carry;
            input.set(bytes, 1);
          }
          carry = -1;
          return fallback.decode(input, options);
        },
      };
    }

    const B64 = new Uint8Array(128).fill(255);
    for (let i = 0; i < 64; i++) B64['ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/'.charCodeAt(i)] = i;

    // Base64 text (a multiple of 4 characters, no blanks) to bytes; throws on anything else.
    function fromBase64(s) {
      let n = s.length;
      if (n % 4) throw new Error('base64');
      const pad = n && s.charCodeAt(n - 1) === 61 ? (s.charCodeAt(n - 2) === 61 ? 2 : 1) : 0;
      const out = new Uint8Array((n / 4) * 3 - pad);
      let j = 0;
      n -= pad ? 4 : 0;
      for (let i = 0; i < n; i += 4) {
        const v = (B64[s.charCodeAt(i)] << 18) | (B64[s.charCodeAt(i + 1)] << 12) | (B64[s.charCodeAt(i + 2)] << 6) | B64[s.charCodeAt(i + 3)];
        if (v > 0xFFFFFF || s.charCodeAt(i) > 127 || s.charCodeAt(i + 1) > 127 || s.charCodeAt(i + 2) > 127 || s.charCodeAt(i + 3) > 127) throw new Error('base64');
        out[j++] = v >> 16;
        out[j++] = (v >> 8) & 255;
        out[j++] = v & 255;
      }
      if (pad) {
        const tail = atob(s.slice(n));
        for (let i = 0; i < tail.length; i++) out[j++] = tail.charCodeAt(i);
      }
      return out;
    }

    const words = (q) => fold(q.replace(/[\u0000-\u001F]/g, ' ')).split(/\s+/).filter(Boolean);

    function encodingOf(bytes) {
      if (bytes[0] === 0xef && bytes[1] === 0xbb && bytes[2] === 0xbf) return 'utf-8';
      const head = String.fromCharCode.apply(null, bytes.subarray(0, 120));
      const m = /^<\?xml[^>]*encoding\s*=\s*["']([^"']+)["']/.exec(head);
      return m && /^utf-?8$/i.test(m[1]) ? 'utf-8' : 'shift_jis';
    }

    const NAME = /^[A-Z_a-z\u00C0-\u00D6\u00D8-\u00F6\u00F8-\u02FF\u0370-\u037D\u037F-\u1FFF\u200C\u200D\u2070-\u218F\u2C00-\u2FEF\u3001-\uD7FF\uF900-\uFDCF\uFDF0-\uFFFD][-.0-9\u00B7\u0300-\u036F\u203F\u2040A-Z_a-z\u00C0-\u00D6\u00D8-\u00F6\u00F8-\u02FF\u0370-\u037D\u037F-\u1FFF\u200C\u200D\u2070-\u218F\u2C00-\u2FEF\u3001-\uD7FF\uF900-\uFDCF\uFDF0-\uFFFD]*$/;
    const ENTITIES = { lt: '<', gt: '>', amp: '&', quot: '"', apos: "'" };
    const xmlChar = (cp) => cp === 9 || cp === 10 || cp === 13 || (cp >= 0x20 && cp <= 0xD7FF)
      || (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);

    // Entity and character references as an XML reader turns them; null for anything it would refuse.
    function unescape(s) {
      let out = '';
      let from = 0;
      for (let i = s.indexOf('&'); i >= 0; i = s.indexOf('&', from)) {
        const end = s.indexOf(';', i);
        if (end < 0) return null;
        const ref = s.slice(i + 1, end);
        let ch = Object.prototype.hasOwnProperty.call(ENTITIES, ref) ? ENTITIES[ref] : null;
        if (ch === null) {
          const m = /^#(?:([0-9]{1,7})|x([0-9a-fA-F]{1,6}))$/.exec(ref);
          const cp = m ? (m[1] ? parseInt(m[1], 10) : parseInt(m[2], 16)) : -1;
          if (!xmlChar(cp)) return null;
          ch = String.fromCodePoint(cp);
        }
        out += s.slice(from, i) + ch;
        from = end + 1;
      }
      return out + s.slice(from);
    }

    // Reads the document as the tool writes it, piece by piece as its bytes arrive: the declaration,
    // the root, record elements holding field elements with text. Anything else (comments, attributes,
    // nested or misspelt elements, a raw "&" or "<") makes it give up, and the page reads the document
    // through the browser's XML parser instead.
    function scanner(givenNames) {
      let names = givenNames.slice();
      let columns = null;
      let buf = '';
      let state = 0;  // 0 before the root, 1 inside it, 2 after it
      let rootClose = '';
      let decoder = null;
      let amp = -2;
      const closing = new Map();
      // The closing tag of a field element, or null for a name an XML reader would refuse.
      const closeOf = (n) => {
        let c = closing.get(n);
        if (c === undefined) closing.set(n, (c = NAME.test(n) && n.indexOf(':') < 0 ? '</' + n + '>' : null));
        return c;
      };
      const tags = [];
      const values = [];
      const ampAt = (from) => {
        if (amp !== -1 && amp < from) amp = buf.indexOf('&', from);
        return amp < 0 ? Infinity : amp;
      };

      let whole = null;
      let wholeValues = '';

      function setNames(tags) {
        if (!names.length) names = tags.slice();
        const seen = new Map();
        columns = names.map((name) => {
          const occurrence = seen.get(name) || 0;
          seen.set(name, occurrence + 1);
          return { name, occurrence };
        });
        // Records whose fields are exactly the named ones, in order, with plain text: one pattern turns
        // a run of them into their values, each ended by SEP, without looking at them one by one.
        if (names.length && names.every((n) => closeOf(n))) {
          const text = '[^<&\\]]*';
          const esc = (n) => n.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
          whole = new RegExp(text + RECORD_OPEN + names.map((n) => text + '<' + esc(n) + '>([^<&\\]\\r]*)</' + esc(n) + '>').join('')
            + text + RECORD_CLOSE, 'gy');
          wholeValues = names.map((n, i) => '$' + (i + 1)).join(SEP) + SEP;
        }
      }

      function place(tags, values, out) {
        if (!columns) setNames(tags);
        let same = tags.length === names.length;
        for (let i = 0; same && i < tags.length; i++) same = tags[i] === names[i];
        if (same) {
          for (const v of values) out.values.push(v);
          return;
        }
        for (const c of columns) {
          let k = -1;
          for (let i = 0, n = -1; i < tags.length; i++) if (tags[i] === c.name && ++n === c.occurrence) { k = i; break; }
          out.values.push(k >= 0 ? values[k] : '');
        }
      }

      // Takes every whole record in the text so far; false when the text is not of the simple form.
      function scan(last, out) {
        let pos = 0;
        if (state === 0) {
          const m = /^\uFEFF?\s*(?:<\?xml[^<>]*\?>)?\s*<([^\s<>\/!?]+)>/.exec(buf.slice(0, 4096));
          if (!m) return !last && buf.length < 4096;
          if (!closeOf(m[1]) || m[1] === 'mivoxml') return false;
          rootClose = '</' + m[1] + '>';
          state = 1;
          pos = m[0].length;
        }
        if (state === 1 && !columns && names.length) setNames(names);
        const lastClose = state === 1 && whole ? buf.lastIndexOf(RECORD_CLOSE) : -1;
        if (lastClose > pos) {
          const regionEnd = lastClose + RECORD_CLOSE.length;
          const values = buf.slice(pos, regionEnd).replace(whole, wholeValues);
          if (values.indexOf('<') < 0) {
            out.flush();
            out.parts.push(values);
            pos = regionEnd;
          }
        }
        for (;;) {
          const lt = buf.indexOf('<', pos);
          const end = lt < 0 ? buf.length : lt;
          if (ampAt(pos) < end) return false;
          if (state === 2) {
            if (/\S/.test(buf.slice(pos, end))) return false;
            if (lt >= 0) return false;
            pos = end;
            break;
          }
          if (lt < 0) { pos = end; break; }
          if (buf.startsWith(RECORD_OPEN, lt)) {
            const close = buf.indexOf(RECORD_CLOSE, lt);
            if (close < 0) { pos = lt; break; }
            tags.length = 0;
            values.length = 0;
            let p = lt + RECORD_OPEN.length;
            for (;;) {
              const a = buf.indexOf('<', p);
              if (ampAt(p) < a) return false;
              if (a === close) break;
              const gt = buf.indexOf('>', a);
              if (gt < 0 || gt > close) return false;
              const tag = buf.slice(a + 1, gt);
              const closeTag = closeOf(tag);
              if (closeTag === null) return false;
              const valueEnd = buf.indexOf('<', gt + 1);
              if (!buf.startsWith(closeTag, valueEnd)) return false;
              let value = buf.slice(gt + 1, valueEnd);
              if (ampAt(gt + 1) < valueEnd && (value = unescape(value)) === null) return false;
              if (value.indexOf('\r') >= 0 || value.indexOf(']]>') >= 0) return false;
              tags.push(tag);
              values.push(value);
              p = valueEnd + closeTag.length;
            }
            place(tags, values, out);
            pos = close + RECORD_CLOSE.length;
          } else if (buf.startsWith(rootClose, lt)) {
            state = 2;
            pos = lt + rootClose.length;
          } else if (!last && buf.length - lt < Math.max(RECORD_OPEN.length, rootClose.length)) {
            pos = lt;
            break;
          } else {
            return false;
          }
        }
        buf = buf.slice(pos);
        amp = -2;
        return !last || state === 2;
      }

      return {
        get names() { return names; },
        // A piece of the document's bytes: the values of the records it completes go to `out`, each
        // ended by SEP; false when the text is not of the simple form.
        push(bytes, last, out) {
          if (!decoder) decoder = encodingOf(bytes) === 'utf-8' ? new TextDecoder('utf-8') : shiftJisDecoder();
          const text = decoder.decode(bytes, { stream: !last });
          if (/[\u0000-\u0008\u000B\u000C\u000E-\u001F\uFFFE\uFFFF]/.test(text)) return false;
          buf += text;
          amp = -2;
          return scan(last, out);
        },
      };
    }

    // The records read so far, in batches: every value joined with a separator, with the offsets of
    // each; the folded text beside it for searching.
    function serve(post) {
      let names = [];
      let width = 0;
      let total = 0;
      let batches = [];
      let reader = null;
      let failed = false;
      let query = { id: 0, words: [], column: -1 };
      let order = null;
      const ranks = new Map();
      const collator = new Intl.Collator('ja', { numeric: true });

      // `raw`: the values of whole records, each ended by SEP.
      function addBatch(raw) {
        const ends = [0];
        for (let p = raw.indexOf(SEP); p >= 0; p = raw.indexOf(SEP, p + 1)) ends.push(p + 1);
        const n = ends.length - 1;
        const count = width ? n / width : 0;
        const off = Uint32Array.from(ends);
        const foff = new Uint32Array(n + 1);
        const folded = foldMany(raw, foff);
        // The page keeps the values as they stand; here only their folded form stays.
        const batch = { start: total, count, folded, foff };
        batches.push(batch);
        total += count;
        return { batch, raw, off };
      }

      // Records of a batch holding every word (in the one column, or in any).
      function hitsIn(b, ws, column) {
        let keep = null;
        for (const w of ws) {
          const hit = new Uint8Array(b.count);
          const { folded, foff } = b;
          let k = 0;
          for (let p = folded.indexOf(w); p >= 0;) {
            while (foff[k + 1] <= p) k++;
            const r = (k / width) | 0;
            const c = k - r * width;
            let next;
            if (column < 0 || c === column) {
              hit[r] = 1;
              next = column < 0 ? foff[(r + 1) * width] : foff[k + 1];
            } else {
              next = c < column ? foff[r * width + column] : foff[Math.min((r + 1) * width + column, foff.length - 1)];
            }
            if (next === undefined || next >= folded.length) break;
            p = folded.indexOf(w, next);
          }
          if (keep) for (let r = 0; r < b.count; r++) keep[r] &= hit[r]; else keep = hit;
        }
        return keep;
      }

      function matchesIn(list, ws, column) {
        const out = [];
        for (const b of list) {
          const hit = hitsIn(b, ws, column);
          for (let r = 0; r < b.count; r++) if (hit[r]) out.push(b.start + r);
        }
        return Int32Array.from(out);
      }

      function result() {
        if (!query.words.length) return null;
        if (!order) return matchesIn(batches, query.words, query.column);
        const mark = new Uint8Array(total);
        for (const i of matchesIn(batches, query.words, query.column)) mark[i] = 1;
        const out = new Int32Array(total);
        let n = 0;
        for (let k = 0; k < order.length; k++) if (mark[order[k]]) out[n++] = order[k];
        return out.slice(0, n);
      }

      function valueAt(b, k) {
        return b.folded.slice(b.foff[k], b.foff[k + 1] - 1);
      }

      // Each record's place among the column's distinct (folded) values in Japanese order, numbers by
      // value.
      function rankOf(column) {
        if (ranks.has(column)) return ranks.get(column);
        const ids = new Int32Array(total);
        const seen = new Map();
        const distinct = [];
        for (const b of batches) {
          for (let r = 0; r < b.count; r++) {
            const v = valueAt(b, r * width + column);
            let id = seen.get(v);
            if (id === undefined) { id = distinct.length; seen.set(v, id); distinct.push(v); }
            ids[b.start + r] = id;
          }
        }
        const sorted = distinct.map((v, i) => i).sort((a, b) => collator.compare(distinct[a], distinct[b]));
        const rank = new Int32Array(distinct.length);
        let level = 0;
        sorted.forEach((id, k) => {
          if (k > 0 && collator.compare(distinct[sorted[k - 1]], distinct[id]) !== 0) level++;
          rank[id] = level;
        });
        for (let i = 0; i < total; i++) ids[i] = rank[ids[i]];
        const entry = { rank: ids, levels: level + 1 };
        ranks.set(column, entry);
        return entry;
      }

      // A stable counting sort on the ranks: equal values keep the document's order either way.
      function sortBy(column, direction) {
        if (column < 0 || column >= width) return null;
        const { rank, levels } = rankOf(column);
        const starts = new Int32Array(levels + 1);
        for (let i = 0; i < total; i++) starts[(direction > 0 ? rank[i] : levels - 1 - rank[i]) + 1]++;
        for (let l = 0; l < levels; l++) starts[l + 1] += starts[l];
        const out = new Int32Array(total);
        for (let i = 0; i < total; i++) out[starts[direction > 0 ? rank[i] : levels - 1 - rank[i]]++] = i;
        return out;
      }

      function sendBatch({ batch: b, raw, off }, extra) {
        const hits = query.words.length ? matchesIn([b], query.words, query.column) : null;
        post(Object.assign({ t: 'rows', start: b.start, count: b.count, names, raw, off, hits, query: query.id }, extra), [off.buffer]);
      }

      return function handle(m) {
        if (m.t === 'start') {
          names = m.names;
          width = names.length;
          total = 0;
          batches = [];
          order = null;
          ranks.clear();
          // Rows parsed by the page itself come as batches; no document text is read any more.
          failed = !!m.rowsOnly;
          reader = scanner(names);
        } else if (m.t === 'data') {
          if (failed) return;
          const out = {
            parts: [],
            values: [],
            flush() { if (this.values.length) this.parts.push(this.values.join(SEP) + SEP); this.values = []; },
          };
          let ok;
          try {
            ok = reader.push(m.piece, m.last, out);
            out.flush();
          } catch (e) {
            ok = false;
          }
          if (!ok || (reader.names.length === 0 && out.parts.length)) {
            failed = true;
            post({ t: 'fallback' });
            return;
          }
          if (!width && reader.names.length) { names = reader.names; width = names.length; }
          sendBatch(addBatch(out.parts.join('')), { last: m.last });
        } else if (m.t === 'batch') {
          if (!width) { names = m.names; width = names.length; }
          const values = [].concat(...m.rows).map((v) => v.replace(/\u0000/g, ''));
          sendBatch(addBatch(values.length ? values.join(SEP) + SEP : ''), { last: m.last });
        } else if (m.t === 'query') {
          query = { id: m.id, words: words(m.text), column: m.column };
          if (m.sort) order = sortBy(m.sort.column, m.sort.direction);
          else if (m.sort === null) order = null;
          const matches = result();
          post({ t: 'result', id: m.id, total, order, matches }, matches ? [matches.buffer] : []);
        }
      };
    }

    return { fold, words, fromBase64, serve, listen(scope) { const handle = serve((m, transfer) => scope.postMessage(m, transfer)); scope.onmessage = (e) => handle(e.data); } };
  }

