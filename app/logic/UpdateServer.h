#pragma once
// Where the program looks for its compatibility table, downloads and help page. The profile's
// "Update Server"/"Host Name" value names the server; the environment variable HVX_UPDATE_SERVER
// (a base URL such as "http://127.0.0.1:8080") overrides it. Unconfigured, the program uses a host
// under the reserved ".invalid" domain, which no name server resolves, so it never reaches anyone
// else's server.
#include "CString.h"

#include <cstddef>
#include <string>

extern const wchar_t* const kDefaultUpdateServer;
extern const wchar_t* const kUpdateServerSection;
extern const wchar_t* const kUpdateServerEntry;
extern const char* const kUpdateServerVariable;
// Longer than any server's address, after surrounding blanks are trimmed.
constexpr std::size_t kMaxUpdateServerChars = 2048;

// The server as "http://host[:port][/path]" without a trailing '/': the environment's value when
// it is set and not empty, else the profile's host name, else the default. The value is read as a
// URL is, "http://" being optional: an IPv6 address goes in brackets ("[::1]:8080"; written bare,
// "::1" is the whole address), and user info ("user:pw@") is dropped, since the requests carry
// no name or password. A value that names no plain HTTP server gives an empty text, and refusal
// (when given) gets one line saying why; it is emptied otherwise. Refused too are values a URL
// reader might take in more than one way: a scheme without its "//" ("https:/host"), a host named
// "http" or "https" (also after "http://"), an '@' after the first '/', blanks, control characters,
// line and paragraph separators and the invisible marks of bidirectional text anywhere, and a value
// of more than kMaxUpdateServerChars. The refusal shows the value on one line, shortened, and with
// nothing of it up to its last '@' (user info may hold a password).
CString UpdateServerBaseUrl(const CString& profileHostName, const char* environmentValue,
                            CString* refusal = nullptr);
// The base URL followed by the server path ("/HVXPro/...").
std::string UpdateServerUrl(const CString& baseUrl, const std::string& path);
// The product's on-line help page on that server.
CString OnlineHelpUrl(const CString& baseUrl);
// What Help says when there is no server to take its page from: why (the refusal of the
// configured value, when there was one; else that none is set) and the two settings that set one.
CString NoUpdateServerText(const CString& refusal, const CString& profilePath);

// The host part of the base URL, without port or brackets ("127.0.0.1", "::1"); empty for an
// empty base URL.
CString UpdateServerHost(const CString& baseUrl);
// A host of the ".invalid" domain: asking for it cannot succeed, so it is not asked at all.
bool IsReservedInvalidHost(const CString& host);
// A host on this machine: reachable without any network connection.
bool IsLoopbackHost(const CString& host);
// Whether a request to the server may be made: never to no server or a ".invalid" host, and off
// this machine only on a network.
bool MayAskUpdateServer(const CString& baseUrl, bool onNetwork);
