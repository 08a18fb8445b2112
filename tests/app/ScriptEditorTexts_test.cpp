#include "ScriptEditorTexts.h"

#include "CStringPrinting.h"

#include <gtest/gtest.h>

TEST(ScriptEditorTexts, TokensAndTheirDescriptions)
{
  EXPECT_EQ(EditorTokens(EScriptEditor::Action).size(), 4u);
  EXPECT_EQ(EditorTokens(EScriptEditor::TraceQuery).size(), 2u);
  CString description = L"before";
  EXPECT_TRUE(EditorTokenDescription(EScriptEditor::Action, L"[...]", description));
  EXPECT_EQ(description, L"Solve ... numerically");
  EXPECT_FALSE(EditorTokenDescription(EScriptEditor::TraceQuery, L"<POS>", description));
  EXPECT_EQ(description, L"Solve ... numerically");
  EXPECT_TRUE(EditorTokenDescription(EScriptEditor::TraceQuery, L"<UNIT:...>", description));
  EXPECT_EQ(description, L"Adds ... after the value");
}

TEST(ScriptEditorTexts, LineBreaksChangeAtTheEditBoundary)
{
  EXPECT_EQ(ScriptToEditText(L"#<ID>D0\r\nWAIT 100\r\n#<ID>D9000"), L"#<ID>D0\nWAIT 100\n#<ID>D9000");
  EXPECT_EQ(EditTextToScript(L"#<ID>D0\nWAIT 100\r\n\r#<ID>D9000"), L"#<ID>D0\r\nWAIT 100\r\n\r\n#<ID>D9000");
  const CString script = L"a\r\nb\r\n";
  EXPECT_EQ(EditTextToScript(ScriptToEditText(script)), script);
}
