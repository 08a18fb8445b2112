#include "CParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <string>

namespace {
// Evaluates text with a fresh parser; NaN marks a failure.
double Eval(const std::string& text)
{
  CParser parser;
  parser.SetExpression(text);
  return parser.Evaluate() ? parser.GetResult() : std::numeric_limits<double>::quiet_NaN();
}

bool Compiles(const std::string& text)
{
  CParser parser;
  parser.SetExpression(text);
  return parser.Evaluate();
}
} // namespace

TEST(CParser, EvaluatesArithmeticAndKeepsTheResultAcrossFailures)
{
  CParser parser;
  EXPECT_EQ(parser.GetResult(), 0.0);
  EXPECT_FALSE(parser.Evaluate()) << "an empty text is no expression";
  EXPECT_EQ(parser.GetResult(), 0.0);

  parser.SetExpression("1+2");
  EXPECT_TRUE(parser.Evaluate());
  EXPECT_EQ(parser.GetResult(), 3.0);

  for (const char* bad : {"1+", "x+1", "poly2(1,2)", "(1", "1)", "foo(2)"}) {
    parser.SetExpression(bad);
    EXPECT_FALSE(parser.Evaluate()) << bad;
    EXPECT_EQ(parser.GetResult(), 3.0) << bad;
  }

  // Setting a text alone changes nothing; the same object evaluates again.
  parser.SetExpression("(-1234)/100*2");
  EXPECT_EQ(parser.GetResult(), 3.0);
  EXPECT_TRUE(parser.Evaluate());
  EXPECT_DOUBLE_EQ(parser.GetResult(), -24.68);
  parser.SetExpression("1+2");
  EXPECT_TRUE(parser.Evaluate());
  EXPECT_EQ(parser.GetResult(), 3.0);
}

TEST(CParser, LocalDefinitionsUpToASmallVector)
{
  EXPECT_DOUBLE_EQ(Eval("var t := (3512)/100; t*t"), 35.12 * 35.12);
  EXPECT_EQ(Eval("var a := 2; var b; b := a^3; a + b"), 10.0);
  EXPECT_EQ(Eval("var s := 0; for (var i := 1; i <= 10; i += 1) { s += i }; s"), 55.0);
  EXPECT_EQ(Eval("var v[3] := {1, 2, 3}; sum(v)"), 6.0);
  EXPECT_EQ(Eval("var v[2*5] := [1]; sum(v)"), 10.0) << "a size may be a constant expression";
  EXPECT_EQ(Eval("var v[600]; var w[(400)]; sum(v) + sum(w) + 1"), 1.0) << "1000 values together";

  // Larger vectors are refused before the library allocates them, however the size is written.
  for (const char* big :
       {"var v[1001]; v[0]", "var v[1e9]; v[0]", "VAR v[1e9]; v[0]", "var v[600]; var w[401]; v[0]",
        "var v[(10^9)]; v[0]", "var v[{1e9}]; v[0]", "var v[var n := 1e9; n]; v[0]", "var v[0.5]; v[0]",
        "var v[-1]; v[0]", "var v[inf]; v[0]", "var v[]; v[0]"})
    EXPECT_FALSE(Compiles(big)) << big;
  // The library checks an index against the size only when it is a constant: any other index
  // could read or write anywhere.
  EXPECT_EQ(Eval("var v[3] := {1, 2, 3}; v[(1+1)] + v[0]"), 4.0);
  for (const char* computed : {"var v[3]; var i := 1; v[i]", "var v[3]; var i := 5; v[i] := 1; 0",
                               "var v[4]; for (var i := 0; i < 6; i += 1) { v[i] += 1 }; sum(v)",
                               "var v[3]; V[pi]", "var v[3]; v[3]"})
    EXPECT_FALSE(Compiles(computed)) << computed;
  // Work on every element of a vector counts against the loop's repeats like that much text.
  EXPECT_EQ(Eval("var v[10]; for (var i := 0; i < 200; i += 1) { v += 1 }; v[9]"), 200.0);
  EXPECT_FALSE(Compiles("var v[1000]; for (var i := 0; i < 200; i += 1) { v += 1 }; v[0]"));
  // A definition in a comment defines nothing.
  EXPECT_EQ(Eval("1 # var w[1e9]"), 1.0);
}

TEST(CParser, QuotedTextIsNoOperand)
{
  CParser parser;
  parser.SetExpression("5");
  ASSERT_TRUE(parser.Evaluate());
  // A range past the end of a string read the heap; "like" on long literals took seconds a repeat.
  for (const char* text : {"(5 >= 0 ? 'a' : 'b')[0:1e7] == 'c'", "'abc' like '*b*'", "'A' ilike 'a'",
                           "'x' == 'x'", "var s := 'ab'; s[]", "'var v[1e9]' == 'x'"}) {
    parser.SetExpression(text);
    EXPECT_FALSE(parser.Evaluate()) << text;
    EXPECT_EQ(parser.GetResult(), 5.0) << text;
  }
}

TEST(CParser, StatementsThatLoseMemoryAreRefused)
{
  // The library frees nothing of a "[*]" statement whose case fails, nor the cases of a switch
  // without a default, at every evaluation.
  EXPECT_FALSE(Compiles("[*] { case 1 > 0 : 2; }"));
  EXPECT_FALSE(Compiles("[ * ] { case 1 > 0 : x; }"));
  EXPECT_FALSE(Compiles("var s := 2; switch { case s > 1 : 7; }"));
  EXPECT_FALSE(Compiles("var s := 2; switch { case s > 1 : switch { case s > 0 : 1; default : 2; }; }"));
  EXPECT_EQ(Eval("var s := 2; switch { case s > 1 : 7; default : 3; }"), 7.0);
}

TEST(CParser, ACountOfDigitsIsNeverTurnedIntoAnInt)
{
  // The library's roundn turned its count into an int before it clamped it to its table of 16.
  EXPECT_EQ(Eval("roundn(1.25, 1) + roundn(-1.25, 1)"), 0.0);
  EXPECT_EQ(Eval("roundn(2.5, -3)"), 3.0);
  EXPECT_EQ(Eval("var n := 1e20; roundn(1.23456789, n)"), Eval("roundn(1.23456789, 16)"));
  EXPECT_EQ(Eval("var n := -1e20; roundn(1.5, n)"), 2.0);
  EXPECT_EQ(Eval("var n := 0/0; roundn(1.5, n)"), 2.0);
  for (const char* shift : {"shl(1, 3)", "var n := 1e20; shr(8, n)"})
    EXPECT_FALSE(Compiles(shift)) << shift;
}

TEST(CParser, AConstantIndexLiesWithinItsVector)
{
  // The library truncates an index towards zero, and turned one beyond an int into one unchecked.
  EXPECT_EQ(Eval("var v[3] := {1, 2, 3}; v[2.9] + v[-0.5] + v[(6-3)/2]"), 6.0);
  for (const char* outside : {"var v[3]; v[1e20]", "var v[3]; v[-1e20]", "var v[3]; v[2^40]",
                              "var v[3]; v[3]", "var v[3]; v[-1]", "var v[3]; v[0/0]", "var v[3]; v[1/0]"})
    EXPECT_FALSE(Compiles(outside)) << outside;

  // The library refuses most of these itself, after turning the index into an int: beyond an int
  // that is undefined, so the index must be refused before the library sees it.
  EXPECT_TRUE(CParser::ConstantIndexWithin(-0.999, 3));
  EXPECT_FALSE(CParser::ConstantIndexWithin(-1.0, 3));
  EXPECT_FALSE(CParser::ConstantIndexWithin(-1e20, 3));
  EXPECT_FALSE(CParser::ConstantIndexWithin(-std::numeric_limits<double>::infinity(), 3));
  EXPECT_TRUE(CParser::ConstantIndexWithin(std::nextafter(3.0, 0.0), 3));
  EXPECT_FALSE(CParser::ConstantIndexWithin(3.0, 3));
  EXPECT_FALSE(CParser::ConstantIndexWithin(1e20, 3));
  EXPECT_FALSE(CParser::ConstantIndexWithin(std::numeric_limits<double>::quiet_NaN(), 3));
}

TEST(CParser, ConstantsHaveTheirMathematicalValues)
{
  EXPECT_EQ(Eval("pi*2"), 6.283185307179586);
  EXPECT_EQ(Eval("pi"), 3.141592653589793);
  EXPECT_EQ(Eval("epsilon"), 2.220446049250313e-16);
  EXPECT_EQ(Eval("1+epsilon") - 1.0, 2.220446049250313e-16);
  EXPECT_EQ(Eval("inf"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(Eval("-inf"), -std::numeric_limits<double>::infinity());
}

TEST(CParser, InfinityAndNanAreResultsNotFailures)
{
  CParser parser;
  parser.SetExpression("1/0");
  EXPECT_TRUE(parser.Evaluate());
  EXPECT_EQ(parser.GetResult(), std::numeric_limits<double>::infinity());
  parser.SetExpression("sqrt(-1)");
  EXPECT_TRUE(parser.Evaluate());
  EXPECT_TRUE(std::isnan(parser.GetResult()));
}

TEST(CParser, PolynomialsAtEveryDegree)
{
  EXPECT_EQ(Eval("poly2(2,1,0,3)"), 13.0);
  EXPECT_EQ(Eval("poly3(-1,0,0,0,1)"), -1.0);
  EXPECT_EQ(Eval("poly4(2, 1,1,1,1,1)"), 31.0);
  EXPECT_EQ(Eval("poly5(2, 1,1,1,1,1,1)"), 63.0);
  EXPECT_EQ(Eval("poly6(2, 1,1,1,1,1,1,1)"), 127.0);
  EXPECT_EQ(Eval("poly7(2, 1,1,1,1,1,1,1,1)"), 255.0);
  EXPECT_EQ(Eval("poly8(2, 1,1,1,1,1,1,1,1,1)"), 511.0);
  EXPECT_EQ(Eval("poly9(2, 1,1,1,1,1,1,1,1,1,1)"), 1023.0);
  EXPECT_EQ(Eval("poly10(2, 1,1,1,1,1,1,1,1,1,1,1)"), 2047.0);
  // Each coefficient belongs to its own power.
  EXPECT_EQ(Eval("poly10(10, 1,2,3,4,5,6,7,8,9,1,2)"), 21987654321.0);
  EXPECT_EQ(Eval("poly4(-3, 5,0,0,0,2)"), 167.0);

  // The low terms are added first: 1 is lost against 1e16 before -1e16 comes in, where adding from
  // the high powers down would give 1.
  const double lowFirst = ((0.0 * 1.0 + 1.0) + 1e16) + -1e16;
  ASSERT_NE(lowFirst, 1.0);
  EXPECT_EQ(Eval("poly3(1, 1, 0, 1e16, -1e16)"), lowFirst);

  for (int degree = 2; degree <= 10; ++degree) {
    const std::string name = "poly" + std::to_string(degree);
    std::string args = "2";
    for (int n = 0; n < degree; ++n)
      args += ",1";
    EXPECT_FALSE(Compiles(name + "(" + args + ")")) << "one coefficient short: " << name;
    EXPECT_TRUE(Compiles(name + "(" + args + ",1)")) << name;
    EXPECT_FALSE(Compiles(name + "(" + args + ",1,1)")) << "one coefficient over: " << name;
  }
  EXPECT_FALSE(Compiles("poly1(1,2,3)"));
  EXPECT_FALSE(Compiles("poly11(1,1,1,1,1,1,1,1,1,1,1,1,1)"));
}

TEST(CParser, EndlessLoopsFailInsteadOfHanging)
{
  CParser parser;
  parser.SetExpression("7");
  ASSERT_TRUE(parser.Evaluate());
  // The library refuses a loop whose condition is a constant true; a function call in the
  // condition gets past that check.
  for (const char* endless :
       {"while (true) { 1 }", "while (poly2(1,1,1,1)) { 1 }", "repeat 1 until (poly2(0,0,0,0))",
        "while (poly2(0,1,0,0) < 2) { 1 }; 5", "while (poly2(1,1,1,1)) { while (poly2(1,1,1,1)) { 2 } }",
        "~{ 3; while (poly2(1,1,1,1)) { 1 } }", "var v[1000]; while (poly2(1,1,1,1)) { v := v + 1 }"}) {
    parser.SetExpression(endless);
    EXPECT_FALSE(parser.Evaluate()) << endless;
    EXPECT_EQ(parser.GetResult(), 7.0) << endless;
  }

  // A loop that never runs is harmless.
  EXPECT_EQ(Eval("while (false) { 1 }; 4"), 4.0);
}

TEST(CParser, NestedLoopsShareOneBound)
{
  // An inner loop runs its repeats afresh at every repeat of the outer one.
  EXPECT_EQ(Eval("var n := 0; for (var i := 0; i < 100; i += 1) { for (var j := 0; j < 100; j += 1) { n += 1 "
                 "} }; n"),
            10000.0);
  EXPECT_FALSE(Compiles("var n := 0; for (var i := 0; i < 1000; i += 1) { for (var j := 0; j < 1000; j += 1) "
                        "{ n += 1 } }; n"));
  EXPECT_EQ(CParser::LoopLimit(20, 2), 316u) << "the square root of 100000";
  EXPECT_EQ(CParser::LoopLimit(20, 3), 46u);
  EXPECT_EQ(CParser::LoopLimit(20, 100), 1u);
}

TEST(CParser, LongTextsAreBoundedByTheirLength)
{
  // A sum of exactly the longest text evaluates; one character more fails and keeps the result.
  std::string sum = "1";
  while (sum.size() + 2 <= CParser::kMaxExpressionLength)
    sum += "+1";
  sum += std::string(CParser::kMaxExpressionLength - sum.size(), ' ');
  CParser parser;
  parser.SetExpression(sum);
  ASSERT_TRUE(parser.Evaluate());
  const double total = parser.GetResult();
  EXPECT_EQ(total, double(CParser::kMaxExpressionLength / 2));
  parser.SetExpression(sum + " ");
  EXPECT_FALSE(parser.Evaluate());
  EXPECT_EQ(parser.GetResult(), total);

  // An endless loop with a long body is given fewer repeats than a short one, so it fails as soon.
  std::string body;
  while (body.size() < 10000)
    body += "poly2(1,1,1,1)+";
  EXPECT_TRUE(std::isnan(Eval("while (poly2(1,1,1,1) > 0) { " + body + "1 }")));
  EXPECT_EQ(CParser::LoopLimit(20), CParser::kMaxLoopIterations) << "short loops keep the full count";
}

namespace {
// The longest text made of head and repeats of unit that keeps within length.
std::string Repeated(const std::string& head, const std::string& unit, std::size_t length)
{
  std::string text = head;
  while (text.size() + unit.size() <= length)
    text += unit;
  return text;
}
} // namespace

TEST(CParser, WorkOnVectorsIsBoundedWithoutALoop)
{
  // Each "tan(v)" costs a thousand tangents: the text's length times its vectors' values is the work
  // of one pass, loop or not.
  const std::size_t longest = CParser::kMaxWork / CParser::kMaxLocalVectorElements;
  const std::string terms = Repeated("var v[1000] := [1]; 0", "+sum(abs(v))", longest);
  EXPECT_TRUE(Compiles(terms));
  EXPECT_FALSE(Compiles(terms + "+sum(abs(v))"));
  EXPECT_TRUE(Compiles(Repeated("var v[10] := [1]; 0", "+sum(tan(v))", 2 * longest)));
}

namespace {
// The worst cost of one operation on a double, measured through the evaluator and rounded up:
// fmod of operands whose exponents lie far apart, the trigonometric functions of huge numbers.
struct SOperation {
  const char* term;
  double worstNs;
};
constexpr SOperation kOperations[] = {
    {"x%y", 2000}, {"mod(x,y)", 2000}, {"sinc(x)", 100},  {"tan(x)", 80}, {"sec(x)", 85},     {"erfc(x)", 70},
    {"x^y", 60},   {"pow(x,y)", 60},   {"root(x,y)", 40}, {"exp(x)", 35}, {"atan2(x,y)", 40}, {"x+y", 10},
};
} // namespace

TEST(CParser, EveryOperationIsBoundedByItsWorstCost)
{
  // A loop of a body of terms on every value of a vector: an accepted text stays within 50 ms of
  // work at the operations' worst costs, and a text of a millisecond of work is accepted. Whether a
  // text is accepted cannot depend on its operands' values, so cheap ones keep the test quick.
  std::mt19937 random(35);
  for (int round = 0; round < 120; ++round) {
    const SOperation& operation = kOperations[random() % std::size(kOperations)];
    const std::size_t terms = 1 + random() % 300;
    const std::size_t values = random() % 3 == 0 ? 1 + random() % 1000 : 0;
    const unsigned long long repeats = 1 + random() % 20000;
    std::string term = operation.term;
    std::string text = "var y := 2; var s := 0; ";
    if (values > 0) {
      text += "var x[" + std::to_string(values) + "] := [3]; ";
      term = "sum(" + term + ")";
    } else {
      text += "var x := 3; ";
    }
    text += "for (var i := 0; i < " + std::to_string(repeats) + "; i += 1) { s += 0";
    for (std::size_t t = 0; t < terms; ++t)
      text += "+" + term;
    text += " }; s";
    const double workMs =
        double(repeats) * double(terms) * double(std::max<std::size_t>(1, values)) * operation.worstNs / 1e6;
    const bool accepted = Compiles(text);
    if (accepted) {
      EXPECT_LE(workMs, 50.0) << text.substr(0, 120);
    } else if (workMs <= 1.0 && text.size() <= CParser::kMaxExpressionLength) {
      ADD_FAILURE() << "a millisecond of work is refused: " << text.substr(0, 120);
    }
  }

  // 183 repeats of a body of far-apart remainders took a second at every evaluation; one remainder
  // in a loop of a thousand is still fine.
  std::string body;
  while (body.size() < 16300)
    body += "+x%y";
  EXPECT_FALSE(Compiles("var x := 1e300; var y := 1e-300; var s := 0; for (var i := 0; i < 183; i += 1) "
                        "{ s += 0" +
                        body.substr(0, 16200) + " }; s"));
  EXPECT_EQ(Eval("var s := 0; for (var i := 0; i < 1000; i += 1) { s += 7 % 4 }; s"), 3000.0);
}

TEST(CParser, LocalNamesAndImpliedProductsAreCounted)
{
  // Definitions and the elements that constant indices reach share one count.
  std::string names;
  for (std::size_t i = 0; i + 1 < CParser::kMaxLocalNames; ++i)
    names += "var a" + std::to_string(i) + " := " + std::to_string(i) + "; ";
  EXPECT_EQ(Eval(names + "var z := 1; a100 + z"), 101.0);
  EXPECT_FALSE(Compiles(names + "var z := 1; var y := 2; a100"));
  std::string elements = "var v[2] := {1, 2}; 0";
  for (std::size_t i = 0; i + 1 < CParser::kMaxLocalNames; ++i)
    elements += "+v[1]";
  EXPECT_EQ(Eval(elements), double(CParser::kMaxLocalNames - 1) * 2.0);
  EXPECT_FALSE(Compiles(elements + "+v[0]"));

  // A bracket after a bracketed term or a variable multiplies; a loop's head before its body does not.
  const std::string products = Repeated("(1)", "(2)", 3 * (CParser::kMaxImpliedProducts + 1));
  EXPECT_EQ(Eval(products), std::pow(2.0, double(CParser::kMaxImpliedProducts)));
  EXPECT_FALSE(Compiles(products + "(2)"));
  EXPECT_FALSE(Compiles(Repeated("1", "+pi(2)", 7 * (CParser::kMaxImpliedProducts + 1))));
  const std::string controls = "while (false) { 1 }; if (1) { 2 }; ";
  EXPECT_EQ(Eval(Repeated("", controls, controls.size() * (CParser::kMaxImpliedProducts + 1)) + "3"), 3.0);
}
