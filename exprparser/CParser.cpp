// The only file that sees exprtk: compiling it costs over a minute and more than a gigabyte.
#include "CParser.h"

#include <exprtk.hpp>

#include <algorithm>
#include <cmath>
#include <exception>
#include <initializer_list>
#include <limits>
#include <numbers>

namespace {
using Function = exprtk::ifunction<double>;

// The library's replacer, joiner, numeric, bracket, sequence and commutative checks, without
// strength reduction. Local variable definitions are refused as well: expressions have no
// variables, and a "var v[1e9]" would otherwise allocate gigabytes. Without variables a loop either
// never runs or never ends; the library refuses a constant-true condition itself, and a condition
// that calls a function meets the iteration bound, so nested loops cannot multiply their counts.
using Settings = exprtk::parser<double>::settings_t;
constexpr std::size_t kCompileOptions =
    Settings::e_replacer + Settings::e_joiner + Settings::e_numeric_check + Settings::e_bracket_check +
    Settings::e_sequence_check + Settings::e_commutative_check + Settings::e_disable_vardef;

// polyN(x, c0, ..., cN) adds its terms from the low powers up; a floating-point sum depends on its
// order, and fitted coefficients are used with this one.
double LinearTerms(double x, double c0, double c1)
{
  return c1 * x + c0;
}

// Adds c[k] * x^k for k = 2 .. count-1 to c1*x + c0.
double PowerSum(double x, std::initializer_list<double> c)
{
  const double* coefficient = c.begin();
  double sum = LinearTerms(x, coefficient[0], coefficient[1]);
  for (std::size_t k = 2; k < c.size(); ++k)
    sum += coefficient[k] * std::pow(x, double(k));
  return sum;
}

using D = const double&;
} // namespace

// The square term as x * c2 * x, not c2 * x^2: the last bit can differ, and poly2 has always done so.
struct CParser::poly2 : Function {
  poly2() : Function(4) {}
  using Function::operator();
  double operator()(const double& x, const double& c0, const double& c1, const double& c2) override
  {
    return LinearTerms(x, c0, c1) + x * c2 * x;
  }
};

struct CParser::poly3 : Function {
  poly3() : Function(5) {}
  using Function::operator();
  double operator()(D x, D c0, D c1, D c2, D c3) override { return PowerSum(x, {c0, c1, c2, c3}); }
};
struct CParser::poly4 : Function {
  poly4() : Function(6) {}
  using Function::operator();
  double operator()(D x, D c0, D c1, D c2, D c3, D c4) override { return PowerSum(x, {c0, c1, c2, c3, c4}); }
};
struct CParser::poly5 : Function {
  poly5() : Function(7) {}
  using Function::operator();
  double operator()(D x, D c0, D c1, D c2, D c3, D c4, D c5) override
  {
    return PowerSum(x, {c0, c1, c2, c3, c4, c5});
  }
};
struct CParser::poly6 : Function {
  poly6() : Function(8) {}
  using Function::operator();
  double operator()(D x, D c0, D c1, D c2, D c3, D c4, D c5, D c6) override
  {
    return PowerSum(x, {c0, c1, c2, c3, c4, c5, c6});
  }
};
struct CParser::poly7 : Function {
  poly7() : Function(9) {}
  using Function::operator();
  double operator()(D x, D c0, D c1, D c2, D c3, D c4, D c5, D c6, D c7) override
  {
    return PowerSum(x, {c0, c1, c2, c3, c4, c5, c6, c7});
  }
};
struct CParser::poly8 : Function {
  poly8() : Function(10) {}
  using Function::operator();
  double operator()(D x, D c0, D c1, D c2, D c3, D c4, D c5, D c6, D c7, D c8) override
  {
    return PowerSum(x, {c0, c1, c2, c3, c4, c5, c6, c7, c8});
  }
};
struct CParser::poly9 : Function {
  poly9() : Function(11) {}
  using Function::operator();
  double operator()(D x, D c0, D c1, D c2, D c3, D c4, D c5, D c6, D c7, D c8, D c9) override
  {
    return PowerSum(x, {c0, c1, c2, c3, c4, c5, c6, c7, c8, c9});
  }
};
struct CParser::poly10 : Function {
  poly10() : Function(12) {}
  using Function::operator();
  double operator()(D x, D c0, D c1, D c2, D c3, D c4, D c5, D c6, D c7, D c8, D c9, D c10) override
  {
    return PowerSum(x, {c0, c1, c2, c3, c4, c5, c6, c7, c8, c9, c10});
  }
};

// The functions and the loop check come first, so that they outlive the table, the compiled
// expression and the parser, which point at them.
struct CParser::Engine {
  exprtk::loop_runtime_check loopCheck;
  CParser::poly2 m_poly2;
  CParser::poly3 m_poly3;
  CParser::poly4 m_poly4;
  CParser::poly5 m_poly5;
  CParser::poly6 m_poly6;
  CParser::poly7 m_poly7;
  CParser::poly8 m_poly8;
  CParser::poly9 m_poly9;
  CParser::poly10 m_poly10;
  exprtk::symbol_table<double> symbols;
  exprtk::expression<double> expression;
  exprtk::parser<double> parser{Settings(kCompileOptions)};

  Engine()
  {
    symbols.add_function("poly2", m_poly2);
    symbols.add_function("poly3", m_poly3);
    symbols.add_function("poly4", m_poly4);
    symbols.add_function("poly5", m_poly5);
    symbols.add_function("poly6", m_poly6);
    symbols.add_function("poly7", m_poly7);
    symbols.add_function("poly8", m_poly8);
    symbols.add_function("poly9", m_poly9);
    symbols.add_function("poly10", m_poly10);
    // Not add_constants: its epsilon is a comparison tolerance (1e-10), while expressions mean the
    // spacing of doubles at 1.
    symbols.add_constant("pi", std::numbers::pi);
    symbols.add_constant("epsilon", std::numeric_limits<double>::epsilon());
    symbols.add_constant("inf", std::numeric_limits<double>::infinity());
    // The expression keeps a list of tables and appends on every registration: once is enough.
    expression.register_symbol_table(symbols);

    loopCheck.loop_set = exprtk::loop_runtime_check::e_all_loops;
    loopCheck.max_loop_iterations = kMaxLoopIterations;
    parser.register_loop_runtime_check(loopCheck);
  }
};

CParser::CParser() : m_engine(std::make_unique<Engine>()) {}

CParser::~CParser() = default;

void CParser::SetExpression(const std::string& text)
{
  m_expressionText = text;
}

unsigned long long CParser::LoopLimit(std::size_t expressionLength)
{
  if (expressionLength == 0)
    return kMaxLoopIterations;
  return std::max(1ULL, std::min(kMaxLoopIterations, kMaxLoopWork / expressionLength));
}

bool CParser::Evaluate()
{
  if (m_expressionText.size() > kMaxExpressionLength)
    return false;
  // The loop nodes read the bound through a reference at every repeat.
  m_engine->loopCheck.max_loop_iterations = LoopLimit(m_expressionText.size());
  // A loop past its bound throws out of the evaluation; the library may also run out of memory.
  try {
    if (!m_engine->parser.compile(m_expressionText, m_engine->expression))
      return false;
    m_result = m_engine->expression.value();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
