// The CSV file and the tab-separated text of the current trace over first..last. Numbers use '.'
// whatever the process locale.
#include "ZSpectrumData/CSpectrumData.h"

#include "NumberText.h"

#include <NativePath.h>
#include <TextConversion.h>

#include <cstdio>
#include <string>

namespace {

// The file is written as the Windows text mode wrote it: every line ends with "\r\n".
void AppendTextLine(std::string& out, const CString& text)
{
  std::string bytes = ToUtf8(text);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
      out += '\r';
    out += bytes[i];
  }
}

class CsvWriter {
public:
  explicit CsvWriter(std::FILE* file) : m_file(file) { m_buffer.reserve(Chunk + 64); }
  std::string& Buffer() { return m_buffer; }
  void FlushIfFull()
  {
    if (m_buffer.size() >= Chunk)
      Flush();
  }
  void Flush()
  {
    if (!m_buffer.empty() && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size())
      m_failed = true;
    m_buffer.clear();
  }
  // A full disk may show only when the last buffer reaches the file, or at the close.
  bool Close()
  {
    Flush();
    if (std::fflush(m_file) != 0 || std::ferror(m_file))
      m_failed = true;
    if (std::fclose(m_file) != 0)
      m_failed = true;
    return !m_failed;
  }
  bool Failed() const { return m_failed; }

private:
  static constexpr size_t Chunk = 1 << 16;
  std::FILE* m_file;
  std::string m_buffer;
  bool m_failed = false;
};

// "X Values", or "X Values (s)" with units.
CString ColumnHeading(const wchar_t* word, const CString& units)
{
  return units.IsEmpty() ? CString(word) : word + (L" (" + units + L")");
}

} // namespace

bool CSpectrumData::ExportToCSVFile(const wchar_t* path) const
{
  if (!path || !*path)
    return false;
  std::FILE* file = std::fopen(NativePath(path).c_str(), "wb");
  if (!file)
    return false;
  CsvWriter writer(file);
  std::string& out = writer.Buffer();
  out += "ZSpectrumData CSV output\r\n";
  AppendTextLine(out, m_xLabel + L"," + m_yLabel + L"\n");
  for (int i = m_firstIndex; i <= m_lastIndex && !writer.Failed(); ++i) {
    AppendG(out, GetX(i));
    out += ',';
    AppendG(out, GetY(i));
    out += "\r\n";
    writer.FlushIfFull();
  }
  return writer.Close();
}

CString CSpectrumData::GetDataAsText() const
{
  CString text;
  if (!m_name.IsEmpty()) {
    text = m_name + L"\n";
    text.Replace(L"Paste: ", L"");
  }
  text += ColumnHeading(L"X Values", m_xUnits) + L"\t" + ColumnHeading(L"Y Values", m_yUnits) + L"\n";
  if (!m_xLabel.IsEmpty())
    text.Replace(L"X Values", m_xLabel);
  if (!m_yLabel.IsEmpty())
    text.Replace(L"Y Values", m_yLabel);

  std::wstring rows;
  for (int i = m_firstIndex; i <= m_lastIndex; ++i) {
    AppendG(rows, GetX(i));
    rows += L'\t';
    AppendG(rows, GetY(i));
    rows += L'\n';
  }
  text += CString(std::move(rows));
  return text;
}
