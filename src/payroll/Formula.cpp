#include "payroll/Formula.h"

#include <QString>
#include <memory>

#include "db/LatinCase.h"
#include "payroll/SalaryColumns.h"

namespace rsgz::payroll {

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

struct Node {
    enum class Kind { Number, Column, Unary, Binary, Call } kind;
    std::string text;  // number, column, operator (lower case for words) or function (lower case)
    std::vector<std::unique_ptr<Node>> args;
};
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
        case Tok::Number: return leaf(Node::Kind::Number, take().text.toStdString());
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

// --- SQL -----------------------------------------------------------------------------------------

std::string truth(const std::string& condition) { return "(CASE WHEN " + condition + " THEN -1 ELSE 0 END)"; }
std::string nonZero(const std::string& e) { return "(" + e + ") <> 0"; }

std::string toSql(const Node& n)
{
    using K = Node::Kind;
    switch (n.kind) {
    case K::Number:
    case K::Column: return n.text;
    case K::Unary: {
        const std::string a = toSql(*n.args[0]);
        if (n.text == "not") return "(CASE WHEN " + nonZero(a) + " THEN 0 ELSE -1 END)";
        return "(-" + a + ")";
    }
    case K::Binary: {
        const std::string a = toSql(*n.args[0]), b = toSql(*n.args[1]);
        const std::string& op = n.text;
        if (op == "/") return "(CAST(" + a + " AS REAL) / NULLIF(" + b + ", 0))";
        if (op == "\\") return "rsgz_idiv(" + a + ", " + b + ")";
        if (op == "mod") return "rsgz_mod(" + a + ", " + b + ")";
        if (op == "^") return "rsgz_pow(" + a + ", " + b + ")";
        if (op == "and") return truth(nonZero(a) + " AND " + nonZero(b));
        if (op == "or") return truth(nonZero(a) + " OR " + nonZero(b));
        if (op == "+" || op == "-" || op == "*") return "(" + a + " " + op + " " + b + ")";
        return truth(a + " " + op + " " + b);  // a comparison
    }
    case K::Call: {
        std::vector<std::string> a;
        for (const NodePtr& arg : n.args) a.push_back(toSql(*arg));
        if (n.text == "iif") return "(CASE WHEN " + nonZero(a[0]) + " THEN " + a[1] + " ELSE " + a[2] + " END)";
        if (n.text == "abs") return "abs(" + a[0] + ")";
        if (n.text == "round" && a.size() == 2) return "rsgz_round(" + a[0] + ", " + a[1] + ")";
        return "rsgz_" + n.text + "(" + a[0] + ")";
    }
    }
    return {};
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

FormulaResult translateFormula(std::string_view formula)
{
    const QString text = QString::fromUtf8(formula.data(), static_cast<qsizetype>(formula.size()));
    FormulaResult r;
    try {
        if (text.trimmed().isEmpty()) throw Fault{1, "公式为空"};
        // Far beyond what the column holds; a longer text is refused before it is walked.
        if (text.size() > kMaxLength) throw Fault{kMaxLength + 1, "公式过长"};
        NodePtr tree = Parser(Lexer(text).run()).run();
        r.sql = "(" + toSql(*tree) + ")";
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
