#pragma once
// One user expression, compiled and evaluated to a double: the trace sampling and the custom
// actions put the servo's replies in place first, so expressions have no variables. Besides the
// library's built-in functions there are poly2 to poly10 and the constants pi, epsilon and inf.
#include <cstddef>
#include <memory>
#include <string>

class CParser {
public:
  CParser();
  ~CParser();
  CParser(const CParser&) = delete;
  CParser& operator=(const CParser&) = delete;

  // Stores the text; nothing is compiled until Evaluate.
  void SetExpression(const std::string& text);
  // Compiles and evaluates the stored text. On success the value becomes the result; on failure
  // (syntax, an undeclared name, a wrong argument count, a loop that does not end, a text longer
  // than kMaxExpressionLength) the result
  // keeps its earlier value. Infinity and NaN are results like any other.
  bool Evaluate();
  // 0.0 until the first successful evaluation.
  double GetResult() const { return m_result; }

  // poly2(x, c0, c1, c2) to poly10(x, c0, ..., c10): the library's function objects for the
  // polynomials, defined where the library is seen.
  struct poly2;
  struct poly3;
  struct poly4;
  struct poly5;
  struct poly6;
  struct poly7;
  struct poly8;
  struct poly9;
  struct poly10;

  // How often one loop of an expression may repeat before the evaluation fails.
  static constexpr unsigned long long kMaxLoopIterations = 100000;
  // The time of an evaluation is bounded by its work: one loop repeat costs at most a few ns per
  // character of the expression, so a long expression gets fewer repeats, and compiling costs about
  // a microsecond per character, so a longer text fails at once. Together they keep any evaluation
  // within tens of milliseconds, well inside the traces' 500 ms sampling period.
  static constexpr unsigned long long kMaxLoopWork = 5000000; // repeats x characters
  static constexpr std::size_t kMaxExpressionLength = 16384;
  // The repeats one loop of an expression of this length is given.
  static unsigned long long LoopLimit(std::size_t expressionLength);

private:
  struct Engine;

  std::string m_expressionText;
  std::unique_ptr<Engine> m_engine;
  double m_result = 0.0;
};
