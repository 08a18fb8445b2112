#pragma once
// One user expression, compiled and evaluated to a double: the trace sampling and the custom
// actions put the servo's replies in place first, so expressions name no outside variables; they
// may define their own ("var t := 3; t*t"). Besides the library's built-in functions there are
// poly2 to poly10 and the constants pi, epsilon and inf.
#include <cstddef>
#include <memory>
#include <optional>
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
  // than kMaxExpressionLength, local vectors of more than kMaxLocalVectorElements values or with
  // an index that is not constant, a local string) the result keeps its earlier value. Infinity
  // and NaN are results like any other.
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
  // character of the expression, so a long expression gets fewer repeats, and compiling costs a few
  // microseconds per character at most (local definitions are the dearest), so a longer text fails
  // at once. Together they keep any evaluation within tens of milliseconds, well inside the
  // traces' 500 ms sampling period.
  static constexpr unsigned long long kMaxLoopWork = 5000000; // repeats x characters
  static constexpr std::size_t kMaxExpressionLength = 16384;
  // The values that the local vectors of one expression ("var v[3] := {1, 2, 3}") hold together.
  // Work on a vector counts as that many characters towards kMaxLoopWork.
  static constexpr std::size_t kMaxLocalVectorElements = 1000;
  // The repeats each loop is given in an expression of this much work (its length, times the
  // values of its local vectors) with this many loops. Loops may be nested, and an inner one runs
  // its repeats afresh at every repeat of the outer one, so each gets the loops-th root of the
  // repeats that the work allows: however they nest, their product stays within it.
  static unsigned long long LoopLimit(std::size_t work, std::size_t loops = 1);

private:
  struct Engine;

  // LoopLimit for the text; nothing when its local vectors hold more than kMaxLocalVectorElements
  // values, the size of one cannot be told before it is compiled, or an element is reached by an
  // index that is not arithmetic of numbers (only a constant index is checked by the library).
  static std::optional<unsigned long long> RepeatLimit(const std::string& text);

  std::string m_expressionText;
  std::unique_ptr<Engine> m_engine;
  double m_result = 0.0;
};
