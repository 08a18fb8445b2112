// The only file that sees exprtk: compiling it costs over a minute and more than a gigabyte.
#include "CParser.h"

// An expression is arithmetic: without its strings the library has no string operation that a text
// could reach (a range past a string's end, "like" over long literals in a loop).
#define exprtk_disable_string_capabilities
#include <exprtk.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <initializer_list>
#include <limits>
#include <map>
#include <numbers>
#include <set>
#include <utility>
#include <vector>

namespace {
using Function = exprtk::ifunction<double>;

// The library's replacer, joiner, numeric, bracket, sequence and commutative checks, without
// strength reduction.
using Settings = exprtk::parser<double>::settings_t;
constexpr std::size_t kCompileOptions = Settings::e_replacer + Settings::e_joiner +
                                        Settings::e_numeric_check + Settings::e_bracket_check +
                                        Settings::e_sequence_check + Settings::e_commutative_check;

using Token = exprtk::lexer::token;

// roundn(x, n) as the library rounds, to at most the 16 digits of its table, but without turning a
// count of digits beyond an int (1e20) into an int first.
struct RoundDigits : Function {
  RoundDigits() : Function(2) {}
  using Function::operator();
  double operator()(const double& x, const double& digits) override
  {
    const double n = std::floor(digits);
    const std::size_t last = exprtk::details::pow10_size - 1;
    const std::size_t index = n >= double(last) ? last : n >= 1.0 ? std::size_t(n) : 0;
    const double p10 = exprtk::details::pow10[index];
    return x < 0.0 ? std::ceil(x * p10 - 0.5) / p10 : std::floor(x * p10 + 0.5) / p10;
  }
};

bool IsSymbol(const Token& token, const char* name)
{
  return token.type == Token::e_symbol && exprtk::details::imatch(token.value, name);
}

bool IsVar(const Token& token)
{
  return IsSymbol(token, "var");
}

bool IsLoop(const Token& token)
{
  return IsSymbol(token, "for") || IsSymbol(token, "while") || IsSymbol(token, "repeat");
}

// A bracket after one of these holds a condition or a loop's head, not a term.
bool IsControl(const Token& token)
{
  return IsSymbol(token, "for") || IsSymbol(token, "while") || IsSymbol(token, "if") ||
         IsSymbol(token, "until");
}

bool IsOpening(const Token& token)
{
  return token.type == Token::e_lbracket || token.type == Token::e_lsqrbracket ||
         token.type == Token::e_lcrlbracket;
}

bool IsClosing(const Token& token)
{
  return token.type == Token::e_rbracket || token.type == Token::e_rsqrbracket ||
         token.type == Token::e_rcrlbracket;
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
    depth += IsOpening(tokens[close]) ? 1 : IsClosing(tokens[close]) ? -1 : 0;
    if (depth == 0)
      break;
  }
  return close;
}

// Numbers, or arithmetic of numbers: the library folds them to a constant while it compiles.
bool IsArithmeticOfNumbers(exprtk::lexer::generator& tokens, std::size_t first, std::size_t close)
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
  return first < close;
}

// The work of one pass in characters, each standing for about 10 ns, as the bound counts it: the
// text's length, and for each operation dearer than its characters, its worst cost measured through
// the evaluator (rounded up, in those units). fmod takes one step per bit between its operands'
// exponents: 1e308 % 1e-300 took 1.9 us. The other worst cases are huge arguments to the
// trigonometric functions (reduced by their period first) and erfc just before it underflows.
std::size_t WeighedLength(const std::string& text, exprtk::lexer::generator& tokens)
{
  static const std::map<std::string, std::size_t> kSurcharges = {
      {"mod", CParser::kModuloWork},
      {"sinc", 10},
      {"sin", 8},
      {"cos", 8},
      {"tan", 8},
      {"cot", 8},
      {"sec", 8},
      {"csc", 8},
      {"erfc", 7},
      {"pow", 6},
      {"root", 6},
      {"exp", 4},
      {"logn", 4},
      {"atan2", 4},
      {"erf", 3},
      {"ncdf", 3},
      {"hypot", 3},
      {"log", 2},
      {"log10", 2},
      {"log2", 2},
      {"log1p", 2},
      {"expm1", 2},
  };
  std::size_t work = text.size();
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    if (token.type == Token::e_mod || token.type == Token::e_modass) {
      work += CParser::kModuloWork;
    } else if (token.type == Token::e_pow) {
      work += 6;
    } else if (token.type == Token::e_symbol) {
      const auto surcharge = kSurcharges.find(Lowercase(token.value));
      work += surcharge == kSurcharges.end() ? 0 : surcharge->second;
    }
  }
  return work;
}

// What a text asks of the library, read from its tokens before the library compiles it: the
// library allocates a local vector while it compiles its definition ("var v[n]") and turns a
// constant index into an int unchecked, so sizes and indices are evaluated here first, each alone.
class TextShape {
public:
  TextShape(const std::string& text, exprtk::lexer::generator& tokens) : m_text(text), m_tokens(tokens) {}

  // False when the text asks more than CParser's bounds allow.
  bool Read() { return !Unsafe() && ReadDefinitions() && ReadElements() && FewImpliedProducts(); }
  std::size_t VectorElements() const { return m_vectorElements; }
  std::size_t Loops() const;

private:
  bool ReadDefinitions();
  bool ReadElements();
  bool FewImpliedProducts();
  bool Unsafe() const;
  bool NameAdded() { return ++m_localNames <= CParser::kMaxLocalNames; }
  std::optional<double> Constant(std::size_t first, std::size_t close);
  bool IsVariable(std::size_t i) const;

  const std::string& m_text;
  exprtk::lexer::generator& m_tokens;
  std::unique_ptr<CParser> m_constant;              // made for the first size or index that is not one number
  std::map<std::string, std::size_t> m_vectorSizes; // by lowercase name: the smallest definition
  std::set<std::string> m_variables;                // lowercase
  std::size_t m_vectorElements = 0;
  std::size_t m_localNames = 0;
};

std::size_t TextShape::Loops() const
{
  std::size_t loops = 0;
  for (std::size_t i = 0; i < m_tokens.size(); ++i)
    loops += IsLoop(m_tokens[i]) ? 1 : 0;
  return loops;
}

std::optional<double> TextShape::Constant(std::size_t first, std::size_t close)
{
  if (!IsArithmeticOfNumbers(m_tokens, first, close))
    return std::nullopt;
  double value = 0.0;
  if (close == first + 1)
    return exprtk::details::string_to_real(m_tokens[first].value, value) ? std::optional(value)
                                                                         : std::nullopt;
  if (!m_constant)
    m_constant = std::make_unique<CParser>();
  m_constant->SetExpression(
      m_text.substr(m_tokens[first].position, m_tokens[close].position - m_tokens[first].position));
  return m_constant->Evaluate() ? std::optional(m_constant->GetResult()) : std::nullopt;
}

// Each size is a whole number from 1 up to what is left of kMaxLocalVectorElements.
bool TextShape::ReadDefinitions()
{
  for (std::size_t i = 0; i < m_tokens.size(); ++i) {
    if (!IsVar(m_tokens[i]))
      continue;
    if (!NameAdded())
      return false;
    if (i + 1 >= m_tokens.size() || m_tokens[i + 1].type != Token::e_symbol)
      continue;
    const std::string name = Lowercase(m_tokens[i + 1].value);
    if (i + 2 >= m_tokens.size() || m_tokens[i + 2].type != Token::e_lsqrbracket) {
      m_variables.insert(name);
      continue;
    }
    const std::size_t close = ClosingBracket(m_tokens, i + 3);
    if (close >= m_tokens.size())
      return false;
    const std::optional<double> count = Constant(i + 3, close);
    if (!count || !(*count >= 1.0 && *count <= double(CParser::kMaxLocalVectorElements - m_vectorElements)) ||
        *count != std::trunc(*count))
      return false;
    const auto size = std::size_t(*count);
    m_vectorElements += size;
    const auto [known, added] = m_vectorSizes.try_emplace(name, size);
    known->second = std::min(known->second, size);
    i = close;
  }
  return true;
}

// Only a constant index is checked by the library; any other reads and writes wherever it points.
// The library truncates the index towards zero.
bool TextShape::ReadElements()
{
  for (std::size_t i = 0; !m_vectorSizes.empty() && i + 1 < m_tokens.size(); ++i) {
    if (m_tokens[i].type != Token::e_symbol || m_tokens[i + 1].type != Token::e_lsqrbracket ||
        (i > 0 && IsVar(m_tokens[i - 1])))
      continue;
    const auto vector = m_vectorSizes.find(Lowercase(m_tokens[i].value));
    if (vector == m_vectorSizes.end())
      continue;
    const std::size_t close = ClosingBracket(m_tokens, i + 2);
    if (close >= m_tokens.size())
      return false;
    if (close == i + 2)
      continue; // "v[]" is the vector's size
    const std::optional<double> index = Constant(i + 2, close);
    if (!index || !CParser::ConstantIndexWithin(*index, vector->second) || !NameAdded())
      return false;
  }
  return true;
}

// A variable before a bracket, which the bracket multiplies; a vector before "[" is indexed.
bool TextShape::IsVariable(std::size_t i) const
{
  const std::string name = Lowercase(m_tokens[i].value);
  if (m_vectorSizes.contains(name))
    return m_tokens[i + 1].type != Token::e_lsqrbracket;
  return m_variables.contains(name) || name == "pi" || name == "epsilon" || name == "inf";
}

// Statements of which the library loses nodes on every compile: a trace query evaluated on every
// tick would take memory without end. A "switch" without a "default" keeps none of its cases but
// never frees them, and a "[*] { case ... }" statement whose case does not compile loses the case.
// And shl(x, n) and shr(x, n) turn any n into an int: one beyond an int is undefined behaviour.
bool TextShape::Unsafe() const
{
  enum Bracket { kOther, kSwitch, kSwitchWithDefault };
  std::vector<Bracket> open;
  for (std::size_t i = 0; i < m_tokens.size(); ++i) {
    const Token& token = m_tokens[i];
    if (IsSymbol(token, "shl") || IsSymbol(token, "shr"))
      return true;
    if (i + 2 < m_tokens.size() && token.type == Token::e_lsqrbracket &&
        m_tokens[i + 1].type == Token::e_mul && m_tokens[i + 2].type == Token::e_rsqrbracket)
      return true;
    if (IsOpening(token)) {
      open.push_back(i > 0 && IsSymbol(m_tokens[i - 1], "switch") ? kSwitch : kOther);
    } else if (IsClosing(token) && !open.empty()) {
      if (open.back() == kSwitch)
        return true;
      open.pop_back();
    } else if (IsSymbol(token, "default") && !open.empty() && open.back() == kSwitch) {
      open.back() = kSwitchWithDefault;
    }
  }
  return false;
}

bool TextShape::FewImpliedProducts()
{
  std::size_t products = 0;
  std::vector<bool> control; // for each open bracket
  for (std::size_t i = 0; i + 1 < m_tokens.size(); ++i) {
    const Token& token = m_tokens[i];
    const bool beforeOpening = IsOpening(m_tokens[i + 1]);
    if (IsOpening(token)) {
      control.push_back(i > 0 && IsControl(m_tokens[i - 1]));
    } else if (IsClosing(token)) {
      const bool closesControl = !control.empty() && control.back();
      if (!control.empty())
        control.pop_back();
      products += beforeOpening && !closesControl ? 1 : 0;
    } else if (token.type == Token::e_symbol && beforeOpening && IsVariable(i)) {
      products += 1;
    }
  }
  return products <= CParser::kMaxImpliedProducts;
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
  RoundDigits m_roundn;
  exprtk::symbol_table<double> symbols;
  exprtk::expression<double> expression;
  exprtk::parser<double> parser{Settings(kCompileOptions).disable_base_function(Settings::e_bf_roundn)};

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
    symbols.add_reserved_function("roundn", m_roundn);
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
      work == 0 ? kMaxLoopIterations : std::max(1ULL, std::min(kMaxLoopIterations, kMaxWork / work));
  if (loops <= 1)
    return all;
  auto root = static_cast<unsigned long long>(std::pow(double(all), 1.0 / double(loops)));
  while (root > 1 && !PowerAtMost(root, loops, all))
    --root;
  while (PowerAtMost(root + 1, loops, all))
    ++root;
  return std::max(1ULL, root);
}

bool CParser::ConstantIndexWithin(double index, std::size_t size)
{
  return index > -1.0 && index < double(size);
}

std::optional<unsigned long long> CParser::RepeatLimit(const std::string& text)
{
  exprtk::lexer::generator tokens;
  // A text the library cannot split fails to compile before it defines anything.
  if (!tokens.process(text))
    return kMaxLoopIterations;
  TextShape shape(text, tokens);
  if (!shape.Read())
    return std::nullopt;
  // One character can stand for work on every value of the local vectors.
  const std::size_t work = WeighedLength(text, tokens) * std::max<std::size_t>(1, shape.VectorElements());
  if (work > kMaxWork)
    return std::nullopt;
  return LoopLimit(work, shape.Loops());
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
    if (!m_engine->parser.compile(m_expressionText, m_engine->expression))
      return false;
    m_result = m_engine->expression.value();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
