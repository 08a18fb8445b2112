#pragma once
// How a grid row looks as text, shared by the grid's reader and writer and the text file's
// section counting. One record is one line, unless a quoted cell runs across line breaks.
//
// Cells are split at the separator. The key cells come first, each ended by the key separator
// (one blank after it is skipped). A cell that starts with '"' runs to the next '"' that is not
// doubled ("" stands for one quote) and the character after its closing quote is skipped; with the
// blank separator a cell that starts with '[' runs to the next ']' likewise. Cells are not trimmed.
#include "CStdioFile.h"
#include "CString.h"

#include <vector>

struct SGridTextFormat {
  int keyColumns = 0;
  wchar_t separator = L' ';
  wchar_t keySeparator = L':';
};

// Reads one record: a line, and the lines that a quoted cell opened on it runs into, joined with
// the line ends they had in the file. firstLine (when given) is the record's first line alone.
// False when no line is left.
bool ReadGridRecord(CStdioFile& file, const SGridTextFormat& format, CString& record, CString* firstLine = nullptr);

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

// A value cell as a row writes it: quoted, with its quotes doubled, when it holds the separator, a
// quote or a line break (or, with the blank separator, starts with '['), so that it reads back as
// it was.
CString QuoteGridCell(const CString& cell, wchar_t separator);
