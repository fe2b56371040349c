// What the readers of the document share: the XML name rule, references, and which element fills
// which column.

// The record element the tool writes around each record's fields.
export const RECORD = 'mivoxml';

/* eslint-disable no-misleading-character-class -- the name rule lists ranges of code points,
   combining marks and joiners among them, never characters joined. */
const NAME_START =
  'A-Z_a-z\\u00C0-\\u00D6\\u00D8-\\u00F6\\u00F8-\\u02FF\\u0370-\\u037D\\u037F-\\u1FFF\\u200C\\u200D' +
  '\\u2070-\\u218F\\u2C00-\\u2FEF\\u3001-\\uD7FF\\uF900-\\uFDCF\\uFDF0-\\uFFFD';
const NAME = new RegExp(
  '^[' + NAME_START + '][-.0-9\\u00B7\\u0300-\\u036F\\u203F\\u2040' + NAME_START + ']*$',
);
/* eslint-enable no-misleading-character-class */
const ENTITIES = { lt: '<', gt: '>', amp: '&', quot: '"', apos: "'" };
const xmlChar = (cp) =>
  cp === 9 ||
  cp === 10 ||
  cp === 13 ||
  (cp >= 0x20 && cp <= 0xd7ff) ||
  (cp >= 0xe000 && cp <= 0xfffd) ||
  (cp >= 0x10000 && cp <= 0x10ffff);

/** An element name an XML reader takes (without a namespace prefix). */
export const isXmlName = (n) => NAME.test(n) && n.indexOf(':') < 0;

function character(ref) {
  if (Object.prototype.hasOwnProperty.call(ENTITIES, ref)) return ENTITIES[ref];
  const m = /^#(?:([0-9]{1,7})|x([0-9a-fA-F]{1,6}))$/.exec(ref);
  const cp = m ? (m[1] ? parseInt(m[1], 10) : parseInt(m[2], 16)) : -1;
  return xmlChar(cp) ? String.fromCodePoint(cp) : null;
}

/**
 * Entity and character references as an XML reader turns them. Strictly, null for anything it would
 * refuse; `tolerant`, such a reference stays as it stands.
 */
export function unescapeXml(s, tolerant = false) {
  let out = '';
  let from = 0;
  for (let i = s.indexOf('&'); i >= 0; i = s.indexOf('&', from)) {
    const end = s.indexOf(';', i);
    const ch = end < 0 ? null : character(s.slice(i + 1, end));
    if (ch === null && !tolerant) return null;
    if (ch === null) {
      out += s.slice(from, i + 1);
      from = i + 1;
      continue;
    }
    out += s.slice(from, i) + ch;
    from = end + 1;
  }
  return out + s.slice(from);
}

/** The columns the names give: the n-th column of a name takes the n-th element of that name. */
export function columnsOf(names) {
  const seen = new Map();
  return names.map((name) => {
    const occurrence = seen.get(name) || 0;
    seen.set(name, occurrence + 1);
    return { name, occurrence };
  });
}

/** Where the column's element stands among a record's `tags`, or -1. */
export function placeOf(column, tags) {
  for (let i = 0, n = -1; i < tags.length; i++)
    if (tags[i] === column.name && ++n === column.occurrence) return i;
  return -1;
}
