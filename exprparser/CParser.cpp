// The only file that sees exprtk: compiling it costs over a minute and more than a gigabyte.
#include "CParser.h"

#include <exprtk.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <set>
#include <vector>

namespace {
using Function = exprtk::ifunction<double>;

// The library's replacer, joiner, numeric, bracket, sequence and commutative checks, without
// strength reduction; the variables an expression names are collected, so that its local strings
// are seen before it runs (LocalStringDefined).
using Settings = exprtk::parser<double>::settings_t;
constexpr std::size_t kCompileOptions =
    Settings::e_replacer + Settings::e_joiner + Settings::e_numeric_check + Settings::e_bracket_check +
    Settings::e_sequence_check + Settings::e_commutative_check + Settings::e_collect_vars;

using Token = exprtk::lexer::token;

bool IsVar(const Token& token)
{
  return token.type == Token::e_symbol && exprtk::details::imatch(token.value, "var");
}

int BracketDepthChange(const Token& token)
{
  switch (token.type) {
  case Token::e_lbracket:
  case Token::e_lsqrbracket:
  case Token::e_lcrlbracket:
    return 1;
  case Token::e_rbracket:
  case Token::e_rsqrbracket:
  case Token::e_rcrlbracket:
    return -1;
  default:
    return 0;
  }
}

// A local string can grow without bound: s := s + s in a loop doubles it at every repeat.
bool LocalStringDefined(exprtk::parser<double>& parser)
{
  std::vector<exprtk::parser<double>::dependent_entity_collector::symbol_t> symbols;
  parser.dec().symbols(symbols);
  return std::any_of(symbols.begin(), symbols.end(), [](const auto& symbol) {
    return symbol.second == exprtk::parser<double>::e_st_local_string;
  });
}

bool PowerAtMost(unsigned long long base, std::size_t exponent, unsigned long long limit)
{
  unsigned long long power = 1;
  for (std::size_t i = 0; i < exponent; ++i) {
    if (power > limit / base)
      return false;
    power *= base;
  }
  return true;
}

bool IsLoop(const Token& token)
{
  return token.type == Token::e_symbol &&
         (exprtk::details::imatch(token.value, "for") || exprtk::details::imatch(token.value, "while") ||
          exprtk::details::imatch(token.value, "repeat"));
}

std::string Lowercase(std::string text)
{
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

// The token that closes the bracket opened just before first, or the end.
std::size_t ClosingBracket(exprtk::lexer::generator& tokens, std::size_t first)
{
  std::size_t close = first;
  for (int depth = 1; close < tokens.size(); ++close) {
    depth += BracketDepthChange(tokens[close]);
    if (depth == 0)
      break;
  }
  return close;
}

// An index that is a number, or arithmetic of numbers: the library folds it to a constant and
// checks it against the vector's size. Any other index reads and writes wherever it points.
bool IsConstantIndex(exprtk::lexer::generator& tokens, std::size_t first, std::size_t close)
{
  for (std::size_t i = first; i < close; ++i) {
    switch (tokens[i].type) {
    case Token::e_number:
    case Token::e_add:
    case Token::e_sub:
    case Token::e_mul:
    case Token::e_div:
    case Token::e_mod:
    case Token::e_pow:
    case Token::e_lbracket:
    case Token::e_rbracket:
      break;
    default:
      return false;
    }
  }
  return true;
}

// The library allocates a local vector while it compiles its definition ("var v[n]"), so the
// sizes are read here first: each is the text between the definition's brackets, evaluated alone.
// The values all of them hold, or nothing when a size is not a whole number from 1 up to what is
// left of the bound, or when an element is reached by an index that is not constant.
std::optional<std::size_t> LocalVectorElements(const std::string& text, exprtk::lexer::generator& tokens)
{
  std::size_t total = 0;
  std::set<std::string> names;
  std::unique_ptr<CParser> size; // made once, for the first definition
  for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
    if (!IsVar(tokens[i]) || tokens[i + 1].type != Token::e_symbol ||
        tokens[i + 2].type != Token::e_lsqrbracket)
      continue;
    const std::size_t first = i + 3;
    const std::size_t close = ClosingBracket(tokens, first);
    if (close >= tokens.size())
      return std::nullopt;
    // A definition inside a size is never a constant, which a size must be.
    if (std::any_of(&tokens[first], &tokens[first] + (close - first), IsVar))
      return std::nullopt;
    if (!size)
      size = std::make_unique<CParser>();
    size->SetExpression(text.substr(tokens[first].position, tokens[close].position - tokens[first].position));
    if (!size->Evaluate())
      return std::nullopt;
    const double count = size->GetResult();
    if (!(count >= 1.0 && count <= double(CParser::kMaxLocalVectorElements - total)) ||
        count != std::trunc(count))
      return std::nullopt;
    total += std::size_t(count);
    names.insert(Lowercase(tokens[i + 1].value));
    i = close;
  }
  for (std::size_t i = 0; !names.empty() && i + 1 < tokens.size(); ++i) {
    if (tokens[i].type != Token::e_symbol || tokens[i + 1].type != Token::e_lsqrbracket ||
        (i > 0 && IsVar(tokens[i - 1])) || !names.contains(Lowercase(tokens[i].value)))
      continue;
    const std::size_t close = ClosingBracket(tokens, i + 2);
    if (close >= tokens.size() || !IsConstantIndex(tokens, i + 2, close))
      return std::nullopt;
  }
  return total;
}

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

unsigned long long CParser::LoopLimit(std::size_t work, std::size_t loops)
{
  const unsigned long long all =
      work == 0 ? kMaxLoopIterations : std::max(1ULL, std::min(kMaxLoopIterations, kMaxLoopWork / work));
  if (loops <= 1)
    return all;
  auto root = static_cast<unsigned long long>(std::pow(double(all), 1.0 / double(loops)));
  while (root > 1 && !PowerAtMost(root, loops, all))
    --root;
  while (PowerAtMost(root + 1, loops, all))
    ++root;
  return std::max(1ULL, root);
}

std::optional<unsigned long long> CParser::RepeatLimit(const std::string& text)
{
  exprtk::lexer::generator tokens;
  // A text the library cannot split fails to compile before it defines anything.
  if (!tokens.process(text))
    return kMaxLoopIterations;
  const std::optional<std::size_t> vectorElements = LocalVectorElements(text, tokens);
  if (!vectorElements)
    return std::nullopt;
  std::size_t loops = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i)
    loops += IsLoop(tokens[i]) ? 1 : 0;
  // One character can stand for work on every element of a local vector.
  return LoopLimit(text.size() * std::max<std::size_t>(1, *vectorElements), loops);
}

bool CParser::Evaluate()
{
  if (m_expressionText.size() > kMaxExpressionLength)
    return false;
  const std::optional<unsigned long long> repeats = RepeatLimit(m_expressionText);
  if (!repeats)
    return false;
  // The loop nodes read the bound through a reference at every repeat.
  m_engine->loopCheck.max_loop_iterations = *repeats;
  // A loop past its bound throws out of the evaluation; the library may also run out of memory.
  try {
    if (!m_engine->parser.compile(m_expressionText, m_engine->expression) ||
        LocalStringDefined(m_engine->parser))
      return false;
    m_result = m_engine->expression.value();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
