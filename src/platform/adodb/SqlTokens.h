#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// One token of statement text. Joining the texts of all tokens gives the text back exactly.
struct SqlToken
{
    enum class Kind { Blank, Comment, String, Bracketed, Quoted, Word, Number, Symbol };
    Kind kind;
    QString text;

    bool IsSignificant() const { return kind != Kind::Blank && kind != Kind::Comment; }
    bool IsWord(QStringView word) const
    {
        return kind == Kind::Word && text.compare(word, Qt::CaseInsensitive) == 0;
    }
    bool IsSymbol(QStringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    // A name: a word, [bracketed] or "quoted", without its brackets or quotes.
    bool IsName() const
    {
        return kind == Kind::Word || kind == Kind::Bracketed || kind == Kind::Quoted;
    }
    QString Name() const;
    // The value of a 'string' token, with doubled quotes made single.
    QString StringValue() const;
};

// Splits statement text into tokens. An unterminated string, name or comment runs to the
// end of the text (the engine then reports it).
std::vector<SqlToken> Tokenize(const QString& sql);
QString Join(const std::vector<SqlToken>& tokens);

// A statement's tokens and the positions of its significant ones (no blanks, comments), for
// the steps that rewrite it.
class Tokens
{
public:
    explicit Tokens(const QString& sql);

    int Count() const { return int(significant.size()); }
    // The n-th significant token; nullptr outside the statement.
    SqlToken* At(int n)
    {
        return n >= 0 && n < Count() ? &all[significant[std::size_t(n)]] : nullptr;
    }
    bool IsWord(int n, QStringView word) { return At(n) && At(n)->IsWord(word); }
    bool IsSymbol(int n, QStringView symbol) { return At(n) && At(n)->IsSymbol(symbol); }
    // The position after the ")" that closes the "(" at n; Count() when none does.
    int AfterClosing(int n);
    // Empties the text of every token from the significant token `from` to `to`, both
    // included, and of the blanks and comments between them.
    void Erase(int from, int to);
    QString Text() const { return Join(all); }

    std::vector<SqlToken> all;
    std::vector<std::size_t> significant;
};
