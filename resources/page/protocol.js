// The messages between the page and the worker, by their type (the field `t`).
//
// page to worker:
//   start  { names, rowsOnly }   a new document; rowsOnly: its rows come as batches, no bytes
//   data   { piece, last }       the document's next bytes (transferred)
//   batch  { rows, names, last } rows the page's XML parser read
//   query  { id, text, column, sort, filters, picks }  words to search for (column -1: any); sort:
//          the keys [{ column, direction }], the first deciding first, null for the document's order,
//          absent to keep the order; filters [{ column, text }]: words each column must hold too;
//          picks [{ column, values }]: values (as shown) one of which the column must hold whole
// worker to page:
//   rows   { start, count, names, raw, off, hits, query, last }  records read: their values as
//          they stand, joined with SEP, where each ends (off), the records among them that match
//          query `query` (hits, null when there are no words)
//   result { id, total, order, matches, counts }  the answer to query `id`: the sort order (null for
//          the document's), the matching records in it (null for no words), for each column with a
//          list (null for the others) how many records of each of its values the query takes without
//          the column's own picks (counts null while there are no lists)
//   values { lists, counts, query }  once every record is read: for each column of few values (null
//          for the others) the first record holding each of them in Japanese order, and their counts
//          for query `query`
//   fallback {}  the document is not of the simple form: the page reads it with its XML parser
export const MSG = Object.freeze({
  start: 'start',
  data: 'data',
  batch: 'batch',
  query: 'query',
  rows: 'rows',
  result: 'result',
  values: 'values',
  fallback: 'fallback',
});

/** One function taking every message: each type to its handler; a type with none is ignored. */
export const dispatcher = (handlers) => (m) => {
  if (Object.prototype.hasOwnProperty.call(handlers, m.t)) handlers[m.t](m);
};
