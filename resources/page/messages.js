// Every text the page shows, and the settings it keeps to.

export const DEFAULT_PAGE_SIZE = 20;
export const PAGE_SIZES = [20, 50, 100, 500];
// The tool sets half the input's line count as the page size: for a large file that would draw tens
// of thousands of rows at once.
export const MAX_PAGE_SIZE = 500;
// Printing puts every matching row on paper, up to this many.
export const MAX_PRINTED = 10000;

const number = (n) => n.toLocaleString('ja-JP');
export const say = {
  all: '全項目',
  loading: (n) => '読み込み中… ' + number(n) + '件',
  count: (n, all) => number(n) + '件 / 全' + number(all) + '件',
  range: (a, b) => '（' + number(a) + '–' + number(b) + '件目）',
  reading: '（読み込み中…）',
  none: (all) => '該当するデータはありません（0件 / 全' + number(all) + '件）',
  page: (n) => '/ ' + number(n) + ' ページ',
  notSaved: '（まだ保存されていません）',
  expected: (name) => '（' + name + '）',
  unreadable: (name) => name + ' からデータを読み取れませんでした。保存したXMLファイルを選んでください。',
  notFile: 'ファイルを1つ選んでください。',
  noRecords: 'レコードがありません（0件）',
  tolerant: 'XMLとして正しくない部分がありましたが、読み取れた範囲で表示しています。',
  copied: (n) => number(n) + '件をコピーしました。',
  saved: (n) => number(n) + '件をCSVファイルに書き出しました。',
  sortAscending: '\u25B2',
  sortDescending: '\u25BC',
  sortNone: '\u21C5',
  sorting: '並べ替え中…',
  filterPlaceholder: '絞り込み',
  filterLabel: (name) => name + 'で絞り込み',
  valuesLabel: (name, n) => name + 'の値から選ぶ' + (n ? '（' + number(n) + '件を選択中）' : ''),
  valuesMark: (n) => (n ? '\u25BE' + number(n) : '\u25BE'),
  valuesClear: '選択を解除',
  valueCount: (value, n) => (value || '（空欄）') + (n === null ? '' : ' (' + number(n) + ')'),
  sortHint: 'クリックでこの列で並べ替え、Shiftキーを押しながらで並べ替えの列に加えます',
};
