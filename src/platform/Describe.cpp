#include "platform/Files.h"
#include "text/ShiftJis.h"

namespace orv {

Text describe(const FileError& e) {
  auto reason = [&] { return e.reason.empty() ? Text() : u"（" + fromUtf8(e.reason) + u"）"; };
  switch (e.kind) {
    case FileError::Kind::None:
      return {};
    case FileError::Kind::NotFound:
      return u"ファイルが見つかりません：" + e.path;
    case FileError::Kind::Unreadable:
      return u"ファイルを読み込めません：" + e.path + reason();
    case FileError::Kind::NotShiftJis:
      if (e.binary)
        return u"テキストファイルではありません（0x00 のバイトを含むバイナリファイルです）：" + e.path +
               u"\r何も変更していません。";
      if (e.control)
        return u"XMLに入れられない制御文字を含むファイルです：" + e.path + u"\r" + decimal(e.line) +
               u"行目に制御文字 " + hexBytes(e.bytes) +
               u" があります。取り除いてから読み込んでください。何も変更していません。";
      if (e.utf8)
        return u"UTF-8のテキストファイルです：" + e.path +
               u"\rShift_JISで保存し直してから読み込んでください。何も変更していません。";
      return u"Shift_JISのテキストとして読めないファイルです：" + e.path + u"\r" + decimal(e.line) +
             u"行目のバイト " + hexBytes(e.bytes) + u" を読み込めません。何も変更していません。";
    case FileError::Kind::Unencodable:
      return u"Shift_JISで保存できない文字があります：" + describeChar(e.character) + u"\r保存先：" +
             e.path + u"\r何も保存していません。";
    case FileError::Kind::Unwritable:
      return u"ファイルを書き込めません：" + e.path + reason() +
             (e.replacing ? u"\r元のファイルはそのままです。" : u"");
    case FileError::Kind::NotRegular:
      return u"通常のファイルではないため読み込めません（フォルダ、名前付きパイプ、デバイスなど）：" +
             e.path + u"\r何も変更していません。";
    case FileError::Kind::TooLarge:
      // Without a size, memory ran out while the file was being read.
      return u"ファイルが大きすぎて読み込めません：" + e.path + u"\r" +
             (e.size > 0 ? u"ファイルの大きさは " + decimal(e.size) + u" バイトで、" : Text()) +
             u"使えるメモリが足りません。何も変更していません。";
    case FileError::Kind::ReadOnly:
      return u"読み取り専用のファイルのため保存できません：" + e.path + u"\r元のファイルはそのままです。";
  }
  return {};
}

}  // namespace orv
