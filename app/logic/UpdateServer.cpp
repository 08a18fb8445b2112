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

// Told without the locale, whose classes may stop at ASCII: C0 and C1 controls, DEL and the
// Unicode line and paragraph separators.
bool IsControlOrBreak(wchar_t c)
{
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// Characters that change how the rest of a line is shown without being seen themselves: the marks
// and overrides of bidirectional text (U+202E shows what follows backwards), and the zero-width
// ones.
bool IsInvisibleFormat(wchar_t c)
{
  return c == 0x061C || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2060 && c <= 0x2069) || c == 0xFEFF;
}

// No URL holds these as they are: libcurl refuses them, a browser may cut the value at them or
// read it otherwise, and a line break would give a request a header of the value's choosing.
bool IsOutsideUrl(wchar_t c)
{
  return IsControlOrBreak(c) || IsInvisibleFormat(c) || c == L' ' || c == 0x00A0 || c == 0x3000 ||
         std::iswspace(wint_t(c));
}

// Letters, digits, '-', '.' and '_', and any character beyond ASCII that is no blank or control
// character (an international name).
bool IsHostName(std::wstring_view host)
{
  return !host.empty() && std::all_of(host.begin(), host.end(), [](wchar_t c) {
    if (c > 0x7F)
      return !IsControlOrBreak(c) && !std::iswspace(wint_t(c)) && c != 0x00A0 && c != 0x3000;
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'.' || c == L'_';
  });
}

std::wstring Lowercase(std::wstring_view text)
{
  std::wstring lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](wchar_t c) { return wchar_t(std::towlower(wint_t(c))); });
  return lower;
}

bool IsSchemeWord(std::wstring_view word)
{
  const std::wstring name = Lowercase(word);
  return name == L"http" || name == L"https";
}

// A scheme with its "//" mistyped reads as a host named after the scheme: "https:/host/" would be
// plain HTTP to a host "https", "http//host" the host "http". No host of such a name is taken.
bool HasMistypedScheme(std::wstring_view value)
{
  if (value.starts_with(L'['))
    return false;
  const size_t end = value.find_first_of(L":/");
  if (IsSchemeWord(value.substr(0, end)))
    return true;
  if (end == npos)
    return false;
  // "name:/..." is a scheme of any name with one '/' only; a port would come between.
  return value[end] == L':' && value.substr(end + 1).starts_with(L'/');
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
  if (std::any_of(value.begin(), value.end(), IsOutsideUrl))
    return L"a server address has no blanks, line breaks or control characters";
  if (const size_t scheme = value.find(L"://"); scheme != npos) {
    if (Lowercase(value.substr(0, scheme)) != L"http")
      return L"only plain HTTP is supported";
    value.remove_prefix(scheme + 3);
  } else if (HasMistypedScheme(value)) {
    return L"a scheme must be followed by \"//\"";
  }
  if (value.find_first_of(L"?#") != npos)
    return L"a server address has no query or fragment";
  const size_t slash = value.find(L'/');
  std::wstring_view authority = value.substr(0, slash);
  if (slash != npos) {
    // Most likely a password with a '/' in it, which would make its first part the host.
    if (value.find(L'@', slash) != npos)
      return L"an \"@\" follows the first \"/\"";
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
    // "http://http://host/" and "http://https:/host/" would ask a host named "http" or "https".
    if (IsSchemeWord(url.host))
      return L"the host is named after a scheme";
  }
  // "host:" is HTTP's own port, as in any URL.
  if (!port.empty() && !IsPort(port))
    return L"not a port number";
  url.port = port;
  return {};
}

// The value as a log may show it: on one line, of a bounded length and without user info, which
// may hold a password. Where user info ends cannot be told for sure (a password may hold a '/' or
// an '@'), so everything up to the last '@' is left out, from after the scheme when one precedes it.
CString LoggableServerValue(std::wstring value)
{
  constexpr size_t kShownChars = 200;
  if (const size_t at = value.rfind(L'@'); at != npos) {
    const size_t scheme = value.find(L"://");
    const size_t start = scheme != npos && scheme + 3 <= at ? scheme + 3 : 0;
    value.replace(start, at + 1 - start, L"\u2026@");
  }
  for (wchar_t& c : value)
    if (IsControlOrBreak(c) || IsInvisibleFormat(c))
      c = L'\uFFFD';
  if (value.size() > kShownChars)
    value = value.substr(0, kShownChars) + L"\u2026";
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
  const std::wstring reason =
      server.View().size() > kMaxUpdateServerChars
          ? L"longer than any server address (" + std::to_wstring(kMaxUpdateServerChars) + L" characters)"
          : ParseServerUrl(server.View(), url);
  if (!reason.empty()) {
    if (refusal)
      refusal->Format(L"The update server \"%s\" is not used: %s.",
                      LoggableServerValue(server.Str()).GetString(), reason.c_str());
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

CString NoUpdateServerText(const CString& refusal, const CString& profilePath)
{
  CString text =
      refusal.IsEmpty() ? CString(L"No update server is set, so there is no help page to open.") : refusal;
  CString where;
  where.Format(L"\n\nSet one with the environment variable %s (for example http://127.0.0.1:8080) or with "
               L"the value \"%s\" in the section \"%s\" of the profile%s%s.",
               FromUtf8(kUpdateServerVariable).GetString(), kUpdateServerEntry, kUpdateServerSection,
               profilePath.IsEmpty() ? L"" : L" ", profilePath.GetString());
  return text + where;
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
