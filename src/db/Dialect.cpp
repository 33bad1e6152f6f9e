#include "db/Dialect.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <algorithm>
#include <cctype>
#include <vector>

#include "db/SqlText.h"

namespace rsgz::db {

namespace {

enum class Tok { Space, Word, Number, String, Ident, Hash, Punct };

struct Token {
    Tok kind;
    std::string text;
};

bool isWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

std::vector<Token> lex(std::string_view s)
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
        } else if (c == '\'' || c == '"') {
            // '' (or "") inside the literal is an escaped quote, not its end.
            for (;;) {
                while (j < s.size() && s[j] != static_cast<char>(c)) ++j;
                if (j + 1 < s.size() && s[j + 1] == static_cast<char>(c)) { j += 2; continue; }
                break;
            }
            j = std::min(j + 1, s.size());
            kind = c == '\'' ? Tok::String : Tok::Ident;
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
        out.push_back({kind, std::string(s.substr(i, j - i))});
        i = j;
    }
    return out;
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool isWord(const Token& t, const char* w) { return t.kind == Tok::Word && lower(t.text) == w; }

size_t nextSolid(const std::vector<Token>& t, size_t i)
{
    while (i < t.size() && t[i].kind == Tok::Space) ++i;
    return i;
}

// "select [distinct] top N" loses its "top N"; "limit N" goes where that select ends: before the
// parenthesis that closes its sub-select, or at the end of the statement.
void translateTop(std::vector<Token>& t)
{
    struct Pending { int depth; std::string limit; };
    std::vector<Pending> pending;
    int depth = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind == Tok::Punct && t[i].text == "(") ++depth;
        if (t[i].kind == Tok::Punct && t[i].text == ")") {
            if (!pending.empty() && pending.back().depth == depth) {
                t[i].text = " limit " + pending.back().limit + ")";
                pending.pop_back();
            }
            --depth;
        }
        if (!isWord(t[i], "select")) continue;
        size_t k = nextSolid(t, i + 1);
        if (k < t.size() && (isWord(t[k], "distinct") || isWord(t[k], "all"))) k = nextSolid(t, k + 1);
        if (k >= t.size() || !isWord(t[k], "top")) continue;
        const size_t n = nextSolid(t, k + 1);
        if (n >= t.size() || t[n].kind != Tok::Number) continue;
        pending.push_back({depth, t[n].text});
        for (size_t r = k; r <= n; ++r) t[r].text.clear();
    }
    while (!pending.empty()) {
        // Put the limit before a trailing semicolon and trailing white space.
        size_t end = t.size();
        while (end > 0 && (t[end - 1].kind == Tok::Space || t[end - 1].text == ";" || t[end - 1].text.empty())) --end;
        Token lim{Tok::Word, " limit " + pending.back().limit};
        t.insert(t.begin() + static_cast<long>(end), lim);
        pending.pop_back();
    }
}

void translateDates(std::vector<Token>& t)
{
    for (Token& tok : t) {
        if (tok.kind != Tok::Hash) continue;
        const std::string iso = isoDateFromLiteral(std::string_view(tok.text).substr(1, tok.text.size() - 2));
        if (!iso.empty()) tok.text = sqlQuote(iso);
    }
}

bool isCreateTable(const std::vector<Token>& t)
{
    const size_t a = nextSolid(t, 0);
    if (a >= t.size() || !isWord(t[a], "create")) return false;
    const size_t b = nextSolid(t, a + 1);
    return b < t.size() && isWord(t[b], "table");
}

// The column types of the creation statements, in the words SQLite's affinity rules need.
void translateCreateTypes(std::vector<Token>& t)
{
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].kind != Tok::Word) continue;
        const std::string w = lower(t[i].text);
        if (w == "varchar" || w == "char" || w == "nvarchar") {
            size_t open = nextSolid(t, i + 1);
            if (open < t.size() && t[open].text == "(") {
                size_t close = open;
                while (close < t.size() && t[close].text != ")") ++close;
                if (close < t.size()) {
                    std::string width;
                    for (size_t r = open + 1; r < close; ++r) width += t[r].text;
                    for (size_t r = i + 1; r <= close; ++r) t[r].text.clear();
                    t[i].text = "VARCHAR(" + width + ") COLLATE NOCASE";
                    i = close;
                    continue;
                }
            }
            t[i].text = "VARCHAR(255) COLLATE NOCASE";
        } else if (w == "int" || w == "integer" || w == "long") {
            const size_t n = nextSolid(t, i + 1);
            if (n < t.size() && isWord(t[n], "identity")) {
                t[i].text = "INTEGER";
                t[n].text.clear();
                const size_t p = nextSolid(t, n + 1);
                const size_t k = p < t.size() ? nextSolid(t, p + 1) : p;
                if (p < t.size() && isWord(t[p], "primary") && k < t.size() && isWord(t[k], "key"))
                    t[k].text = "KEY AUTOINCREMENT";
                else
                    t[n].text = "PRIMARY KEY AUTOINCREMENT";
            } else {
                t[i].text = "INTEGER";
            }
        } else if (w == "counter" || w == "autoincrement") {
            t[i].text = "INTEGER PRIMARY KEY AUTOINCREMENT";
        } else if (w == "money" || w == "currency") {
            t[i].text = "CURRENCY REAL";
        } else if (w == "bit" || w == "yesno" || w == "logical") {
            t[i].text = "YESNO";
        } else if (w == "memo" || w == "longtext") {
            t[i].text = "LONGTEXT COLLATE NOCASE";
        } else if (w == "float" || w == "double") {
            t[i].text = "DOUBLE";
        }
    }
}

}  // namespace

std::string isoDateFromLiteral(std::string_view body)
{
    const QString s = QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size())).trimmed();
    const QString datePart = s.section(QLatin1Char(' '), 0, 0);
    const QString timePart = s.section(QLatin1Char(' '), 1).trimmed();
    QDate d;
    for (const char* fmt : {"yyyy-M-d", "yyyy/M/d", "M/d/yyyy", "yyyy.M.d"}) {
        d = QDate::fromString(datePart, QString::fromLatin1(fmt));
        if (d.isValid()) break;
    }
    if (!d.isValid()) return {};
    std::string out = d.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    if (!timePart.isEmpty()) {
        QTime tm;
        for (const char* fmt : {"H:m:s", "H:m"}) {
            tm = QTime::fromString(timePart, QString::fromLatin1(fmt));
            if (tm.isValid()) break;
        }
        if (!tm.isValid()) return {};
        if (tm != QTime(0, 0)) out += " " + tm.toString(QStringLiteral("HH:mm:ss")).toStdString();
    }
    return out;
}

SelectShape analyzeSelect(std::string_view sql)
{
    SelectShape shape;
    const std::vector<Token> t = lex(sql);
    size_t i = nextSolid(t, 0);
    if (i >= t.size() || !isWord(t[i], "select")) return shape;
    int depth = 0;
    size_t pos = 0;
    bool seenFrom = false, inFrom = false;
    int fromItems = 0;
    for (size_t k = 0; k < t.size(); pos += t[k].text.size(), ++k) {
        const Token& tok = t[k];
        if (tok.kind == Tok::Punct && tok.text == "(") {
            if (inFrom && depth == 0) return shape;  // a sub-select as a source
            ++depth;
            continue;
        }
        if (tok.kind == Tok::Punct && tok.text == ")") { --depth; continue; }
        if (depth != 0) continue;
        if (tok.kind == Tok::Word) {
            const std::string w = lower(tok.text);
            if (w == "distinct" || w == "union" || w == "group" || w == "having" || w == "intersect" || w == "except"
                || w == "join")
                return shape;
            if (!seenFrom && (w == "count" || w == "sum" || w == "avg" || w == "min" || w == "max")) {
                const size_t n = nextSolid(t, k + 1);
                if (n < t.size() && t[n].text == "(") return shape;
            }
            if (!seenFrom && w == "from") {
                seenFrom = inFrom = true;
                shape.fromPos = pos;
                continue;
            }
            if (inFrom && (w == "where" || w == "order" || w == "limit")) { inFrom = false; continue; }
        }
        if (!inFrom) continue;
        if (tok.kind == Tok::Punct && tok.text == ",") return shape;
        if ((tok.kind == Tok::Word || tok.kind == Tok::Ident) && fromItems == 0) {
            std::string name = tok.text;
            if (tok.kind == Tok::Ident) name = name.substr(1, name.size() - 2);
            shape.table = name;
            ++fromItems;
        }
    }
    shape.simple = seenFrom && fromItems == 1;
    return shape;
}

std::string toSqlite(std::string_view statement)
{
    std::vector<Token> t = lex(statement);
    translateDates(t);
    if (isCreateTable(t))
        translateCreateTypes(t);
    else
        translateTop(t);
    std::string out;
    out.reserve(statement.size() + 16);
    for (const Token& tok : t) out += tok.text;
    return out;
}

}  // namespace rsgz::db
