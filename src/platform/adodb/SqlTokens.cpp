#include "platform/adodb/SqlTokens.h"

#include <QStringList>

namespace {

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// The end of a token that starts with an opening character and ends with closing, where a
// doubled closing character stands for itself.
qsizetype EndOfEnclosed(const QString& sql, qsizetype start, QChar closing)
{
    qsizetype i = start + 1;
    while (i < sql.size()) {
        if (sql[i] == closing) {
            if (closing != QLatin1Char(']') && i + 1 < sql.size() && sql[i + 1] == closing) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

} // namespace

QString SqlToken::Name() const
{
    if (kind == Kind::Bracketed || kind == Kind::Quoted) {
        QString inner = text.mid(1);
        if (inner.endsWith(kind == Kind::Bracketed ? QLatin1Char(']') : QLatin1Char('"')))
            inner.chop(1);
        return inner;
    }
    return text;
}

QString SqlToken::StringValue() const
{
    QString inner = text.mid(1);
    if (inner.endsWith(QLatin1Char('\'')))
        inner.chop(1);
    return inner.replace(QLatin1String("''"), QLatin1String("'"));
}

std::vector<SqlToken> Tokenize(const QString& sql)
{
    std::vector<SqlToken> tokens;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        SqlToken::Kind kind;
        qsizetype end;
        if (c.isSpace()) {
            kind = SqlToken::Kind::Blank;
            end = i + 1;
            while (end < sql.size() && sql[end].isSpace())
                ++end;
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            kind = SqlToken::Kind::Comment;
            end = sql.indexOf(QLatin1Char('\n'), i);
            end = end < 0 ? sql.size() : end;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            kind = SqlToken::Kind::Comment;
            end = sql.indexOf(QLatin1String("*/"), i + 2);
            end = end < 0 ? sql.size() : end + 2;
        } else if (c == QLatin1Char('\'')) {
            kind = SqlToken::Kind::String;
            end = EndOfEnclosed(sql, i, QLatin1Char('\''));
        } else if (c == QLatin1Char('[')) {
            kind = SqlToken::Kind::Bracketed;
            end = EndOfEnclosed(sql, i, QLatin1Char(']'));
        } else if (c == QLatin1Char('"')) {
            kind = SqlToken::Kind::Quoted;
            end = EndOfEnclosed(sql, i, QLatin1Char('"'));
        } else if (c.isDigit() || (c == QLatin1Char('.') && next.isDigit())) {
            kind = SqlToken::Kind::Number;
            end = i + 1;
            while (end < sql.size() &&
                   (sql[end].isLetterOrNumber() || sql[end] == QLatin1Char('.')))
                ++end;
        } else if (IsWordChar(c)) {
            kind = SqlToken::Kind::Word;
            end = i + 1;
            while (end < sql.size() && IsWordChar(sql[end]))
                ++end;
        } else {
            kind = SqlToken::Kind::Symbol;
            static const QStringList pairs = {"||", "<=", ">=", "<>", "!=", "==", "<<", ">>"};
            end = pairs.contains(sql.mid(i, 2)) ? i + 2 : i + 1;
        }
        tokens.push_back({kind, sql.mid(i, end - i)});
        i = end;
    }
    return tokens;
}

QString Join(const std::vector<SqlToken>& tokens)
{
    QString text;
    for (const SqlToken& token : tokens)
        text += token.text;
    return text;
}

Tokens::Tokens(const QString& sql) : all(Tokenize(sql))
{
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].IsSignificant())
            significant.push_back(i);
}

int Tokens::AfterClosing(int n)
{
    int depth = 0;
    for (; n < Count(); ++n) {
        if (IsSymbol(n, u"("))
            ++depth;
        else if (IsSymbol(n, u")") && --depth == 0)
            return n + 1;
    }
    return Count();
}

void Tokens::Erase(int from, int to)
{
    for (std::size_t i = significant[std::size_t(from)]; i <= significant[std::size_t(to)]; ++i)
        all[i].text.clear();
}
