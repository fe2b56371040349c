// The variant kanji a search treats as one: the old or ornamental forms that names and addresses are
// written in, each with the common form it is searched as. A query and a value meet on the common form,
// so 髙橋 finds 高橋 and 高橋 finds 髙橋. Compatibility ideographs (塚 U+FA10, 﨔 and the like) need no line
// here: NFKC already turns them into their unified form.
const VARIANT_GROUPS = [
  '高髙', // たか
  '崎﨑嵜碕', // さき
  '辺邊邉', // べ
  '斎齋齊斉', // さい (斎藤 齋藤 齊藤 斉藤)
  '沢澤', // さわ
  '浜濱濵', // はま
  '広廣', // ひろ
  '国國', // くに
  '桜櫻', // さくら
  '島嶋嶌', // しま
  '徳德', // とく
  '真眞', // ま
  '富冨', // とみ
  '渕淵', // ふち
  '瀬瀨', // せ
  '曽曾', // そ
  '恵惠', // え
  '栄榮', // さかえ
  '実實', // み
  '桑桒', // くわ
  '峰峯', // みね
  '条條', // じょう
  '来來', // らい
  '黒黑', // くろ
  '円圓', // えん
  '万萬', // まん
  '寿壽', // ことぶき
  '亀龜', // かめ
  '弥彌', // や
  '静靜', // しず
  '蔵藏', // くら
  '館舘', // やかた
  '槙槇', // まき
  '遥遙', // はるか
  '鴎鷗', // かもめ
];

/** Each variant's code unit, read as the common form's (the first of its group); the rest read as they are. */
export const VARIANT = new Map(
  VARIANT_GROUPS.flatMap((g) => [...g].slice(1).map((v) => [v.charCodeAt(0), g.charCodeAt(0)])),
);
