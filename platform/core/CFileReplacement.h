#pragma once
// Writing a file so that a failure never leaves it half-written: the caller writes a new file in
// the same folder, which then takes the place of the file in one step. Until Commit succeeds the
// file keeps its old contents (or stays absent), whatever happens to the new one.
#include "CString.h"

#include <string>

class CFileReplacement {
public:
  // Makes the new, empty file beside the one at path. When path is a symbolic link, the file it
  // names is the one replaced.
  explicit CFileReplacement(const CString& path);
  // Deletes the new file unless it was committed.
  ~CFileReplacement();
  CFileReplacement(const CFileReplacement&) = delete;
  CFileReplacement& operator=(const CFileReplacement&) = delete;

  // Where to write; empty when the new file could not be made (no folder, no permission).
  const CString& GetTempPath() const { return m_tempPath; }
  // Puts the written file on the disk and in place of the old one, with the old one's
  // permissions. False when that failed; the old file is then as it was.
  bool Commit();

private:
  std::string m_target;
  CString m_tempPath;
  bool m_committed = false;
};
