#!/usr/bin/env bash
# One generated address book of LINES lines (Shift_JIS, five quoted fields, CR LF), timed in one run
# through: the iconv round trip to UTF-16 and back, one after the other (the floor), `orvessa convert`, and pandas read_csv
# + to_xml when Debian's python3-pandas (and python3-lxml) is installed. Wall time and peak memory
# come from GNU time (package `time`).
# Usage: bench/peers.sh [PROGRAM] [LINES]
set -euo pipefail
program=$(realpath "${1:-$(dirname "$0")/../build/orvessa}")
lines=${2:-1000000}
dir=$(mktemp -d /tmp/orv-peers.XXXXXX)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

# The same shape as the model benchmark's address book; commas, "&" and "<" inside some values.
awk -v n="$lines" 'BEGIN {
  srand(42)
  split("山田 佐藤 鈴木 高橋 田中 渡辺 伊藤 中村", sur, " ")
  split("太郎 花子 一郎 美咲 健 由美子 翔太", given, " ")
  split("ﾔﾏﾀﾞ ﾀﾛｳ|ｻﾄｳ ﾊﾅｺ|ｽｽﾞｷ ｲﾁﾛｳ|ﾀｶﾊｼ ﾐｻｷ|ﾀﾅｶ ｹﾝ", kana, "|")
  split("東京都港区芝公園 大阪府大阪市北区梅田 愛知県名古屋市中区栄 福岡県福岡市博多区博多駅前 北海道札幌市中央区北一条西", town, " ")
  split("|ｻﾝﾗｲｽﾞ|ｸﾞﾘｰﾝﾊｲﾂ|ﾒｿﾞﾝ", bld, "|")
  split("|A&B商事|<重要>|1,000円|備考なし|要連絡", note, "|")
  for (i = 0; i < n; i++)
    printf "\"K%d\",\"%s　%s\",\"%s\",\"%s%d丁目%d-%d%s%d\",\"0%d-%d-%d%s\"\r\n",
      1000000 + int(rand() * 9000000), sur[1 + int(rand() * 8)], given[1 + int(rand() * 7)],
      kana[1 + int(rand() * 5)], town[1 + int(rand() * 5)], 1 + int(rand() * 9), 1 + int(rand() * 30),
      1 + int(rand() * 20), bld[1 + int(rand() * 4)], 101 + int(rand() * 809), 3 + int(rand() * 97),
      1000 + int(rand() * 9000), 1000 + int(rand() * 9000), note[1 + int(rand() * 6)]
}' | iconv -f UTF-8 -t CP932 > book.txt
printf '%d lines, %.1f MB\n\n' "$lines" "$(echo "$(stat -c %s book.txt) / 1000000" | bc -l)"

# Runs a command under GNU time; prints its row and leaves "seconds KB" in $dir/NAME.
measure() {
  local name=$1
  shift
  if ! /usr/bin/time -v -o time.out "$@" >/dev/null 2>err.out; then
    echo "$name failed:" >&2
    cat err.out >&2
    exit 1
  fi
  awk -v name="$name" '
    /Elapsed \(wall clock\)/ { n = split($NF, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i] }
    /Maximum resident set size/ { kb = $NF }
    END { printf "%-16s %9.2f s %9.0f MB\n", name, s, kb / 1024; print s, kb > name }' time.out
}

printf '%-16s %11s %12s\n' run "wall time" "peak memory"
measure floor sh -c 'iconv -f CP932 -t UTF-16LE book.txt > u16 && iconv -f UTF-16LE -t CP932 u16 > floor.out'
measure orvessa env -u DISPLAY -u QT_QPA_PLATFORM "$program" convert book.txt --parent 住所録 \
  --fields 番号,名前,読み,住所,電話 --output orvessa.xml --yes
if /usr/bin/python3 -c 'import pandas, lxml' 2>/dev/null; then
  measure pandas /usr/bin/python3 -c '
import pandas as pd
df = pd.read_csv("book.txt", encoding="cp932", header=None, names=["番号", "名前", "読み", "住所", "電話"],
                 dtype=str, keep_default_na=False)
df.to_xml("pandas.xml", index=False, root_name="住所録", row_name="mivoxml", encoding="cp932")'
else
  echo "pandas           not installed (apt-get install python3-pandas python3-lxml)"
fi

echo
read -r floor_s floor_kb < floor
read -r cli_s cli_kb < orvessa
awk -v c="$cli_s" -v f="$floor_s" 'BEGIN { printf "orvessa / floor: %.2f x time (goal <= 1.5)\n", c / f }'
if [ -f pandas ]; then
  read -r pd_s pd_kb < pandas
  awk -v c="$cli_s" -v p="$pd_s" -v ck="$cli_kb" -v pk="$pd_kb" 'BEGIN {
    printf "pandas / orvessa: %.1f x time (goal >= 10), orvessa memory %.2f of pandas (goal <= 0.25)\n",
      p / c, ck / pk }'
fi
