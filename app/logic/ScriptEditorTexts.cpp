#include "ScriptEditorTexts.h"

namespace {
struct SToken {
  const wchar_t* text;
  const wchar_t* description;
};

constexpr SToken kActionTokens[] = {{L"<ID>", L"Current servo Id"},
                                    {L"<POS>", L"Current position"},
                                    {L"<OFFSET>", L"Current origin offset"},
                                    {L"[...]", L"Solve ... numerically"}};
constexpr SToken kTraceTokens[] = {{L"<ID>", L"Current servo Id"},
                                   {L"<UNIT:...>", L"Adds ... after the value"}};

template <typename Visit> void ForEachToken(EScriptEditor editor, Visit visit)
{
  if (editor == EScriptEditor::Action)
    for (const SToken& token : kActionTokens)
      visit(token);
  else
    for (const SToken& token : kTraceTokens)
      visit(token);
}
} // namespace

std::vector<CString> EditorTokens(EScriptEditor editor)
{
  std::vector<CString> tokens;
  ForEachToken(editor, [&](const SToken& token) { tokens.emplace_back(token.text); });
  return tokens;
}

bool EditorTokenDescription(EScriptEditor editor, const CString& token, CString& description)
{
  bool found = false;
  ForEachToken(editor, [&](const SToken& known) {
    if (!found && token == known.text) {
      description = known.description;
      found = true;
    }
  });
  return found;
}

CString ScriptToEditText(const CString& script)
{
  CString text = script;
  text.Replace(L"\r\n", L"\n");
  text.Replace(L'\r', L'\n');
  return text;
}

CString EditTextToScript(const CString& text)
{
  CString script = ScriptToEditText(text);
  script.Replace(L"\n", L"\r\n");
  return script;
}
