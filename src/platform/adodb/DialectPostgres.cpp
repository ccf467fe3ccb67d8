#include "platform/RuntimeError.h"
#include "platform/adodb/Dialect.h"
#include "platform/adodb/Errors.h"
#include "platform/adodb/SqlTokens.h"
#include "platform/conv/Conv.h"

namespace {

// Whatever follows a ";" must be blanks, comments or more semicolons.
void KeepOneStatement(Tokens& tokens, const QString& sql)
{
    for (int n = 0; n < tokens.Count(); ++n) {
        if (!tokens.IsSymbol(n, u";"))
            continue;
        for (int after = n + 1; after < tokens.Count(); ++after)
            if (!tokens.IsSymbol(after, u";"))
                RefuseSecondStatement(sql);
        tokens.Erase(n, tokens.Count() - 1);
        return;
    }
}

// Unquoted names would be folded to lower case by the server.
void QuoteNames(Tokens& tokens, const Schema& schema)
{
    for (int n = 0; n < tokens.Count(); ++n) {
        SqlToken& token = *tokens.At(n);
        if (token.kind == SqlToken::Kind::Bracketed || token.kind == SqlToken::Kind::Quoted) {
            const QString name = token.Name();
            const QString spelling = schema.Spelling(name);
            token.kind = SqlToken::Kind::Quoted;
            token.text = QuotedName(spelling.isEmpty() ? name : spelling);
        } else if (token.kind == SqlToken::Kind::Word) {
            const QString spelling = schema.Spelling(token.text);
            if (!spelling.isEmpty()) {
                token.kind = SqlToken::Kind::Quoted;
                token.text = QuotedName(spelling);
            }
        }
    }
}

// "Table"."Key" of the table after the statement's first FROM.
QString KeyOfFirstTable(Tokens& tokens, const Schema& schema, const QString& sql)
{
    for (int n = 0; n + 1 < tokens.Count(); ++n) {
        if (!tokens.IsWord(n, u"from") || !tokens.At(n + 1)->IsName())
            continue;
        const Schema::Relation* relation = schema.Find(tokens.At(n + 1)->Name());
        if (relation && !relation->key.isEmpty())
            return QuotedName(relation->name) + QLatin1Char('.') + QuotedName(relation->key);
        break;
    }
    ThrowStatementError(QStringLiteral("First and Last need a table with a key to read in order"),
                        sql);
}

// First(x) → (array_agg(x ORDER BY key))[1]: x of the first row in key order, null or not.
void FirstAndLastInKeyOrder(Tokens& tokens, const Schema& schema, const QString& sql)
{
    for (int n = 0; n + 1 < tokens.Count(); ++n) {
        const bool first = tokens.IsWord(n, u"first");
        if (!(first || tokens.IsWord(n, u"last")) || !tokens.IsSymbol(n + 1, u"("))
            continue;
        const int close = tokens.AfterClosing(n + 1) - 1;
        if (!tokens.IsSymbol(close, u")"))
            continue; // unbalanced: the server refuses it
        tokens.At(n)->text = QStringLiteral("(array_agg");
        tokens.At(close)->text =
            QStringLiteral(" ORDER BY ") + KeyOfFirstTable(tokens, schema, sql) +
            (first ? QString() : QStringLiteral(" DESC")) + QStringLiteral("))[1]");
    }
}

// The amount that CCur gives for its argument from..to, as a numeric literal.
QString Amount(Tokens& tokens, int from, int to)
{
    const SqlToken* token = tokens.At(from);
    if (to - from == 1 && token->kind == SqlToken::Kind::String)
        return CCur(token->StringValue()).DecimalText();
    if (to - from == 1 && token->IsWord(u"null"))
        return QStringLiteral("NULL");
    const bool negative = tokens.IsSymbol(from, u"-");
    const int number = negative || tokens.IsSymbol(from, u"+") ? from + 1 : from;
    if (to - number == 1 && tokens.At(number)->kind == SqlToken::Kind::Number) {
        bool ok = false;
        const double value = tokens.At(number)->text.toDouble(&ok);
        const std::optional<Currency> amount =
            ok ? Currency::FromDouble(negative ? -value : value) : std::nullopt;
        if (!amount)
            throw RuntimeError(QStringLiteral("Overflow in CCur"), 6);
        return amount->DecimalText();
    }
    throw RuntimeError(QStringLiteral("CCur on a shared inventory takes a quoted amount, a "
                                      "number or null"),
                       5);
}

// In parentheses, so that "5-CCur('-5')" cannot become the comment "5--5".
void ConvertMoney(Tokens& tokens, const QString& sql)
{
    for (int n = 0; n + 1 < tokens.Count(); ++n) {
        if (!tokens.IsWord(n, u"ccur") || !tokens.IsSymbol(n + 1, u"("))
            continue;
        const int close = tokens.AfterClosing(n + 1) - 1;
        if (!tokens.IsSymbol(close, u")"))
            continue;
        QString amount;
        try {
            amount = Amount(tokens, n + 2, close);
        } catch (const RuntimeError& error) {
            ThrowStatementError(error.Description(), sql);
        }
        tokens.Erase(n, close);
        tokens.At(n)->text = QLatin1Char('(') + amount + QLatin1Char(')');
        n = close;
    }
}

} // namespace

QString QuotedName(QString name)
{
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

void FinishForPostgres(Tokens& tokens, const Schema& schema, const QString& sql)
{
    KeepOneStatement(tokens, sql);
    QuoteNames(tokens, schema);
    FirstAndLastInKeyOrder(tokens, schema, sql);
    ConvertMoney(tokens, sql);
}
