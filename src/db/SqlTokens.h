#pragma once
// The pieces a statement is read into before it is rewritten for an engine: names, text values,
// comments and blanks are told apart, so that a rewrite never touches the inside of a value.
#include <string>
#include <string_view>
#include <vector>

namespace rsgz::db::sqltok {

enum class Tok { Space, Comment, Word, Number, String, Ident, Hash, Punct };

struct Token {
    Tok kind;
    std::string text;
};

// Which words a statement is in: the program's own dialect reads "…" as a text value, the engine
// reads it as a name.
enum class Words { Dialect, Engine };

std::vector<Token> lex(std::string_view s, Words words = Words::Engine);
// Comments count as blanks wherever the statement's words are looked at.
bool isBlank(const Token& t);
bool isWord(const Token& t, const char* w);  // a bare word, Latin case ignored
size_t nextSolid(const std::vector<Token>& t, size_t i);

}  // namespace rsgz::db::sqltok
