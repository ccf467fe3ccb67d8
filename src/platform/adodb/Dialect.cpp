#include "platform/adodb/Dialect.h"

#include "platform/RuntimeError.h"
#include "platform/adodb/SqlTokens.h"
#include "platform/conv/Conv.h"

#include <optional>

namespace {

bool IsRelationKeyword(const SqlToken& token)
{
    return token.IsWord(u"from") || token.IsWord(u"join") || token.IsWord(u"into") ||
           token.IsWord(u"update");
}

// The names of the tables and views the statement reads or writes.
QStringList Relations(Tokens& tokens)
{
    QStringList names;
    for (int n = 0; n + 1 < tokens.Count(); ++n)
        if (IsRelationKeyword(*tokens.At(n)) && tokens.At(n + 1)->IsName())
            names.append(tokens.At(n + 1)->Name());
    return names;
}

bool IsTextColumn(const Schema& schema, const QStringList& relations, const QString& relation,
                  const QString& column)
{
    if (!relation.isEmpty())
        return schema.TypeOf(relation, column) == ColumnType::Text;
    for (const QString& name : relations)
        if (schema.TypeOf(name, column) == ColumnType::Text)
            return true;
    return false;
}

// Whether the operand that ends at n (looking back) or starts at n is a text.
bool IsTextOperand(Tokens& tokens, int n, bool before, const Schema& schema,
                   const QStringList& relations)
{
    const SqlToken* token = tokens.At(n);
    if (!token)
        return false;
    if (token->kind == SqlToken::Kind::String)
        return true;
    if (!token->IsName())
        return false;
    // relation.column
    if (before) {
        const bool qualified =
            tokens.IsSymbol(n - 1, u".") && tokens.At(n - 2) && tokens.At(n - 2)->IsName();
        return IsTextColumn(schema, relations, qualified ? tokens.At(n - 2)->Name() : QString(),
                            token->Name());
    }
    if (tokens.IsSymbol(n + 1, u".") && tokens.At(n + 2) && tokens.At(n + 2)->IsName())
        return IsTextColumn(schema, relations, token->Name(), tokens.At(n + 2)->Name());
    // A function call is no column.
    return !tokens.IsSymbol(n + 1, u"(") &&
           IsTextColumn(schema, relations, QString(), token->Name());
}

void ConcatenateTexts(Tokens& tokens, const Schema& schema, const QStringList& relations)
{
    for (int n = 1; n + 1 < tokens.Count(); ++n) {
        if (!tokens.IsSymbol(n, u"+"))
            continue;
        if (IsTextOperand(tokens, n - 1, true, schema, relations) ||
            IsTextOperand(tokens, n + 1, false, schema, relations))
            tokens.At(n)->text = QStringLiteral("||");
    }
}

// Stores a date text of a date column as ISO 8601, or refuses it.
void StoreDate(SqlToken& value, const QString& column)
{
    const QString text = value.StringValue();
    const std::optional<DateValue> date = ParseDate(text);
    if (!date)
        throw RuntimeError(
            QStringLiteral("Type mismatch: '%1' is no date and cannot be stored in the column %2")
                .arg(text, column),
            13);
    QString iso = date->value.date().toString(QStringLiteral("yyyy-MM-dd"));
    if (date->hasTime)
        iso += date->value.time().toString(QStringLiteral(" HH:mm:ss"));
    value.text = QLatin1Char('\'') + iso + QLatin1Char('\'');
}

// The lone 'string' of the expression from..to, or nullptr when it is anything else.
SqlToken* LoneString(Tokens& tokens, int from, int to)
{
    if (to - from != 1 || tokens.At(from)->kind != SqlToken::Kind::String)
        return nullptr;
    return tokens.At(from);
}

// The top-level comma-separated pieces of from..to as [start, end) pairs.
std::vector<std::pair<int, int>> Pieces(Tokens& tokens, int from, int to)
{
    std::vector<std::pair<int, int>> pieces;
    int depth = 0;
    int start = from;
    for (int n = from; n < to; ++n) {
        if (tokens.IsSymbol(n, u"("))
            ++depth;
        else if (tokens.IsSymbol(n, u")"))
            --depth;
        else if (depth == 0 && tokens.IsSymbol(n, u",")) {
            pieces.emplace_back(start, n);
            start = n + 1;
        }
    }
    pieces.emplace_back(start, to);
    return pieces;
}

// insert into T (c1, c2, ...) values (v1, v2, ...)
void ConvertInsertedDates(Tokens& tokens, const Schema& schema)
{
    if (!tokens.IsWord(0, u"insert") || !tokens.IsWord(1, u"into") || !tokens.At(2) ||
        !tokens.At(2)->IsName() || !tokens.IsSymbol(3, u"("))
        return;
    const QString relation = tokens.At(2)->Name();
    const int columnsEnd = tokens.AfterClosing(3);
    if (!tokens.IsWord(columnsEnd, u"values") || !tokens.IsSymbol(columnsEnd + 1, u"("))
        return;
    const auto columns = Pieces(tokens, 4, columnsEnd - 1);
    const auto values = Pieces(tokens, columnsEnd + 2, tokens.AfterClosing(columnsEnd + 1) - 1);
    for (std::size_t i = 0; i < columns.size() && i < values.size(); ++i) {
        if (columns[i].second - columns[i].first != 1)
            continue;
        const QString column = tokens.At(columns[i].first)->Name();
        if (schema.TypeOf(relation, column) != ColumnType::Date)
            continue;
        if (SqlToken* value = LoneString(tokens, values[i].first, values[i].second))
            StoreDate(*value, column);
    }
}

// update T set c1 = v1, c2 = v2 ... [where ...]
void ConvertUpdatedDates(Tokens& tokens, const Schema& schema)
{
    if (!tokens.IsWord(0, u"update") || !tokens.At(1) || !tokens.At(1)->IsName() ||
        !tokens.IsWord(2, u"set"))
        return;
    const QString relation = tokens.At(1)->Name();
    int end = 3;
    for (int depth = 0; end < tokens.Count(); ++end) {
        if (tokens.IsSymbol(end, u"("))
            ++depth;
        else if (tokens.IsSymbol(end, u")"))
            --depth;
        else if (depth == 0 && tokens.IsWord(end, u"where"))
            break;
    }
    for (const auto& [from, to] : Pieces(tokens, 3, end)) {
        if (to - from < 3 || !tokens.At(from)->IsName() || !tokens.IsSymbol(from + 1, u"="))
            continue;
        const QString column = tokens.At(from)->Name();
        if (schema.TypeOf(relation, column) != ColumnType::Date)
            continue;
        if (SqlToken* value = LoneString(tokens, from + 2, to))
            StoreDate(*value, column);
    }
}

// An index would hand the rows to First and Last in the index's order, not the stored one.
void ReadInStoredOrder(Tokens& tokens, const Schema& schema)
{
    bool aggregates = false;
    for (int n = 0; n + 1 < tokens.Count(); ++n)
        if ((tokens.IsWord(n, u"first") || tokens.IsWord(n, u"last")) &&
            tokens.IsSymbol(n + 1, u"("))
            aggregates = true;
    if (!aggregates)
        return;
    for (int n = 0; n + 1 < tokens.Count(); ++n) {
        if (!(tokens.IsWord(n, u"from") || tokens.IsWord(n, u"join")))
            continue;
        SqlToken* table = tokens.At(n + 1);
        const Schema::Relation* relation = table->IsName() ? schema.Find(table->Name()) : nullptr;
        if (!relation || !relation->isTable)
            continue;
        const SqlToken* after = tokens.At(n + 2);
        const bool plain = !after || after->IsSymbol(u")") || after->IsSymbol(u";") ||
                           after->IsWord(u"where") || after->IsWord(u"group") ||
                           after->IsWord(u"order") || after->IsWord(u"limit");
        if (plain)
            table->text += QStringLiteral(" NOT INDEXED");
    }
}

// SELECT … FOR UPDATE locks the rows it reads until the transaction ends. SQLite has no row
// locks: the write transaction that BeginTrans starts already keeps every other writer out.
void DropRowLock(Tokens& tokens)
{
    const int last = tokens.Count() - 1;
    const int end = tokens.IsSymbol(last, u";") ? last - 1 : last;
    if (tokens.IsWord(end - 1, u"for") && tokens.IsWord(end, u"update"))
        tokens.Erase(end - 1, end);
}

// "order by" a text column orders as the program sorts text everywhere (the collation given),
// not by the codes of the characters. Other terms (numbers, dates, expressions) keep their order.
void CollateOrderedTexts(Tokens& tokens, const Schema& schema, const QStringList& relations,
                         const QString& collation)
{
    for (int n = 0; n + 1 < tokens.Count(); ++n) {
        if (!tokens.IsWord(n, u"order") || !tokens.IsWord(n + 1, u"by"))
            continue;
        // The terms end with the statement, a "limit", or the ")" around their query.
        int end = n + 2;
        for (int depth = 0; end < tokens.Count(); ++end) {
            if (tokens.IsSymbol(end, u"("))
                ++depth;
            else if (tokens.IsSymbol(end, u")") && depth-- == 0)
                break;
            else if (depth == 0 && (tokens.IsWord(end, u"limit") || tokens.IsSymbol(end, u";")))
                break;
        }
        for (const auto& [from, to] : Pieces(tokens, n + 2, end)) {
            // column, or relation.column, then perhaps asc or desc
            const int dot = tokens.IsSymbol(from + 1, u".") ? from + 2 : from;
            const bool directed = tokens.IsWord(dot + 1, u"asc") || tokens.IsWord(dot + 1, u"desc");
            if (to - dot != (directed ? 2 : 1) || !tokens.At(dot)->IsName() ||
                !tokens.At(from)->IsName() ||
                !IsTextColumn(schema, relations, dot == from ? QString() : tokens.At(from)->Name(),
                              tokens.At(dot)->Name()))
                continue;
            tokens.At(dot)->text += QStringLiteral(" COLLATE ") + collation;
        }
    }
}

} // namespace

QString RewriteStatement(const QString& sql, const Schema& schema, SqlDialect dialect,
                         const QString& textOrder)
{
    Tokens tokens(sql);
    const QStringList relations = Relations(tokens);
    ConcatenateTexts(tokens, schema, relations);
    ConvertInsertedDates(tokens, schema);
    ConvertUpdatedDates(tokens, schema);
    if (dialect == SqlDialect::Postgres) {
        FinishForPostgres(tokens, schema, sql);
    } else {
        ReadInStoredOrder(tokens, schema);
        DropRowLock(tokens);
    }
    CollateOrderedTexts(tokens, schema, relations, textOrder);
    return tokens.Text();
}

bool IsQuery(const QString& sql)
{
    Tokens tokens(sql);
    // An empty text reads nothing; the engine refuses it as empty.
    if (tokens.Count() == 0)
        return true;
    if (!tokens.IsWord(0, u"select"))
        return false;
    for (int n = 1; n < tokens.Count(); ++n)
        if (tokens.IsWord(n, u"into"))
            return false;
    return true;
}
