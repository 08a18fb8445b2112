#pragma once
// How a grid row looks as text, shared by the grid's reader and writer and the text file's
// section counting. One record is one line, unless a quoted cell runs across line breaks.
//
// Cells are split at the separator. The key cells come first, each ended by the key separator;
// one blank or one separator right after it is skipped, so that a row written with any separator
// reads back. A cell that starts with '"' runs to the next '"' that is not doubled ("" stands for
// one quote) and the character after its closing quote is skipped; a key cell is quoted only when
// its closing quote stands right before the key separator. With the blank separator a value cell
// that starts with '[' runs to the next ']' likewise. Cells are not trimmed.
#include "CStdioFile.h"
#include "CString.h"

#include <vector>

struct SGridTextFormat {
  int keyColumns = 0;
  wchar_t separator = L' ';
  wchar_t keySeparator = L':';
};

// Reads the records of a file one after another from its current position. A record is a line,
// and the lines that a quoted cell opened on it runs into, joined with the line ends they had in
// the file. Below its first line a quoted cell is closed only by a quote before the separator or a
// line end; a quote anywhere else, or no closing quote up to the end of the file, means that the
// file never quoted that cell (files once wrote every cell as it was), and the first line alone is
// the record, as such files were always read.
class CGridRecordReader {
public:
  CGridRecordReader(CStdioFile& file, const SGridTextFormat& format) : m_file(file), m_format(format) {}

  // The next record; firstLine (when given) is its first line alone. False when no line is left.
  bool Read(CString& record, CString* firstLine = nullptr);

private:
  CStdioFile& m_file;
  SGridTextFormat m_format;
  // Set once an open quote ran to the end of the file: no quote after that line can close a cell
  // that is still open at the end of its line (what would close it would have closed that one),
  // so the rest of the file is not scanned again for every such line.
  bool m_quotesNeverClose = false;
};

struct SGridRecordCells {
  std::vector<CString> cells;
  // The record ends with a separator outside any quoted or bracketed cell ("a,b,").
  bool endsWithSeparator = false;
};
// The cells of a whole record; value cells stop after valueColumns (negative: no limit), text
// beyond is dropped.
SGridRecordCells SplitGridRecord(const CString& record, const SGridTextFormat& format, int valueColumns);

// A line that ends a section instead of holding a row: empty, equal to the marker ignoring case,
// or, with the separator ',', nothing but commas.
bool IsSectionEnd(const CString& line, const CString& marker, wchar_t separator);

// The records from the file's current position up to the line that ends the section; the file is
// put back where it was. With widest given, also the cell count of the widest record, where a
// trailing separator ("a,b,") counts as a cell only when trailingSeparatorOpensCell is set.
int CountSectionRecords(CStdioFile& file, const SGridTextFormat& format, const CString& marker,
                        size_t* widest, bool trailingSeparatorOpensCell);

// A value cell as a row writes it: quoted, with its quotes doubled, when it holds the separator, a
// quote or a line break, or starts with a byte-order mark (which would vanish at the start of a
// file) or, with the blank separator, with '[', so that it reads back as it was.
CString QuoteGridCell(const CString& cell, wchar_t separator);
// A key cell as a row writes it: quoted likewise when it holds the key separator or a line break,
// starts with a quote or a byte-order mark, or is empty at the start of its line (where a key
// separator ends no key). Without a key separator nothing can be quoted.
CString QuoteGridKeyCell(const CString& cell, wchar_t keySeparator, bool startsLine);
// The cell in double quotes, its quotes doubled.
CString QuotedGridCell(const CString& cell);
