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
  // (syntax, an undeclared name, a wrong argument count, any string: quoted text is no number, a
  // loop that does not end, a text that asks more than the bounds below allow, a vector index that
  // is not a constant within the vector) the result keeps its earlier value. Infinity and NaN are results
  // like any other.
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

  // Every text comes from a settings file that users pass to each other, so what it may ask of the
  // library is bounded before the library sees it, the same way on every machine: a text is
  // accepted or refused for what it says, never for how long it happened to take. Together the
  // bounds keep compiling and evaluating any text within about 30 ms, whatever its operands.
  //
  // How often one loop of an expression may repeat before the evaluation fails.
  static constexpr unsigned long long kMaxLoopIterations = 100000;
  // Compiling costs well under a microsecond per character, so a longer text fails at once.
  static constexpr std::size_t kMaxExpressionLength = 16384;
  // The values that the local vectors of one expression ("var v[3] := {1, 2, 3}") hold together.
  static constexpr std::size_t kMaxLocalVectorElements = 1000;
  // One pass over the text costs at most about 10 ns per character, and one character can stand
  // for work on every value of the local vectors ("tan(v)"): the characters times those values,
  // times the repeats of the loops around them, stay within this. An operation that may cost more
  // than its characters (a trigonometric function of a huge number, "%") counts as its worst cost
  // in such characters besides its own.
  static constexpr unsigned long long kMaxWork = 3000000;
  // "%", "%=" and mod(x, y) are fmod, whose cost grows with the distance between the exponents of
  // its operands: up to about 2 us each.
  static constexpr std::size_t kModuloWork = 200;
  // The library keeps local definitions and the vector elements reached by a constant index in one
  // list, which it searches at every name it reads and sorts at every name it adds.
  static constexpr std::size_t kMaxLocalNames = 128;
  // A bracket that follows a bracketed term, a local variable or a constant multiplies ("(a)(b)",
  // "pi(2)"): the library makes the product by inserting into its list of the tokens behind it.
  static constexpr std::size_t kMaxImpliedProducts = 64;
  // The repeats each loop is given in an expression of this much work (its length, times the
  // values of its local vectors) with this many loops. Loops may be nested, and an inner one runs
  // its repeats afresh at every repeat of the outer one, so each gets the loops-th root of the
  // repeats that the work allows: however they nest, their product stays within it.
  static unsigned long long LoopLimit(std::size_t work, std::size_t loops = 1);

  // Whether a constant index reaches an element of a vector of size values: the library truncates
  // it towards zero, after turning it into an int unchecked.
  static bool ConstantIndexWithin(double index, std::size_t size);

private:
  struct Engine;

  // LoopLimit for the text, or nothing when it asks more than the bounds allow.
  static std::optional<unsigned long long> RepeatLimit(const std::string& text);

  std::string m_expressionText;
  std::unique_ptr<Engine> m_engine;
  double m_result = 0.0;
};
