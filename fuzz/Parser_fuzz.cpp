// fuzz-link: exprparser
// Evaluates arbitrary text as a user expression, the way trace queries and custom actions hand
// their spans over after the servo's replies are put in place. Whatever the text, the evaluation
// must end, and a failure must leave the previous result as it was. A custom action evaluates all
// its spans with one parser, so the same text evaluated again must give the same answer.
#include "CParser.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CParser parser;
  parser.SetExpression("41+1");
  if (!parser.Evaluate() || parser.GetResult() != 42.0)
    std::abort();
  parser.SetExpression(std::string(reinterpret_cast<const char*>(data), size));
  const bool evaluated = parser.Evaluate();
  if (!evaluated && parser.GetResult() != 42.0)
    std::abort();
  const double first = parser.GetResult();
  if (parser.Evaluate() != evaluated)
    std::abort();
  const double again = parser.GetResult();
  if (again != first && !(std::isnan(again) && std::isnan(first)))
    std::abort();
  return 0;
}
