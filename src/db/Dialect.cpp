#include "db/Dialect.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <algorithm>
#include <cctype>
#include <vector>

#include "db/DbError.h"
#include "db/LatinCase.h"
#include "db/SqlText.h"
#include "db/SqlTokens.h"
#include "db/Value.h"

namespace rsgz::db {

using namespace sqltok;

namespace sqltok {

bool isWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

// The end of a literal opened at i by the quote q; a doubled quote inside is an escaped one.
size_t literalEnd(std::string_view s, size_t i, char q)
{
    size_t j = i + 1;
    for (;;) {
        while (j < s.size() && s[j] != q) ++j;
        if (j + 1 < s.size() && s[j + 1] == q) { j += 2; continue; }
        break;
    }
    return std::min(j + 1, s.size());
}

// A double-quoted text value of the dialect as the single-quoted literal the engine reads.
std::string singleQuoted(std::string_view dq)
{
    std::string body;
    const size_t end = dq.size() >= 2 && dq.back() == '"' ? dq.size() - 1 : dq.size();
    for (size_t k = 1; k < end; ++k) {
        body += dq[k];
        if (dq[k] == '"' && k + 1 < end && dq[k + 1] == '"') ++k;
    }
    return sqlQuote(body);
}

std::vector<Token> lex(std::string_view s, Words words)
{
    std::vector<Token> out;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = s[i];
        size_t j = i + 1;
        Tok kind = Tok::Punct;
        if (std::isspace(c)) {
            while (j < s.size() && std::isspace(static_cast<unsigned char>(s[j]))) ++j;
            kind = Tok::Space;
        } else if (c == '-' && j < s.size() && s[j] == '-') {
            while (j < s.size() && s[j] != '\n' && s[j] != '\r') ++j;
            kind = Tok::Comment;
        } else if (c == '/' && j < s.size() && s[j] == '*') {
            const size_t close = s.find("*/", j + 1);
            j = close == std::string_view::npos ? s.size() : close + 2;
            kind = Tok::Comment;
        } else if (c == '\'' || c == '"') {
            j = literalEnd(s, i, static_cast<char>(c));
            kind = c == '\'' || words == Words::Dialect ? Tok::String : Tok::Ident;
        } else if (c == '[') {
            while (j < s.size() && s[j] != ']') ++j;
            j = std::min(j + 1, s.size());
            kind = Tok::Ident;
        } else if (c == '#') {
            while (j < s.size() && s[j] != '#' && s[j] != '\n') ++j;
            if (j < s.size() && s[j] == '#') { ++j; kind = Tok::Hash; }
            else j = i + 1;
        } else if (std::isdigit(c)) {
            while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.')) ++j;
            kind = Tok::Number;
        } else if (isWordByte(c)) {
            while (j < s.size() && isWordByte(static_cast<unsigned char>(s[j]))) ++j;
            kind = Tok::Word;
        }
        std::string text(s.substr(i, j - i));
        if (kind == Tok::String && c == '"') text = singleQuoted(text);
        out.push_back({kind, std::move(text)});
        i = j;
    }
    return out;
}

// Comments count as blanks wherever the statement's words are looked at.
bool isBlank(const Token& t) { return t.kind == Tok::Space || t.kind == Tok::Comment; }

bool isWord(const Token& t, const char* w) { return t.kind == Tok::Word && equalsIgnoringLatinCase(t.text, w); }

size_t nextSolid(const std::vector<Token>& t, size_t i)
{
    while (i < t.size() && isBlank(t[i])) ++i;
    return i;
}

}  // namespace sqltok

namespace {

[[noreturn]] void refuse(const std::string& why, std::string_view statement)
{
    throw DbError(DbError::Kind::Other, why, {}, std::string(statement));
}

bool isCompoundWord(const Token& tok)
{
    return isWord(tok, "union") || isWord(tok, "intersect") || isWord(tok, "except");
}

// "select [distinct] top N" loses its "top N"; "limit N" goes where that select ends: before the
// parenthesis that closes its sub-select, or at the end of the statement. Where the engine's limit
// would mean something else, the statement is refused: "top N percent" has no counterpart, and a
// limit on one part of a union would cut the whole union.
void translateTop(std::vector<Token>& t, std::string_view statement, const Dialect& d)
{
    struct Pending { int depth; std::string limit; };
    struct Level { bool top = false, compound = false; };
    std::vector<Pending> pending;
    std::vector<Level> levels(1);
    auto closeLevel = [&] {
        if (levels.back().top && levels.back().compound)
            refuse("“top”只能用于整条语句，不能只用在“union”的一部分中：" + std::string(statement), statement);
        levels.pop_back();
    };
    int depth = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind == Tok::Punct && t[i].text == "(") {
            ++depth;
            levels.emplace_back();
        }
        if (t[i].kind == Tok::Punct && t[i].text == ")" && depth > 0) {
            if (!pending.empty() && pending.back().depth == depth) {
                t[i].text = d.rowLimit(pending.back().limit) + ")";
                pending.pop_back();
            }
            closeLevel();
            --depth;
        }
        if (isCompoundWord(t[i])) levels.back().compound = true;
        if (!isWord(t[i], "select")) continue;
        size_t k = nextSolid(t, i + 1);
        if (k < t.size() && (isWord(t[k], "distinct") || isWord(t[k], "all"))) k = nextSolid(t, k + 1);
        if (k >= t.size() || !isWord(t[k], "top")) continue;
        const size_t n = nextSolid(t, k + 1);
        if (n >= t.size() || t[n].kind != Tok::Number) continue;
        const size_t after = nextSolid(t, n + 1);
        if (after < t.size() && isWord(t[after], "percent"))
            refuse("不支持按百分比取记录（“top " + t[n].text + " percent”），请改用“top 条数”：" + std::string(statement),
                   statement);
        pending.push_back({depth, t[n].text});
        levels.back().top = true;
        // "top N" and the blanks after it go; the blank before it stays.
        for (size_t r = k; r < after; ++r) t[r].text.clear();
    }
    while (levels.size() > 1) levels.pop_back();  // parentheses left open: the engine reports them
    closeLevel();
    while (!pending.empty()) {
        // Put the limit before a trailing semicolon, trailing white space and trailing comments.
        size_t end = t.size();
        while (end > 0 && (isBlank(t[end - 1]) || t[end - 1].text == ";" || t[end - 1].text.empty())) --end;
        Token lim{Tok::Word, d.rowLimit(pending.back().limit)};
        t.insert(t.begin() + static_cast<long>(end), lim);
        pending.pop_back();
    }
}

// A "#…#" literal that is no date cannot be given to the engine, which would read it as something
// else entirely.
void translateDates(std::vector<Token>& t, std::string_view statement, const Dialect& d)
{
    for (Token& tok : t) {
        if (tok.kind != Tok::Hash) continue;
        const std::string iso = isoDateFromLiteral(std::string_view(tok.text).substr(1, tok.text.size() - 2));
        if (iso.empty()) refuse("无法识别的日期“" + tok.text + "”：" + std::string(statement), statement);
        tok.text = d.dateLiteral(iso);
    }
}

bool isCreateTable(const std::vector<Token>& t)
{
    const size_t a = nextSolid(t, 0);
    if (a >= t.size() || !isWord(t[a], "create")) return false;
    const size_t b = nextSolid(t, a + 1);
    return b < t.size() && isWord(t[b], "table");
}

// The column types of the creation statements, read as the logical types the engine is told of in
// its own words (the dialect's declared types).
enum class TypeForm { Text, Memo, Integer, AutoInc, Currency, YesNo, Double, Date };

struct TypeWord {
    const char* word;
    TypeForm form;
};

constexpr TypeWord kTypeWords[] = {
    {"varchar", TypeForm::Text},      {"nvarchar", TypeForm::Text},    {"char", TypeForm::Text},
    {"nchar", TypeForm::Text},        {"text", TypeForm::Text},        {"memo", TypeForm::Memo},
    {"longtext", TypeForm::Memo},     {"ntext", TypeForm::Memo},       {"int", TypeForm::Integer},
    {"integer", TypeForm::Integer},   {"long", TypeForm::Integer},     {"smallint", TypeForm::Integer},
    {"short", TypeForm::Integer},     {"byte", TypeForm::Integer},     {"tinyint", TypeForm::Integer},
    {"counter", TypeForm::AutoInc},   {"autoincrement", TypeForm::AutoInc},
    {"money", TypeForm::Currency},    {"currency", TypeForm::Currency}, {"bit", TypeForm::YesNo},
    {"yesno", TypeForm::YesNo},       {"logical", TypeForm::YesNo},    {"boolean", TypeForm::YesNo},
    {"float", TypeForm::Double},      {"double", TypeForm::Double},    {"real", TypeForm::Double},
    {"single", TypeForm::Double},     {"numeric", TypeForm::Double},   {"decimal", TypeForm::Double},
    {"datetime", TypeForm::Date},     {"date", TypeForm::Date},        {"time", TypeForm::Date},
};

const TypeWord* findTypeWord(const Token& tok)
{
    if (tok.kind != Tok::Word) return nullptr;
    const std::string w = foldLatin(tok.text);
    for (const TypeWord& tw : kTypeWords)
        if (w == tw.word) return &tw;
    return nullptr;
}

// "(n)" or "(p, s)" right after position i: the index of ")" and the text inside; npos when absent.
size_t sizeSuffix(const std::vector<Token>& t, size_t i, std::string* inside)
{
    const size_t open = nextSolid(t, i + 1);
    if (open >= t.size() || t[open].text != "(") return std::string::npos;
    size_t close = open;
    while (close < t.size() && t[close].text != ")") ++close;
    if (close >= t.size()) return std::string::npos;
    inside->clear();
    for (size_t r = open + 1; r < close; ++r)
        if (!isBlank(t[r])) *inside += t[r].text;
    return close;
}

void clearTokens(std::vector<Token>& t, size_t from, size_t to)
{
    for (size_t r = from; r <= to && r < t.size(); ++r) t[r].text.clear();
}

// Rewrites the type that starts at token i of one column definition ending before token end.
void translateColumnType(std::vector<Token>& t, size_t i, size_t end, const Dialect& d)
{
    const TypeWord* tw = findTypeWord(t[i]);
    if (!tw) return;
    std::string inside;
    size_t last = sizeSuffix(t, i, &inside);
    if (last != std::string::npos && last >= end) last = std::string::npos;
    if (last != std::string::npos) clearTokens(t, i + 1, last);
    const size_t after = last == std::string::npos ? i + 1 : last + 1;
    switch (tw->form) {
    case TypeForm::Text: {
        const bool sized = last != std::string::npos && !inside.empty()
            && std::all_of(inside.begin(), inside.end(), [](unsigned char c) { return std::isdigit(c); });
        t[i].text = d.textTypeOf(sized ? inside : std::string("255"));
        return;
    }
    case TypeForm::Memo: t[i].text = d.declaredType(FieldType::Memo, 0); return;
    case TypeForm::Currency: t[i].text = d.declaredType(FieldType::Currency, 0); return;
    case TypeForm::YesNo: t[i].text = d.declaredType(FieldType::YesNo, 0); return;
    case TypeForm::Double: t[i].text = d.declaredType(FieldType::Double, 0); return;
    case TypeForm::Date: t[i].text = d.declaredType(FieldType::DateTime, 0); return;
    case TypeForm::Integer:
    case TypeForm::AutoInc: break;
    }
    // "int IDENTITY [(seed, step)] [PRIMARY KEY]", "counter [PRIMARY KEY]": the engine's own key. What
    // follows the type word and says the same goes, blanks included.
    size_t k = nextSolid(t, after);
    size_t consumed = std::string::npos;
    bool autoInc = tw->form == TypeForm::AutoInc;
    if (k < end && isWord(t[k], "identity")) {
        autoInc = true;
        consumed = sizeSuffix(t, k, &inside);
        if (consumed == std::string::npos || consumed >= end) consumed = k;
        k = nextSolid(t, consumed + 1);
    }
    if (!autoInc) {
        t[i].text = d.declaredType(FieldType::Integer, 0);
        return;
    }
    t[i].text = d.declaredType(FieldType::AutoInc, 0);
    const size_t key = k < end ? nextSolid(t, k + 1) : end;
    if (k < end && isWord(t[k], "primary") && key < end && isWord(t[key], "key")) consumed = key;
    if (consumed != std::string::npos) clearTokens(t, after, consumed);
}

bool isTableConstraint(const Token& tok)
{
    for (const char* w : {"primary", "constraint", "unique", "foreign", "check"})
        if (isWord(tok, w)) return true;
    return false;
}

// Each column definition inside the outer parentheses: its name, then its type.
void translateCreateTypes(std::vector<Token>& t, const Dialect& d)
{
    int depth = 0;
    bool atItemStart = false;
    for (size_t i = 0; i < t.size(); ++i) {
        if (isBlank(t[i])) continue;
        if (t[i].text == "(") {
            if (++depth == 1) atItemStart = true;
            continue;
        }
        if (t[i].text == ")") { --depth; continue; }
        if (depth != 1) continue;
        if (t[i].text == ",") { atItemStart = true; continue; }
        if (!atItemStart) continue;
        atItemStart = false;
        if (isTableConstraint(t[i])) continue;
        // The item ends at the next comma or closing parenthesis of this level.
        size_t end = i + 1;
        for (int d = 0; end < t.size(); ++end) {
            if (t[end].text == "(") ++d;
            else if (t[end].text == ")" && d-- == 0) break;
            else if (t[end].text == "," && d == 0) break;
        }
        const size_t type = nextSolid(t, i + 1);
        if (type < end) translateColumnType(t, type, end, d);
    }
}

}  // namespace

namespace {
// "8:30", "20:30:15", "8:30 PM", "12:05am": the time of a date literal; invalid when it is none.
QTime literalTime(QString text)
{
    int shift = -1;  // -1: a 24-hour time; 0 before noon, 12 after
    const QString upperText = text.toUpper();
    if (upperText.endsWith(QLatin1String("AM")) || upperText.endsWith(QLatin1String("PM"))) {
        shift = upperText.endsWith(QLatin1String("PM")) ? 12 : 0;
        text.chop(2);
        text = text.trimmed();
    }
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3) return {};
    int hms[3] = {0, 0, 0};
    for (qsizetype k = 0; k < parts.size(); ++k) {
        bool ok = false;
        hms[k] = parts[k].toInt(&ok);
        if (!ok || parts[k].isEmpty() || parts[k].size() > 2) return {};
    }
    if (shift >= 0) {
        if (hms[0] < 1 || hms[0] > 12) return {};
        hms[0] = hms[0] % 12 + shift;
    }
    return QTime::isValid(hms[0], hms[1], hms[2]) ? QTime(hms[0], hms[1], hms[2]) : QTime();
}
}  // namespace

std::string isoDateFromLiteral(std::string_view body)
{
    const QString s = QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size())).simplified();
    const QString datePart = s.section(QLatin1Char(' '), 0, 0);
    const QString timePart = s.section(QLatin1Char(' '), 1);
    QDate d;
    for (const char* fmt : {"yyyy-M-d", "yyyy/M/d", "M/d/yyyy", "yyyy.M.d"}) {
        d = QDate::fromString(datePart, QString::fromLatin1(fmt));
        if (d.isValid()) break;
    }
    if (!d.isValid()) return {};
    const QTime tm = timePart.isEmpty() ? QTime(0, 0) : literalTime(timePart);
    if (!tm.isValid()) return {};
    // Written as the program stores dates, so a condition made from a row's own value finds it.
    return dateText(d, tm);
}

namespace {

bool isAggregate(const std::vector<Token>& t, size_t k)
{
    static const char* const names[] = {"count", "sum", "avg", "min", "max", "total", "group_concat"};
    if (t[k].kind != Tok::Word) return false;
    const std::string w = foldLatin(t[k].text);
    if (std::none_of(std::begin(names), std::end(names), [&](const char* n) { return w == n; })) return false;
    const size_t n = nextSolid(t, k + 1);
    return n < t.size() && t[n].text == "(";
}

std::string unquoted(const Token& tok)
{
    if (tok.kind == Tok::Ident && tok.text.size() >= 2) return tok.text.substr(1, tok.text.size() - 2);
    return tok.text;
}

std::string joined(const std::vector<Token>& t, size_t from, size_t to)
{
    std::string out;
    for (size_t k = from; k < to; ++k) out += t[k].text;
    const auto a = out.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    return out.substr(a, out.find_last_not_of(" \t\r\n") - a + 1);
}

// One item of the select list, tokens [from, to): its text and the name it is given, if any.
SelectShape::Item selectItem(const std::vector<Token>& t, size_t from, size_t to)
{
    std::vector<size_t> solid;
    for (size_t k = from; k < to; ++k)
        if (!isBlank(t[k])) solid.push_back(k);
    SelectShape::Item item;
    size_t exprEnd = to;
    const size_t n = solid.size();
    if (n >= 3 && isWord(t[solid[n - 2]], "as")) {
        item.alias = unquoted(t[solid[n - 1]]);
        exprEnd = solid[n - 2];
    } else if (n >= 2 && (t[solid[n - 1]].kind == Tok::Word || t[solid[n - 1]].kind == Tok::Ident)
               && !isWord(t[solid[n - 1]], "end")) {
        // "expression name": the name follows a complete operand (a word, a literal, a parenthesis).
        const Token& prev = t[solid[n - 2]];
        if (prev.kind != Tok::Punct || prev.text == ")") {
            item.alias = unquoted(t[solid[n - 1]]);
            exprEnd = solid[n - 1];
        }
    }
    item.expr = joined(t, from, exprEnd);
    // A plain reference: "name", "[name]", "q.name"; or every column: "*", "q.*".
    std::vector<const Token*> e;
    for (size_t k : solid)
        if (k < exprEnd) e.push_back(&t[k]);
    auto isName = [](const Token* x) { return x->kind == Tok::Word || x->kind == Tok::Ident; };
    const bool qualified = e.size() == 3 && isName(e[0]) && e[1]->text == ".";
    const Token* last = e.size() == 1 ? e[0] : qualified ? e[2] : nullptr;
    if (last && last->text == "*") {
        item.star = true;
    } else if (last && isName(last)) {
        item.column = unquoted(*last);
    }
    if (qualified && (item.star || !item.column.empty())) item.qualifier = unquoted(*e[0]);
    return item;
}

bool endsFrom(const Token& tok)
{
    for (const char* w : {"where", "group", "order", "having", "limit", "union", "intersect", "except"})
        if (isWord(tok, w)) return true;
    return false;
}

bool isJoinWord(const Token& tok)
{
    for (const char* w : {"join", "left", "right", "inner", "outer", "cross", "full", "natural", "on", "using"})
        if (isWord(tok, w)) return true;
    return false;
}

}  // namespace

SelectShape analyzeSelect(std::string_view sql)
{
    SelectShape shape;
    const std::vector<Token> t = lex(sql);
    size_t i = nextSolid(t, 0);
    if (i >= t.size() || !isWord(t[i], "select")) return shape;
    bool plain = true;  // no distinct, grouping, set operation, join, aggregate or sub-select source
    size_t listStart = i + 1;
    const size_t d = nextSolid(t, listStart);
    if (d < t.size() && (isWord(t[d], "distinct") || isWord(t[d], "all"))) {
        plain = plain && !isWord(t[d], "distinct");
        listStart = d + 1;
    }
    // The select list, item by item, up to the top-level "from".
    int depth = 0;
    size_t pos = 0, itemStart = listStart, k = 0;
    for (; k < t.size(); pos += t[k].text.size(), ++k) {
        if (k < listStart) continue;
        if (t[k].text == "(") ++depth;
        else if (t[k].text == ")") --depth;
        if (depth != 0) continue;
        if (isAggregate(t, k)) plain = false;
        if (t[k].text == "," || isWord(t[k], "from")) {
            shape.items.push_back(selectItem(t, itemStart, k));
            itemStart = k + 1;
        }
        if (isWord(t[k], "from")) break;
    }
    if (k >= t.size()) {
        if (itemStart < t.size()) shape.items.push_back(selectItem(t, itemStart, t.size()));
        return shape;
    }
    shape.fromPos = pos;
    // The sources: "name [as] [alias]", separated by commas or joins.
    bool expectName = true, inFrom = true;
    for (++k; k < t.size(); ++k) {
        const Token& tok = t[k];
        if (isBlank(tok)) continue;
        if (tok.text == "(") {
            if (inFrom && depth == 0 && expectName) plain = false;  // a sub-select as a source
            ++depth;
            continue;
        }
        if (tok.text == ")") { --depth; continue; }
        if (depth != 0) continue;
        if (tok.kind == Tok::Word && (isWord(tok, "distinct") || isWord(tok, "group") || isWord(tok, "having")
                                      || isWord(tok, "union") || isWord(tok, "intersect") || isWord(tok, "except")))
            plain = false;
        if (!inFrom) continue;
        if (endsFrom(tok)) { inFrom = false; continue; }
        if (tok.text == "," || isWord(tok, "join")) {
            plain = false;
            expectName = true;
            continue;
        }
        if (isJoinWord(tok)) { plain = false; expectName = false; continue; }
        if (tok.kind != Tok::Word && tok.kind != Tok::Ident) continue;
        if (expectName) {
            shape.sources.push_back({unquoted(tok), unquoted(tok)});
            expectName = false;
        } else if (!isWord(tok, "as") && !shape.sources.empty()) {
            shape.sources.back().alias = unquoted(tok);
        }
    }
    shape.simple = plain && shape.sources.size() == 1;
    if (shape.simple) shape.table = shape.sources.front().table;
    return shape;
}

AggregateCall parseAggregate(std::string_view expression)
{
    AggregateCall call;
    const std::vector<Token> t = lex(expression);
    std::vector<size_t> solid;
    for (size_t k = 0; k < t.size(); ++k)
        if (!isBlank(t[k])) solid.push_back(k);
    if (solid.size() < 3 || t[solid[1]].text != "(" || t[solid.back()].text != ")") return call;
    // The parentheses after the name must be the ones that end the expression: "max(a) - min(b)" is
    // no single call.
    int depth = 0;
    for (size_t s = 1; s + 1 < solid.size(); ++s) {
        const std::string& x = t[solid[s]].text;
        depth += x == "(" ? 1 : x == ")" ? -1 : 0;
        if (depth == 0) return call;
    }
    const std::string fn = foldLatin(t[solid[0]].text);
    using K = AggregateCall::Kind;
    if (fn == "count") call.kind = K::Count;
    else if (fn == "sum") call.kind = K::Sum;
    else if (fn == "total") call.kind = K::Total;
    else if (fn == "avg") call.kind = K::Avg;
    else if (fn == "min" || fn == "max") call.kind = K::MinMax;
    else return call;
    // Inside: "col", "t.col" or "distinct col".
    std::vector<const Token*> inner;
    for (size_t s = 2; s + 1 < solid.size(); ++s) inner.push_back(&t[solid[s]]);
    if (!inner.empty() && isWord(*inner.front(), "distinct")) inner.erase(inner.begin());
    auto isName = [](const Token* x) { return x->kind == Tok::Word || x->kind == Tok::Ident; };
    if (inner.size() == 1 && isName(inner[0])) {
        call.column = unquoted(*inner[0]);
    } else if (inner.size() == 3 && isName(inner[0]) && inner[1]->text == "." && isName(inner[2])) {
        call.qualifier = unquoted(*inner[0]);
        call.column = unquoted(*inner[2]);
    }
    return call;
}

std::string toSqlite(std::string_view statement) { return translateStatement(statement, sqliteDialect()); }

std::string translateStatement(std::string_view statement, const Dialect& dialect)
{
    std::vector<Token> t = lex(statement, Words::Dialect);
    translateDates(t, statement, dialect);
    if (isCreateTable(t))
        translateCreateTypes(t, dialect);
    else
        translateTop(t, statement, dialect);
    std::string out;
    out.reserve(statement.size() + 16);
    for (const Token& tok : t) out += tok.text;
    return out;
}

}  // namespace rsgz::db
