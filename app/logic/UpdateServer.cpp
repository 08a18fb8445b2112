#include "UpdateServer.h"

#include "TextConversion.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

const wchar_t* const kDefaultUpdateServer = L"update.hvxpro.invalid";
const wchar_t* const kUpdateServerSection = L"Update Server";
const wchar_t* const kUpdateServerEntry = L"Host Name";
const char* const kUpdateServerVariable = "HVX_UPDATE_SERVER";

namespace {
constexpr size_t npos = std::wstring_view::npos;

// A server value taken apart as URLs are: an optional "http://", user info up to the authority's
// last '@' (dropped: the requests carry no name or password), the host, an optional port and a
// path. A host with more than one ':' and no brackets is an IPv6 address written bare, so it has
// no port.
struct SServerUrl {
  std::wstring host; // an IPv6 address without its brackets
  std::wstring port; // digits; empty for HTTP's own
  std::wstring path; // from its '/', without trailing '/'
};

bool IsIpv6Address(std::wstring_view host)
{
  return std::count(host.begin(), host.end(), L':') >= 2 &&
         host.find_first_not_of(L"0123456789abcdefABCDEF:.") == npos;
}

bool IsHostName(std::wstring_view host)
{
  return !host.empty() && std::none_of(host.begin(), host.end(), [](wchar_t c) {
    return std::iswspace(wint_t(c)) || std::iswcntrl(wint_t(c)) ||
           std::wstring_view(L"[]@\\%:").find(c) != npos;
  });
}

bool IsPort(std::wstring_view port)
{
  if (port.empty() || port.size() > 5 || port.find_first_not_of(L"0123456789") != npos)
    return false;
  const int number = std::stoi(std::wstring(port));
  return number > 0 && number <= 65535;
}

// Empty when the value names a server, else why it does not.
std::wstring ParseServerUrl(std::wstring_view value, SServerUrl& url)
{
  url = {};
  if (const size_t scheme = value.find(L"://"); scheme != npos) {
    std::wstring name(value.substr(0, scheme));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](wchar_t c) { return wchar_t(std::towlower(wint_t(c))); });
    if (name != L"http")
      return L"only plain HTTP is supported";
    value.remove_prefix(scheme + 3);
  }
  if (value.find_first_of(L"?#") != npos)
    return L"a server address has no query or fragment";
  const size_t slash = value.find(L'/');
  std::wstring_view authority = value.substr(0, slash);
  if (slash != npos) {
    url.path = value.substr(slash);
    url.path.erase(url.path.find_last_not_of(L'/') + 1);
  }
  if (const size_t at = authority.rfind(L'@'); at != npos)
    authority.remove_prefix(at + 1);
  std::wstring_view port;
  if (authority.starts_with(L'[')) {
    const size_t close = authority.find(L']');
    if (close == npos)
      return L"the IPv6 address has no closing bracket";
    url.host = authority.substr(1, close - 1);
    const std::wstring_view rest = authority.substr(close + 1);
    if (!rest.empty() && !rest.starts_with(L':'))
      return L"text follows the IPv6 address";
    if (!IsIpv6Address(url.host))
      return L"no IPv6 address in the brackets";
    port = rest.substr(std::min<size_t>(1, rest.size()));
  } else if (IsIpv6Address(authority)) {
    url.host = authority;
  } else {
    const size_t colon = authority.find(L':');
    url.host = authority.substr(0, colon);
    if (colon != npos)
      port = authority.substr(colon + 1);
    if (!IsHostName(url.host))
      return url.host.empty() ? L"no host name" : L"not a host name";
  }
  // "host:" is HTTP's own port, as in any URL.
  if (!port.empty() && !IsPort(port))
    return L"not a port number";
  url.port = port;
  return {};
}

// The value as a log may show it: user info, which may hold a password, left out.
CString WithoutUserInfo(std::wstring value)
{
  const size_t scheme = value.find(L"://");
  const size_t start = scheme == npos ? 0 : scheme + 3;
  const size_t at = value.rfind(L'@', value.find(L'/', start));
  if (at != npos && at >= start)
    value.erase(start, at + 1 - start);
  return CString(value);
}
} // namespace

CString UpdateServerBaseUrl(const CString& profileHostName, const char* environmentValue, CString* refusal)
{
  CString server = environmentValue ? FromUtf8(environmentValue) : CString();
  server.Trim();
  if (server.IsEmpty())
    server = CString(profileHostName).Trim();
  if (server.IsEmpty())
    server = kDefaultUpdateServer;
  SServerUrl url;
  const std::wstring reason = ParseServerUrl(server.View(), url);
  if (!reason.empty()) {
    if (refusal)
      refusal->Format(L"The update server \"%s\" is not used: %s.", WithoutUserInfo(server.Str()).GetString(),
                      reason.c_str());
    return CString();
  }
  if (refusal)
    refusal->Empty();
  const bool ipv6 = url.host.find(L':') != npos;
  return CString(L"http://" + (ipv6 ? L"[" + url.host + L"]" : url.host) +
                 (url.port.empty() ? L"" : L":" + url.port) + url.path);
}

std::string UpdateServerUrl(const CString& baseUrl, const std::string& path)
{
  return ToUtf8(baseUrl) + path;
}

CString OnlineHelpUrl(const CString& baseUrl)
{
  return baseUrl + L"/HVXPro/Help/";
}

CString UpdateServerHost(const CString& baseUrl)
{
  SServerUrl url;
  return ParseServerUrl(baseUrl.View(), url).empty() ? CString(url.host) : CString();
}

bool IsReservedInvalidHost(const CString& host)
{
  CString name = host;
  name.TrimRight(L'.');
  name.MakeLower();
  return name == L"invalid" || name.Right(8) == L".invalid";
}

bool IsLoopbackHost(const CString& host)
{
  CString name = host;
  name.MakeLower();
  return name == L"localhost" || name == L"::1" || name.Left(4) == L"127.";
}

bool MayAskUpdateServer(const CString& baseUrl, bool onNetwork)
{
  const CString host = UpdateServerHost(baseUrl);
  return !host.IsEmpty() && !IsReservedInvalidHost(host) && (onNetwork || IsLoopbackHost(host));
}
