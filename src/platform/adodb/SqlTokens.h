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
