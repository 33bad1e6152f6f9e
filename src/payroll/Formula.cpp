#include "payroll/Formula.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>

#include "db/LatinCase.h"
#include "payroll/SalaryColumns.h"

namespace rsgz::payroll {

using db::Money;

struct Formula::Node {
    enum class Kind { Number, Column, Unary, Binary, Call } kind;
    std::string text;  // number, column, operator (lower case for words) or function (lower case)
    std::vector<std::unique_ptr<Node>> args;
    int slot = -1;         // a column: its place in columns()
    Money value;           // a number to four decimals
    int64_t exact = 0;     // a number with all its decimals: exact / 10^places
    int places = 0;
    // The operator or function as a code, set once the tree is read, so a row is worked out
    // without comparing texts.
    enum class Op { None, Neg, Not, Add, Sub, Mul, Div, IDiv, Mod, Pow, And, Or, Eq, Ne, Lt, Gt, Le, Ge,
                    IIf, Int, Fix, Round, Abs, Sgn } op = Op::None;
};

namespace {

// --- tokens ----------------------------------------------------------------------------------------

enum class Tok { Number, Name, Op, LParen, RParen, Comma, End };

struct Token {
    Tok kind = Tok::End;
    QString text;  // a name without its brackets; an operator as written
    int pos = 0;   // 1-based
};

struct Fault {
    int pos;
    std::string reason;
};

constexpr int kMaxLength = 1000;

std::string quoted(const QString& s) { return "“" + s.toStdString() + "”"; }

bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
// Full-width punctuation looks like what was meant but is another character.
bool isFullWidth(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF00 && u <= 0xFFEF);
}

// --- exact arithmetic ----------------------------------------------------------------------------

using Wide = __int128;
constexpr Wide kUnitLimit = static_cast<Wide>(9'200'000'000'000'000'000ULL);

Wide power10(int n)
{
    Wide p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// num / den rounded half to even; false when the result is no amount.
bool divideHalfEven(Wide num, Wide den, int64_t* out)
{
    if (den == 0) return false;
    if (den < 0) num = -num, den = -den;
    Wide q = num / den, r = num % den;
    const Wide twice = 2 * (r < 0 ? -r : r);
    if (twice > den || (twice == den && q % 2 != 0)) q += r < 0 ? -1 : 1;
    if (q >= kUnitLimit || q <= -kUnitLimit) return false;
    *out = static_cast<int64_t>(q);
    return true;
}

// A whole number of 10^-places shifted by `shift` decimal places (negative: fewer), half to even.
int64_t scaleHalfEven(int64_t value, int shift)
{
    int64_t out = 0;
    if (shift >= 0) return value * static_cast<int64_t>(power10(shift));
    divideHalfEven(value, power10(-shift), &out);
    return out;
}

class Lexer {
public:
    explicit Lexer(const QString& text) : s_(text) {}

    std::vector<Token> run()
    {
        std::vector<Token> out;
        while (true) {
            while (i_ < s_.size() && s_[i_].isSpace()) ++i_;
            if (i_ >= s_.size()) break;
            out.push_back(next());
        }
        out.push_back({Tok::End, {}, static_cast<int>(s_.size()) + 1});
        return out;
    }

private:
    Token next()
    {
        const int start = static_cast<int>(i_);
        const QChar c = s_[i_];
        const int pos = start + 1;
        if (c.isDigit() || (c == u'.' && i_ + 1 < s_.size() && s_[i_ + 1].isDigit())) return number(pos);
        if (isNameStart(c) && !isFullWidth(c)) {
            while (i_ < s_.size() && isNameChar(s_[i_]) && !isFullWidth(s_[i_])) ++i_;
            return {Tok::Name, s_.mid(start, i_ - start), pos};
        }
        if (c == u'[') return bracketName(pos);
        const QString two = s_.mid(i_, 2);
        if (two == u"--" || two == u"/*" || two == u"*/") throw Fault{pos, "公式中不能有注释" + quoted(two)};
        if (two == u"<>" || two == u"<=" || two == u">=") {
            i_ += 2;
            return {Tok::Op, two, pos};
        }
        ++i_;
        if (c == u'(') return {Tok::LParen, c, pos};
        if (c == u')') return {Tok::RParen, c, pos};
        if (c == u',') return {Tok::Comma, c, pos};
        if (QStringLiteral("+-*/\\^=<>").contains(c)) return {Tok::Op, c, pos};
        if (isFullWidth(c)) throw Fault{pos, "全角字符" + quoted(c) + "，请改用半角字符"};
        throw Fault{pos, "公式中不能有字符" + quoted(c)};
    }

    Token number(int pos)
    {
        const qsizetype start = i_;
        int points = 0;
        while (i_ < s_.size() && (s_[i_].isDigit() || s_[i_] == u'.')) points += s_[i_++] == u'.';
        QString text = s_.mid(start, i_ - start);
        if (points > 1) throw Fault{pos, "数字" + quoted(text) + "写法有误"};
        if (i_ < s_.size() && isNameChar(s_[i_])) throw Fault{static_cast<int>(i_) + 1, "数字后面缺少运算符"};
        if (text.startsWith(u'.')) text.prepend(u'0');
        if (text.endsWith(u'.')) text.append(u'0');
        return {Tok::Number, text, pos};
    }

    Token bracketName(int pos)
    {
        const qsizetype close = s_.indexOf(u']', i_);
        if (close < 0) throw Fault{pos, "方括号没有结束"};
        const QString name = s_.mid(i_ + 1, close - i_ - 1).trimmed();
        i_ = close + 1;
        return {Tok::Name, name, pos};
    }

    const QString& s_;
    qsizetype i_ = 0;
};

// --- tree ----------------------------------------------------------------------------------------

using Node = Formula::Node;
using NodePtr = std::unique_ptr<Node>;

NodePtr leaf(Node::Kind kind, std::string text)
{
    auto n = std::make_unique<Node>();
    n->kind = kind;
    n->text = std::move(text);
    return n;
}

NodePtr combine(Node::Kind kind, std::string op, std::vector<NodePtr> args)
{
    NodePtr n = leaf(kind, std::move(op));
    n->args = std::move(args);
    return n;
}

struct FunctionInfo {
    const char* name;
    int minArgs, maxArgs;
};
constexpr FunctionInfo kFunctions[] = {{"iif", 3, 3}, {"int", 1, 1}, {"fix", 1, 1},
                                       {"round", 1, 2}, {"abs", 1, 1}, {"sgn", 1, 1}};

const FunctionInfo* findFunction(const QString& name)
{
    const std::string lower = db::foldLatin(name.toStdString());
    for (const FunctionInfo& f : kFunctions)
        if (lower == f.name) return &f;
    return nullptr;
}

bool isWord(const Token& t, const char* word)
{
    return t.kind == Tok::Name && db::equalsIgnoringLatinCase(t.text.toStdString(), word);
}

bool isWordOperator(const Token& t) { return isWord(t, "mod") || isWord(t, "and") || isWord(t, "or") || isWord(t, "not"); }

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    NodePtr run()
    {
        NodePtr root = orExpr();
        const Token& rest = peek();
        if (rest.kind == Tok::RParen) throw Fault{rest.pos, "多余的右括号"};
        if (rest.kind != Tok::End) throw Fault{rest.pos, "此处缺少运算符"};
        return root;
    }

private:
    static constexpr int kMaxDepth = 60;

    const Token& peek() const { return t_[k_]; }
    Token take() { return t_[k_++]; }
    bool isOp(const char* op) const { return peek().kind == Tok::Op && peek().text == QLatin1String(op); }

    NodePtr binary(std::string op, NodePtr a, NodePtr b)
    {
        std::vector<NodePtr> args;
        args.push_back(std::move(a));
        args.push_back(std::move(b));
        return combine(Node::Kind::Binary, std::move(op), std::move(args));
    }
    NodePtr unary(std::string op, NodePtr a)
    {
        std::vector<NodePtr> args;
        args.push_back(std::move(a));
        return combine(Node::Kind::Unary, std::move(op), std::move(args));
    }

    // Lowest to highest: Or, And, Not, comparisons, + -, Mod, \, * /, unary sign, ^.
    NodePtr orExpr()
    {
        NodePtr n = andExpr();
        while (isWord(peek(), "or")) take(), n = binary("or", std::move(n), andExpr());
        return n;
    }
    NodePtr andExpr()
    {
        NodePtr n = notExpr();
        while (isWord(peek(), "and")) take(), n = binary("and", std::move(n), notExpr());
        return n;
    }
    NodePtr notExpr()
    {
        if (!isWord(peek(), "not")) return comparison();
        Depth d(this);
        take();
        return unary("not", notExpr());
    }
    NodePtr comparison()
    {
        NodePtr n = additive();
        while (isOp("=") || isOp("<>") || isOp("<") || isOp(">") || isOp("<=") || isOp(">=")) {
            const std::string op = take().text.toStdString();
            n = binary(op, std::move(n), additive());
        }
        return n;
    }
    NodePtr additive()
    {
        NodePtr n = modulo();
        while (isOp("+") || isOp("-")) {
            const std::string op = take().text.toStdString();
            n = binary(op, std::move(n), modulo());
        }
        return n;
    }
    NodePtr modulo()
    {
        NodePtr n = wholeDivision();
        while (isWord(peek(), "mod")) take(), n = binary("mod", std::move(n), wholeDivision());
        return n;
    }
    NodePtr wholeDivision()
    {
        NodePtr n = multiplicative();
        while (isOp("\\")) take(), n = binary("\\", std::move(n), multiplicative());
        return n;
    }
    NodePtr multiplicative()
    {
        NodePtr n = signed_();
        while (isOp("*") || isOp("/")) {
            const std::string op = take().text.toStdString();
            n = binary(op, std::move(n), signed_());
        }
        return n;
    }
    // A sign binds looser than ^: -2^2 is -4.
    NodePtr signed_()
    {
        if (!isOp("-") && !isOp("+")) return power();
        Depth d(this);
        const std::string op = take().text.toStdString();
        NodePtr operand = signed_();
        return op == "-" ? unary("-", std::move(operand)) : std::move(operand);
    }
    NodePtr power()
    {
        NodePtr n = primary();
        while (isOp("^")) {
            take();
            n = binary("^", std::move(n), exponent());
        }
        return n;
    }
    NodePtr exponent()
    {
        if (!isOp("-") && !isOp("+")) return primary();
        Depth d(this);
        const std::string op = take().text.toStdString();
        NodePtr operand = exponent();
        return op == "-" ? unary("-", std::move(operand)) : std::move(operand);
    }

    NodePtr primary()
    {
        Depth d(this);
        const Token& t = peek();
        switch (t.kind) {
        case Tok::Number: return number(take());
        case Tok::LParen: {
            take();
            NodePtr inner = orExpr();
            expectClose();
            return inner;
        }
        case Tok::Name: return named();
        case Tok::End: throw Fault{t.pos, "公式不完整，缺少数值或列名"};
        case Tok::RParen: throw Fault{t.pos, "此处缺少数值或列名"};
        default: throw Fault{t.pos, "此处缺少数值或列名，不能是" + quoted(t.text)};
        }
    }

    NodePtr number(const Token& t)
    {
        NodePtr n = leaf(Node::Kind::Number, t.text.toStdString());
        const qsizetype point = t.text.indexOf(u'.');
        std::string whole = (point < 0 ? t.text : t.text.left(point)).toStdString();
        std::string fraction = point < 0 ? std::string() : t.text.mid(point + 1).toStdString();
        whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
        if (whole.size() > 14) throw Fault{t.pos, "数字" + quoted(t.text) + "太大"};
        // Eighteen digits in all are kept; a rate never needs more.
        if (whole.size() + fraction.size() > 18) fraction.resize(18 - whole.size());
        for (char c : whole + fraction) n->exact = n->exact * 10 + (c - '0');
        n->places = static_cast<int>(fraction.size());
        n->value = Money::fromUnits(scaleHalfEven(n->exact, 4 - n->places));
        return n;
    }

    NodePtr named()
    {
        const Token t = take();
        if (const FunctionInfo* f = findFunction(t.text)) return call(t, *f);
        if (isWordOperator(t)) throw Fault{t.pos, "此处缺少数值或列名，不能是" + quoted(t.text)};
        const std::string column = formulaColumn(t.text.toStdString());
        if (!column.empty()) return leaf(Node::Kind::Column, column);
        if (peek().kind == Tok::LParen) throw Fault{t.pos, "不能使用函数" + quoted(t.text)};
        throw Fault{t.pos, quoted(t.text) + "不是工资表中的数值列"};
    }

    NodePtr call(const Token& name, const FunctionInfo& f)
    {
        if (peek().kind != Tok::LParen) throw Fault{peek().pos, "函数" + quoted(name.text) + "后面缺少左括号"};
        take();
        std::vector<NodePtr> args;
        if (peek().kind != Tok::RParen) {
            args.push_back(orExpr());
            while (peek().kind == Tok::Comma) take(), args.push_back(orExpr());
        }
        const int n = static_cast<int>(args.size());
        if (n < f.minArgs || n > f.maxArgs) {
            const std::string count = f.minArgs == f.maxArgs
                                          ? std::to_string(f.minArgs)
                                          : std::to_string(f.minArgs) + "或" + std::to_string(f.maxArgs);
            throw Fault{name.pos, "函数" + quoted(name.text) + "需要" + count + "个参数"};
        }
        expectClose();
        return combine(Node::Kind::Call, f.name, std::move(args));
    }

    void expectClose()
    {
        if (peek().kind == Tok::RParen) {
            take();
            return;
        }
        if (peek().kind == Tok::Comma) throw Fault{peek().pos, "此处不能有逗号"};
        if (peek().kind == Tok::End) throw Fault{peek().pos, "缺少右括号"};
        throw Fault{peek().pos, "此处缺少运算符或右括号"};
    }

    // Deep nesting is refused rather than allowed to exhaust the stack.
    struct Depth {
        Parser* p;
        explicit Depth(Parser* parser) : p(parser)
        {
            if (++p->depth_ > kMaxDepth) throw Fault{p->peek().pos, "公式嵌套层数过多"};
        }
        ~Depth() { --p->depth_; }
    };

    std::vector<Token> t_;
    size_t k_ = 0;
    int depth_ = 0;
};

// --- evaluation ----------------------------------------------------------------------------------

using Amount = Formula::Amount;

Amount whole(int64_t n) { return Money::fromUnits(n * Money::kScale); }
Amount truth(bool b) { return whole(b ? -1 : 0); }
bool isTrue(const Amount& a) { return a && a->units() != 0; }

// A factor as exact units over a power of ten: a typed number keeps all its decimals.
struct Factor {
    Wide units;
    int places;
};

class Evaluator {
    using Op = Node::Op;

public:
    explicit Evaluator(const Amount* inputs) : in_(inputs) {}

    Amount operator()(const Node& n) const
    {
        using K = Node::Kind;
        switch (n.kind) {
        case K::Number: return n.value;
        case K::Column: return in_[n.slot];
        case K::Unary: return unary(n);
        case K::Binary: return binary(n);
        case K::Call: return call(n);
        }
        return std::nullopt;
    }

private:
    std::optional<Factor> factor(const Node& n) const
    {
        if (n.kind == Node::Kind::Number && n.places > 4) return Factor{n.exact, n.places};
        const Amount a = (*this)(n);
        if (!a) return std::nullopt;
        return Factor{a->units(), 4};
    }

    Amount unary(const Node& n) const
    {
        const Amount a = (*this)(*n.args[0]);
        if (!a) return std::nullopt;
        if (n.op == Op::Not) return truth(a->units() == 0);
        return -*a;
    }

    Amount binary(const Node& n) const
    {
        if (n.op == Op::Mul || n.op == Op::Div) return product(n, n.op == Op::Div);
        const Amount a = (*this)(*n.args[0]);
        if (n.op == Op::And || n.op == Op::Or) return logic(n.op == Op::And, a, (*this)(*n.args[1]));
        const Amount b = (*this)(*n.args[1]);
        if (!a || !b) return std::nullopt;
        switch (n.op) {
        case Op::Add: return *a + *b;
        case Op::Sub: return *a - *b;
        case Op::IDiv: return wholeDivision(*a, *b, false);
        case Op::Mod: return wholeDivision(*a, *b, true);
        case Op::Pow: return power(*a, *b);
        case Op::Eq: return truth(*a == *b);
        case Op::Ne: return truth(*a != *b);
        case Op::Lt: return truth(*a < *b);
        case Op::Gt: return truth(*a > *b);
        case Op::Le: return truth(*a <= *b);
        default: return truth(*a >= *b);  // Op::Ge
        }
    }

    // Empty And false is false, empty Or true is true; otherwise an empty side makes it empty.
    static Amount logic(bool isAnd, const Amount& a, const Amount& b)
    {
        if (isAnd && ((a && !isTrue(a)) || (b && !isTrue(b)))) return truth(false);
        if (!isAnd && (isTrue(a) || isTrue(b))) return truth(true);
        if (!a || !b) return std::nullopt;
        return truth(isAnd);
    }

    Amount product(const Node& n, bool divide) const
    {
        const std::optional<Factor> a = factor(*n.args[0]), b = factor(*n.args[1]);
        if (!a || !b) return std::nullopt;
        int64_t units = 0;
        // a/10^pa * b/10^pb in ten-thousandths; a quotient the same way round.
        bool ok = false;
        if (!divide) {
            ok = divideHalfEven(a->units * b->units, power10(a->places + b->places - 4), &units);
        } else {
            const int shift = 4 - a->places + b->places;
            ok = shift >= 0 ? divideHalfEven(a->units * power10(shift), b->units, &units)
                            : divideHalfEven(a->units, b->units * power10(-shift), &units);
        }
        if (!ok) return std::nullopt;
        return Money::fromUnits(units);
    }

    static Amount wholeDivision(Money a, Money b, bool remainder)
    {
        int64_t x = 0, y = 0;
        divideHalfEven(a.units(), Money::kScale, &x);
        divideHalfEven(b.units(), Money::kScale, &y);
        if (y == 0) return std::nullopt;
        return whole(remainder ? x % y : x / y);
    }

    static Amount power(Money a, Money b)
    {
        const long double v = std::pow(static_cast<long double>(a.units()) / Money::kScale,
                                       static_cast<long double>(b.units()) / Money::kScale);
        Money out;
        if (!std::isfinite(v) || !Money::fromDoubleChecked(static_cast<double>(v), &out)) return std::nullopt;
        return out;
    }

    Amount call(const Node& n) const
    {
        if (n.op == Op::IIf) return isTrue((*this)(*n.args[0])) ? (*this)(*n.args[1]) : (*this)(*n.args[2]);
        const Amount a = (*this)(*n.args[0]);
        if (!a) return std::nullopt;
        const int64_t u = a->units();
        if (n.op == Op::Abs) return u < 0 ? -*a : *a;
        if (n.op == Op::Sgn) return whole(u > 0 ? 1 : u < 0 ? -1 : 0);
        if (n.op == Op::Int) return Money::fromUnits(u - (((u % Money::kScale) + Money::kScale) % Money::kScale));
        if (n.op == Op::Fix) return Money::fromUnits(u - u % Money::kScale);
        // round
        int64_t places = 0;
        if (n.args.size() == 2) {
            const Amount p = (*this)(*n.args[1]);
            if (!p) return std::nullopt;
            places = p->units() / Money::kScale;
        }
        if (places < 0 || places > 15) return std::nullopt;
        if (places >= 4) return *a;
        return Money::fromUnits(scaleHalfEven(scaleHalfEven(u, static_cast<int>(places) - 4), 4 - static_cast<int>(places)));
    }

    const Amount* in_;
};

Node::Op opOf(const Node& n)
{
    using O = Node::Op;
    static const std::pair<const char*, O> unary[] = {{"-", O::Neg}, {"not", O::Not}};
    static const std::pair<const char*, O> binary[] = {
        {"+", O::Add}, {"-", O::Sub}, {"*", O::Mul}, {"/", O::Div}, {"\\", O::IDiv}, {"mod", O::Mod}, {"^", O::Pow},
        {"and", O::And}, {"or", O::Or}, {"=", O::Eq}, {"<>", O::Ne}, {"<", O::Lt}, {">", O::Gt}, {"<=", O::Le},
        {">=", O::Ge}};
    static const std::pair<const char*, O> calls[] = {{"iif", O::IIf}, {"int", O::Int}, {"fix", O::Fix},
                                                      {"round", O::Round}, {"abs", O::Abs}, {"sgn", O::Sgn}};
    auto find = [&](const auto& table) {
        for (const auto& [text, op] : table)
            if (n.text == text) return op;
        return O::None;
    };
    switch (n.kind) {
    case Node::Kind::Unary: return find(unary);
    case Node::Kind::Binary: return find(binary);
    case Node::Kind::Call: return find(calls);
    default: return O::None;
    }
}

// Gives each column its place among the formula's inputs and each operator its code.
void assignSlots(Node& n, std::vector<std::string>& columns)
{
    n.op = opOf(n);
    if (n.kind == Node::Kind::Column) {
        const auto it = std::find(columns.begin(), columns.end(), n.text);
        n.slot = static_cast<int>(it - columns.begin());
        if (it == columns.end()) columns.push_back(n.text);
    }
    for (const NodePtr& a : n.args) assignSlots(*a, columns);
}

std::string faultMessage(int position, bool atEnd, const std::string& reason)
{
    if (atEnd) return "公式末尾：" + reason;
    return "第 " + std::to_string(position) + " 个字符处：" + reason;
}

}  // namespace

std::string FormulaResult::message() const
{
    return ok ? std::string() : faultMessage(position, atEnd, reason);
}

Formula::Formula() : root_(leaf(Node::Kind::Number, "0")) {}

Formula::Amount Formula::evaluate(const Amount* inputs) const
{
    try {
        return Evaluator(inputs)(*root_);
    } catch (const db::MoneyRangeError&) {
        return std::nullopt;
    }
}

FormulaResult readFormula(std::string_view formula)
{
    const QString text = QString::fromUtf8(formula.data(), static_cast<qsizetype>(formula.size()));
    FormulaResult r;
    try {
        if (text.trimmed().isEmpty()) throw Fault{1, "公式为空"};
        // Far beyond what the column holds; a longer text is refused before it is walked.
        if (text.size() > kMaxLength) throw Fault{kMaxLength + 1, "公式过长"};
        NodePtr tree = Parser(Lexer(text).run()).run();
        assignSlots(*tree, r.formula.columns_);
        r.formula.root_ = std::move(tree);
        r.ok = true;
    } catch (const Fault& f) {
        r.position = f.pos;
        r.reason = f.reason;
        r.atEnd = f.pos > text.size();
    }
    return r;
}

std::string NetPayTerms::message() const
{
    return ok ? std::string() : faultMessage(position, atEnd, reason);
}

NetPayTerms parseNetPayTerms(std::string_view formula)
{
    const QString text = QString::fromUtf8(formula.data(), static_cast<qsizetype>(formula.size()));
    NetPayTerms r;
    try {
        const std::vector<Token> tokens = Lexer(text).run();
        size_t k = 0;
        bool subtract = false;
        if (tokens[k].kind == Tok::Op && (tokens[k].text == u"+" || tokens[k].text == u"-"))
            subtract = tokens[k++].text == u"-";
        while (true) {
            const Token& term = tokens[k++];
            if (term.kind != Tok::Name) throw Fault{term.pos, "实发工资公式只能是列名的加减，此处缺少列名"};
            const std::string column = formulaColumn(term.text.toStdString());
            if (column.empty()) throw Fault{term.pos, quoted(term.text) + "不是工资表中的数值列"};
            (subtract ? r.subtracted : r.added).push_back(column);
            const Token& sign = tokens[k++];
            if (sign.kind == Tok::End) break;
            if (sign.kind != Tok::Op || (sign.text != u"+" && sign.text != u"-"))
                throw Fault{sign.pos, "实发工资公式只能是列名的加减，此处应是“+”或“-”"};
            subtract = sign.text == u"-";
        }
        r.ok = true;
    } catch (const Fault& f) {
        r.added.clear();
        r.subtracted.clear();
        r.position = f.pos;
        r.reason = f.reason;
        r.atEnd = f.pos > text.size();
    }
    return r;
}

}  // namespace rsgz::payroll
