#include "UpdateServer.h"

#include "TextConversion.h"

const wchar_t* const kDefaultUpdateServer = L"update.hvxpro.invalid";
const wchar_t* const kUpdateServerSection = L"Update Server";
const wchar_t* const kUpdateServerEntry = L"Host Name";
const char* const kUpdateServerVariable = "HVX_UPDATE_SERVER";

CString UpdateServerBaseUrl(const CString& profileHostName, const char* environmentValue)
{
  CString server = environmentValue ? FromUtf8(environmentValue) : CString();
  server.Trim();
  if (server.IsEmpty())
    server = CString(profileHostName).Trim();
  if (server.IsEmpty())
    server = kDefaultUpdateServer;
  if (server.Find(L"://") < 0)
    server = L"http://" + server;
  server.TrimRight(L'/');
  return server;
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
  const int scheme = baseUrl.Find(L"://");
  CString host = scheme < 0 ? baseUrl : baseUrl.Mid(scheme + 3);
  host = host.SpanExcluding(L"/");
  if (host.Left(1) == L"[")
    return host.Mid(1).SpanExcluding(L"]");
  return host.SpanExcluding(L":");
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
