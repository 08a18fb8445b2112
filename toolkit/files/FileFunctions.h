#pragma once
// Paths, folders and file lists. Every folder text these functions return ends with '/'.
// Wildcard patterns know '*' (any run of characters) and '?' (any one character) in their last
// component only; every other character, '[' included, stands for itself. Nothing here throws or
// shows a message.
#include "CList.h"
#include "CString.h"

// The folder part of the path, with every missing folder along it created. A last component that
// is not followed by '/' is a file name and is not created. Creation errors are ignored.
CString CreateFolderPath(const CString& path);
// Deletes the files that FindFiles lists for the pattern; the number actually deleted.
int DeleteFiles(const CString& pattern);
// The text after the last '.', empty when there is none or when a '/' follows it.
CString GetFileExtension(const CString& path);
// The files (not folders) in the pattern's folder whose names match its last component, as full
// paths in name order; the list is emptied first. Sub-folders are not entered.
int FindFiles(const CString& pattern, CStringList* list);
// The last component, trailing '/' ignored ("a/b/" gives "b").
CString GetFileName(const CString& path);
// The last component without its extension; a name without '.' is its own title.
CString GetFileTitle(const CString& path);
// The folder part, up to and including the last '/'. A path whose only '/' is its first character
// lies in the root folder "/"; a bare name lies in the current folder.
CString GetFolder(const CString& path);

// True when the whole name matches the pattern ('*' and '?' only, case-sensitive).
bool MatchesWildcard(const CString& name, const CString& pattern);
