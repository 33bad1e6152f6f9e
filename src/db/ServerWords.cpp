// Statements in SQLite's words turned into the words of the database server.
#include <algorithm>
#include <charconv>

#include "db/ChineseCollation.h"
#include "db/Dialect.h"
#include "db/LatinCase.h"
#include "db/SqlTokens.h"

namespace rsgz::db {

using namespace sqltok;

namespace {

// A column type as SQLite's facts write it, as solid tokens, and the server's words for it. The
// width of a text type is the one number token in its pattern.
struct TypePattern {
    std::vector<std::string> words;
    std::string server;
    bool text = false;
};

std::vector<std::string> solidWords(std::string_view sql)
{
    std::vector<std::string> out;
    for (const Token& t : lex(sql))
        if (!isBlank(t)) out.push_back(foldLatin(t.text));
    return out;
}

const std::vector<TypePattern>& typePatterns()
{
    static const std::vector<TypePattern> patterns = [] {
        const Dialect& from = sqliteDialect();
        const Dialect& to = postgresDialect();
        std::vector<TypePattern> p;
        // The longer forms first: the key before the plain whole number.
        for (FieldType t : {FieldType::AutoInc, FieldType::Currency, FieldType::Memo, FieldType::DateTime,
                            FieldType::Double, FieldType::YesNo, FieldType::Integer})
            p.push_back({solidWords(from.declaredType(t, 0)), to.declaredType(t, 0)});
        p.push_back({solidWords(from.declaredType(FieldType::Text, 1)), {}, true});
        // Words hand-written statements may use for the same storage.
        p.push_back({{"real"}, to.doubleType});
        p.push_back({{"int"}, to.integerType});
        return p;
    }();
    return patterns;
}

// Matches a pattern at solid token i; returns the token after the match (npos: no match) and the
// width a text type names.
size_t matchType(const std::vector<Token>& t, size_t i, const TypePattern& p, int* width)
{
    size_t k = i;
    for (size_t w = 0; w < p.words.size(); ++w) {
        k = nextSolid(t, k);
        if (k >= t.size()) return std::string::npos;
        if (p.text && t[k].kind == Tok::Number) {
            int n = 0;
            const auto [end, ec] = std::from_chars(t[k].text.data(), t[k].text.data() + t[k].text.size(), n);
            if (ec != std::errc() || end != t[k].text.data() + t[k].text.size() || n <= 0) return std::string::npos;
            *width = n;
        } else if (foldLatin(t[k].text) != p.words[w]) {
            return std::string::npos;
        }
        ++k;
    }
    // "VARCHAR(n)" without the collation that the facts add is the same type.
    return k;
}

// A text type written without the case-insensitive collation: "varchar(n)".
size_t matchBareText(const std::vector<Token>& t, size_t i, int* width)
{
    TypePattern bare = typePatterns()[typePatterns().size() - 3];
    const std::vector<std::string> nocase = solidWords(sqliteDialect().caseInsensitiveText);
    bare.words.resize(bare.words.size() - nocase.size());
    return matchType(t, i, bare, width);
}

bool isDefinition(const std::vector<Token>& t)
{
    const size_t a = nextSolid(t, 0);
    if (a >= t.size()) return false;
    const size_t b = nextSolid(t, a + 1);
    if (b >= t.size()) return false;
    return (isWord(t[a], "create") && isWord(t[b], "table")) || (isWord(t[a], "alter") && isWord(t[b], "table"));
}

std::string unquotedName(const std::string& text)
{
    if (text.size() < 2) return text;
    const char close = text.front() == '[' ? ']' : text.front();
    std::string name;
    for (size_t k = 1; k + 1 < text.size(); ++k) {
        name += text[k];
        if (text[k] == close && close != ']' && k + 2 < text.size() && text[k + 1] == close) ++k;
    }
    return name;
}

// Replaces tokens [from, to) by one text.
void replaceTokens(std::vector<Token>& t, size_t from, size_t to, std::string text)
{
    t[from].text = std::move(text);
    t[from].kind = Tok::Word;
    for (size_t k = from + 1; k < to; ++k) t[k].text.clear();
}

// The number of the parameter at token i, as SQLite counts them: "?N" is parameter N (its digits
// are taken into the "?"), a plain "?" the one after the highest so far. *highest follows along.
int parameterNumber(std::vector<Token>& t, size_t i, int* highest)
{
    if (i + 1 < t.size() && t[i + 1].kind == Tok::Number) {
        const std::string& digits = t[i + 1].text;
        int n = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        if (ec == std::errc() && end == digits.data() + digits.size() && n > 0) {
            t[i + 1].text.clear();
            *highest = std::max(*highest, n);
            return n;
        }
    }
    return ++*highest;
}

}  // namespace

std::string serverTextDomain(int width) { return postgresDialect().textType + std::to_string(width); }

int serverTextDomainWidth(std::string_view typeName)
{
    const std::string& prefix = postgresDialect().textType;
    if (!typeName.starts_with(prefix)) return 0;
    typeName.remove_prefix(prefix.size());
    int n = 0;
    const auto [end, ec] = std::from_chars(typeName.data(), typeName.data() + typeName.size(), n);
    return ec == std::errc() && end == typeName.data() + typeName.size() ? n : 0;
}

ServerText toServerWords(std::string_view statement)
{
    const Dialect& server = postgresDialect();
    std::vector<Token> t = lex(statement, Words::Engine);
    ServerText out;
    const bool definition = isDefinition(t);
    for (size_t i = 0; i < t.size(); ++i) {
        Token& tok = t[i];
        if (tok.kind == Tok::Ident) {
            tok.text = server.quoteName(foldLatin(unquotedName(tok.text)));
        } else if (tok.kind == Tok::Punct && tok.text == "?") {
            tok.text = "$" + std::to_string(parameterNumber(t, i, &out.parameters));
        } else if (isWord(tok, "collate")) {
            const size_t n = nextSolid(t, i + 1);
            if (n >= t.size()) continue;
            const std::string name = foldLatin(t[n].kind == Tok::Ident ? unquotedName(t[n].text) : t[n].text);
            // Text is case-insensitive by its type on the server and sorts in the Chinese order by
            // the collation its columns are declared with (below): both collations go. The server
            // takes a collation on text alone, and a sort term may name a date or a number.
            if (name == "nocase" || name == kChineseCollation) replaceTokens(t, i, n + 1, "");
        } else if (isWord(tok, "ifnull")) {
            tok.text = "coalesce";
        } else if (definition && tok.kind == Tok::Word) {
            for (const TypePattern& p : typePatterns()) {
                int width = 0;
                size_t end = matchType(t, i, p, &width);
                if (end == std::string::npos && p.text) end = matchBareText(t, i, &width);
                if (end == std::string::npos) continue;
                if (p.text) out.textWidths.push_back(width);
                std::string type = p.text ? serverTextDomain(width) : p.server;
                if (p.text || p.server == server.memoType) type += server.collateWord + server.chineseCollation;
                replaceTokens(t, i, end, std::move(type));
                i = end - 1;
                break;
            }
        }
    }
    out.sql.reserve(statement.size() + 16);
    for (const Token& tok : t) out.sql += tok.text;
    return out;
}

}  // namespace rsgz::db
