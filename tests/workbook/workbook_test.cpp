// A workbook's first sheet read as the tool's quoted text, and every workbook it refuses.
#include "workbook/Workbook.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "common/Workbooks.h"
#include "workbook/Cells.h"

namespace orv {
namespace {

using test::workbookOf;
using test::WorkbookParts;
using Problem = WorkbookText::Problem;

constexpr std::uint64_t kLimit = std::uint64_t{64} << 20;

std::string utf8(const WorkbookText& w) { return toUtf8(w.text); }

// Styles: 0 general, 1 a built-in date, 2 a built-in time, 3 a custom Japanese date, 4 a custom
// date-time, 5 elapsed hours.
const char* const kStyles =
    R"(<numFmts count="3"><numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/>)"
    R"(<numFmt numFmtId="165" formatCode="yyyy/mm/dd\ hh:mm"/><numFmt numFmtId="166" formatCode="[h]:mm:ss"/></numFmts>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>)"
    R"(<cellXfs count="6"><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="20"/><xf numFmtId="164"/>)"
    R"(<xf numFmtId="165"/><xf numFmtId="166"/></cellXfs>)";

TEST(Workbook, ValuesReadAsTheSheetShowsThem) {
  WorkbookParts book;
  book.styles = kStyles;
  book.sharedStrings = {"<t>氏名</t>", "<t>金額</t>",
                        "<r><t>山田</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\"> 太郎</t></r>"
                        "<rPh sb=\"0\" eb=\"2\"><t>ヤマダ</t></rPh>",
                        "<t>改行_x000D_\nあり</t>"};
  book.sheets = {
      {"名簿",
       // r attributes on some rows and cells only; a column skipped; an empty row; a short row.
       R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="inlineStr"><is><t>日付</t></is></c>)"
       R"(<c t="inlineStr"><is><t>時刻</t></is></c><c t="inlineStr"><is><t>備考</t></is></c></row>)"
       R"(<row r="2"><c r="A2" t="s"><v>2</v></c><c r="B2"><v>12</v></c><c r="C2" s="1"><v>45306</v></c>)"
       R"(<c r="D2" s="2"><v>0.5</v></c><c r="E2" t="inlineStr"><is><t>"引用", 値</t></is></c></row>)"
       R"(<row><c t="str"><f>"合"&amp;"計"</f><v>合計</v></c><c><f>0.1+0.2</f><v>0.30000000000000004</v></c>)"
       R"(<c s="3"><v>45306</v></c><c t="b"><v>1</v></c><c t="e"><f>NA()</f><v>#N/A</v></c></row>)"
       R"(<row r="4"><c r="A4" s="4"><v>45306.75</v></c><c r="C4" s="5"><v>1.0625</v></c></row>)"
       R"(<row r="5"><c r="A5" s="1"/></row>)"
       R"(<row r="7"><c r="B7" t="s"><v>3</v></c><c r="C7" t="b"><v>0</v></c><c r="D7"><v>-3.5</v></c>)"
       R"(<c r="E7"><v>1E+22</v></c><c r="F7" t="d"><v>2024-01-05T13:45:00Z</v></c></row>)"
       // A merged range keeps its value in its first cell; a covered cell's text is dropped.
       R"(<row r="8"><c r="A8" t="inlineStr"><is><t>結合</t></is></c><c r="B8" t="inlineStr"><is><t>隠れ</t></is></c></row>)"
       R"(</sheetData><mergeCells count="1"><mergeCell ref="A8:B8"/></mergeCells>)"},
      {"Sheet2", "<row><c><v>1</v></c></row></sheetData>"}};
  book.sheets.insert(book.sheets.begin(), {"隠し", "<row><c><v>1</v></c></row></sheetData>"});
  book.hidden = {0};  // the first visible sheet is read
  const WorkbookText w = readWorkbook(book.bytes(), kLimit);
  ASSERT_TRUE(w.ok()) << w.reason;
  EXPECT_EQ(utf8(w),
            "\"氏名\",\"金額\",\"日付\",\"時刻\",\"備考\"\r\n"
            "\"山田 太郎\",\"12\",\"2024/01/15\",\"12:00:00\",\"\"\"引用\"\", 値\"\r\n"
            "\"合計\",\"0.3\",\"2024/01/15\",\"TRUE\",\"#N/A\"\r\n"
            "\"2024/01/15 18:00:00\",\"\",\"25:30:00\",\"\",\"\"\r\n"
            "\"\",\"改行\nあり\",\"FALSE\",\"-3.5\",\"1E+22\",\"2024/01/05 13:45:00\"\r\n"
            "\"結合\",\"\",\"\",\"\",\"\"\r\n");
  EXPECT_EQ(toUtf8(w.sheetName), "名簿");
  EXPECT_EQ(w.sheetCount, 3);
  const WorkbookText preview = readWorkbook(book.bytes(), kLimit, 1);
  ASSERT_TRUE(preview.ok());
  EXPECT_EQ(utf8(preview), "\"氏名\",\"金額\",\"日付\",\"時刻\",\"備考\"\r\n");
  WorkbookParts from1904("S", R"(<row><c s="1"><v>0</v></c></row></sheetData>)");
  from1904.styles = kStyles;
  from1904.from1904 = true;
  EXPECT_EQ(utf8(readWorkbook(from1904.bytes(), kLimit)), "\"1904/01/01\"\r\n");
}

// Workbooks saved by two spreadsheet programs from the same rows (dates, a time, a boolean, a formula,
// a merged range): one writes no cached value for the formula it could not compute.
TEST(Workbook, WorkbooksWrittenByOtherProgramsReadTheSame) {
  for (const auto& [file, formula] : {std::pair{"openpyxl.xlsx", ""}, {"libreoffice.xlsx", "0.3"}}) {
    std::ifstream in(std::string(ORV_WORKBOOKS) + "/" + file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const WorkbookText w = readWorkbook(bytes, kLimit);
    ASSERT_TRUE(w.ok()) << file << ": " << w.part << " " << w.reason;
    EXPECT_EQ(utf8(w),
              "\"氏名\",\"金額\",\"日付\",\"時刻\",\"備考\"\r\n"
              "\"山田 太郎\",\"12\",\"2024/01/15\",\"12:00:00\",\"\"\"引用\"\", 値\"\r\n"
              "\"合計\",\"" +
                  std::string(formula) +
                  "\",\"2024/01/15 18:00:00\",\"TRUE\",\"\"\r\n"
                  "\"結合\",\"\",\"\",\"\",\"\"\r\n")
        << file;
    EXPECT_EQ(w.sheetCount, 2) << file;
  }
}

std::string compoundFile(const std::u16string& stream) {
  std::string bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  bytes.resize(512, '\0');
  for (char16_t c : stream) bytes += static_cast<char>(c), bytes += '\0';
  return bytes;
}

TEST(Workbook, RefusesWhatItCannotOrMustNotRead) {
  const std::string laughs =
      R"(<?xml version="1.0"?><!DOCTYPE sst [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;">]>)"
      R"(<sst><si><t>&b;</t></si></sst>)";
  const std::string external =
      R"(<?xml version="1.0"?><!DOCTYPE worksheet SYSTEM "file:///etc/passwd"><worksheet><sheetData/></worksheet>)";
  WorkbookParts withLaughs("Sheet1", "</sheetData>");
  withLaughs.extra["xl/sharedStrings.xml"] = laughs;
  WorkbookParts withExternal("Sheet1", "</sheetData>");
  withExternal.extra["xl/worksheets/sheet1.xml"] = external;
  WorkbookParts bomb("Sheet1", "<row><c t=\"inlineStr\"><is><t>" + std::string(3 << 20, 'a') +
                                   "</t></is></c></row></sheetData>");
  const struct {
    const char* name;
    std::string bytes;
    Problem problem;
    std::string cell;
  } cases[] = {
      {"a text file", "\"a\",\"b\"\r\n", Problem::NotWorkbook, ""},
      {"a zip of something else", test::zipOf({{"word/document.xml", "<w/>"}}), Problem::NotWorkbook, ""},
      {"password protected", compoundFile(u"EncryptedPackage"), Problem::Protected, ""},
      {"the old binary format", compoundFile(u"Workbook"), Problem::OldFormat, ""},
      {"entities declared", withLaughs.bytes(), Problem::Doctype, ""},
      {"an external document type", withExternal.bytes(), Problem::Doctype, ""},
      {"a part inflating past the limit", bomb.bytes(), Problem::TooLarge, ""},
      {"a row past the grid", workbookOf(R"(<row r="1048577"><c><v>1</v></c></row>)"), Problem::BeyondGrid,
       "A1048577"},
      {"a column past the grid", workbookOf(R"(<row r="3"><c r="XFE3"><v>1</v></c></row>)"),
       Problem::BeyondGrid, "XFE3"},
      {"a control character",
       workbookOf(R"(<row r="2"><c/><c t="inlineStr"><is><t>a_x0001_</t></is></c></row>)"),
       Problem::ControlCharacter, "B2"},
      {"a shared string that is not there", workbookOf(R"(<row><c t="s"><v>7</v></c></row>)"),
       Problem::Broken, "A1"},
      {"a sheet that is not well-formed", workbookOf("<row><c><v>1</v></row>"), Problem::Broken, ""},
  };
  for (const auto& c : cases) {
    const WorkbookText w = readWorkbook(c.bytes, std::uint64_t{1} << 20);
    EXPECT_EQ(w.problem, c.problem) << c.name << ": " << w.part << " " << w.reason;
    EXPECT_EQ(w.cell, c.cell) << c.name;
    EXPECT_TRUE(w.text.empty()) << c.name;
  }
}

TEST(WorkbookCells, NumbersAndDatesAsASpreadsheetShowsThem) {
  using workbook::NumberKind;
  const struct {
    double value;
    NumberKind kind;
    bool from1904;
    const char16_t* shown;
  } cases[] = {
      {12, NumberKind::Plain, false, u"12"},
      {0.1, NumberKind::Plain, false, u"0.1"},
      {123456.789, NumberKind::Plain, false, u"123456.789"},
      {1e-7, NumberKind::Plain, false, u"1E-07"},
      {1, NumberKind::Date, false, u"1900/01/01"},
      {59, NumberKind::Date, false, u"1900/02/28"},
      {60, NumberKind::Date, false, u"1900/02/29"},  // the day the 1900 system counts that never was
      {61, NumberKind::Date, false, u"1900/03/01"},
      {0, NumberKind::Date, false, u"1900/01/00"},
      {2958465, NumberKind::Date, false, u"9999/12/31"},
      {45306.99999999, NumberKind::DateTime, false, u"2024/01/16 00:00:00"},
      {0, NumberKind::Date, true, u"1904/01/01"},
      {0.25, NumberKind::Time, false, u"06:00:00"},
  };
  for (const auto& c : cases) {
    const Text shown = c.kind == NumberKind::Plain ? workbook::generalNumber(c.value)
                                                   : workbook::serialDate(c.value, c.kind, c.from1904);
    EXPECT_EQ(toUtf8(shown), toUtf8(c.shown)) << c.value;
  }
  EXPECT_TRUE(workbook::serialDate(-1, NumberKind::Date, false).empty());
  EXPECT_TRUE(workbook::serialDate(2958466, NumberKind::Date, false).empty());
}

TEST(WorkbookCells, TheKindOfACustomFormat) {
  using workbook::NumberKind;
  const struct {
    const char* code;
    NumberKind kind;
  } cases[] = {
      {"yyyy\"年\"m\"月\"d\"日\"", NumberKind::Date},
      {"m/d", NumberKind::Date},
      {"h:mm", NumberKind::Time},
      {"mm:ss", NumberKind::Time},
      {"[h]:mm:ss", NumberKind::Duration},
      {"yyyy-mm-dd hh:mm", NumberKind::DateTime},
      {"[$-411]ggge\"年\"m\"月\"d\"日\"", NumberKind::Date},
      {"#,##0\"円\"", NumberKind::Plain},
      {"[Red]0.00;\\-0.00", NumberKind::Plain},
      {"\"day\" 0", NumberKind::Plain},
      {"General", NumberKind::Plain},
      {"0_);[Red](0)", NumberKind::Plain},
  };
  for (const auto& c : cases) EXPECT_EQ(workbook::customFormatKind(c.code), c.kind) << c.code;
}

}  // namespace
}  // namespace orv
