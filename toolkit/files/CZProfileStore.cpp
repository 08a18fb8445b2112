#include "CZProfileStore.h"

#include "FileFunctions.h"
#include "NativePath.h"

#include <wx/fileconf.h>
#include <wx/log.h>
#include <wx/sstream.h>

#include <filesystem>
#include <system_error>

namespace {

// A GUI program's log target shows errors in a modal box; the profile's never should.
class CStderrLogScope {
public:
  CStderrLogScope() : m_previous(wxLog::SetActiveTarget(&m_stderr)) {}
  ~CStderrLogScope() { wxLog::SetActiveTarget(m_previous); }
  CStderrLogScope(const CStderrLogScope&) = delete;
  CStderrLogScope& operator=(const CStderrLogScope&) = delete;

private:
  wxLogStderr m_stderr;
  wxLog* m_previous;
};

// Section and entry names become parts of a settings path: one that would name another path
// ("a/b", "..") or none at all is refused rather than stored somewhere unexpected.
bool IsUsableName(const wchar_t* name)
{
  if (!name || !*name)
    return false;
  CString text(name);
  return text.Find(L'/') < 0 && text != L"." && text != L"..";
}

wxString GroupPath(const wchar_t* section)
{
  return wxString(L"/") + wxString(section);
}

wxString KeyPath(const wchar_t* section, const wchar_t* entry)
{
  return GroupPath(section) + L"/" + wxString(entry);
}

// The stored text of an entry; false when a name is unusable or the entry does not exist.
bool ReadValue(wxFileConfig& config, const wchar_t* section, const wchar_t* entry, wxString& value)
{
  if (!IsUsableName(section) || !IsUsableName(entry))
    return false;
  CStderrLogScope log;
  return config.Read(KeyPath(section, entry), &value);
}

bool ParseWholeInt(const wxString& text, int& value)
{
  long parsed = 0;
  if (!text.ToLong(&parsed) || parsed < INT32_MIN || parsed > INT32_MAX)
    return false;
  value = int(parsed);
  return true;
}

// Why the file at the path must not be read, or empty when it may be (a missing file may).
wxString RefusalOfFile(const CString& filePath)
{
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path path(NativePath(filePath));
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status))
    return {};
  if (!fs::is_regular_file(status))
    return wxString::Format("The profile %s is not a plain file", wxString(filePath.GetString()));
  const auto size = fs::file_size(path, error);
  if (error || size <= CZProfileStore::kProfileLimit)
    return {};
  return wxString::Format("The profile %s holds %llu bytes, more than this program ever writes",
                          wxString(filePath.GetString()), static_cast<unsigned long long>(size));
}

} // namespace

CZProfileStore::CZProfileStore(const CString& filePath) : m_filePath(filePath)
{
  CStderrLogScope log;
  if (const wxString refusal = RefusalOfFile(filePath); !refusal.empty()) {
    m_fileRefused = true;
    wxLogError("%s; it is left unread and untouched, and the program starts with its defaults.", refusal);
    // A configuration without a file of its own: nothing is read, and nothing is ever written.
    wxStringInputStream nothing(wxEmptyString);
    m_config = std::make_unique<wxFileConfig>(nothing);
    m_config->SetExpandEnvVars(false);
    m_config->SetRecordDefaults(false);
    return;
  }
  CreateFolderPath(filePath);
  // The path is absolute already; "relative" only keeps the file class from asking for the
  // standard folders, which needs an application object that headless code does not have.
  m_config =
      std::make_unique<wxFileConfig>(wxEmptyString, wxEmptyString, wxString(filePath.GetString()),
                                     wxEmptyString, wxCONFIG_USE_LOCAL_FILE | wxCONFIG_USE_RELATIVE_PATH);
  m_config->SetExpandEnvVars(false);
  m_config->SetRecordDefaults(false);
}

CZProfileStore::~CZProfileStore()
{
  CStderrLogScope log;
  m_config.reset();
}

CString CZProfileStore::GetString(const wchar_t* section, const wchar_t* entry,
                                  const wchar_t* defaultValue) const
{
  wxString value;
  if (!ReadValue(*m_config, section, entry, value))
    return CString(defaultValue ? defaultValue : L"");
  return CString(value.ToStdWstring());
}

bool CZProfileStore::WriteString(const wchar_t* section, const wchar_t* entry, const wchar_t* value)
{
  if (!IsUsableName(section) || (entry && !IsUsableName(entry)))
    return false;
  CStderrLogScope log;
  bool done;
  if (!entry) {
    const wxString group = GroupPath(section);
    done = m_config->DeleteGroup(group) || !m_config->HasGroup(group);
  } else if (!value) {
    const wxString key = KeyPath(section, entry);
    done = m_config->DeleteEntry(key, false) || !m_config->HasEntry(key);
  } else {
    done = m_config->Write(KeyPath(section, entry), wxString(value));
  }
  return m_config->Flush() && done && !m_fileRefused;
}

UINT CZProfileStore::GetInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const
{
  wxString text;
  int value = 0;
  if (!ReadValue(*m_config, section, entry, text) || !ParseWholeInt(text, value))
    return UINT(defaultValue);
  return UINT(value);
}

bool CZProfileStore::WriteInt(const wchar_t* section, const wchar_t* entry, int value)
{
  CString text;
  text.Format(L"%d", value);
  return WriteString(section, entry, text);
}
