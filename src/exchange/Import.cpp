#include "exchange/Import.h"

#include "data/AssetColumns.h"
#include "data/Globals.h"
#include "data/SqlLiterals.h"
#include "exchange/Csv.h"
#include "exchange/ExportSheets.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <array>
#include <cmath>
#include <optional>

namespace {

// A value quoted in a problem: its start, when it is long.
QString Quoted(const QString& value)
{
    constexpr qsizetype kShown = 40;
    return "'" + (value.size() > kShown ? value.left(kShown) + "…" : value) + "'";
}

// A lookup list and how its values are told apart: by one text, or for employees by the last
// and the first name ("Last, First" in the list).
struct LookupTable
{
    const char* field; // the list's column
    const char* table;
    const char* key;
    std::array<const char*, 2> texts;
};

constexpr std::array<LookupTable, 5> kLookups{{
    {"Employee", "Employees", "EmployeeID", {"LastName", "FirstName"}},
    {"VendorName", "Vendors", "VendorID", {"VendorName", nullptr}},
    {"AssetCategory", "[Asset Categories]", "AssetCategoryID", {"AssetCategory", nullptr}},
    {"Status", "Status", "StatusID", {"Status", nullptr}},
    {"DepartmentName", "Departments", "DepartmentID", {"DepartmentName", nullptr}},
}};

int LookupOf(const char* field)
{
    for (size_t n = 0; n < kLookups.size(); ++n)
        if (QLatin1String(kLookups[n].field) == QLatin1String(field))
            return int(n);
    return -1;
}

// A lookup value without regard to case or blanks at either end.
QString LookupKey(const QStringList& parts)
{
    QStringList trimmed;
    for (const QString& part : parts)
        trimmed << part.trimmed();
    return trimmed.join(QChar(0x1f)).toCaseFolded();
}

// Where a column of the file goes.
struct Target
{
    enum Kind { Ignored, Asset, FirstName, LastName } kind = Ignored;
    int column = -1; // in kAssetColumns, for Asset
};

// A header as it is compared: without blanks and case.
QString HeaderKey(const QString& header)
{
    QString key;
    for (QChar c : header)
        if (!c.isSpace())
            key += c;
    return key.toCaseFolded();
}

Target TargetOf(const QString& header)
{
    const QString key = HeaderKey(header);
    for (size_t column = 0; column < kAssetColumns.size(); ++column)
        if (key == HeaderKey(kAssetColumns[column].caption) ||
            key == HeaderKey(kAssetColumns[column].field))
            return {Target::Asset, int(column)};
    if (key == "firstname")
        return {Target::FirstName};
    if (key == "lastname")
        return {Target::LastName};
    return {};
}

// Money and numbers as a spreadsheet saves them: with a point ("1234.5"), which every
// program writes alike, or in the locale's own form ("$1,234.50", "1.234,50 €").
std::optional<QString> NumberInLocale(const QString& text)
{
    static const QRegularExpression pointForm(
        QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?([eE][+-]?[0-9]+)?$"));
    const QString trimmed = text.trimmed();
    if (pointForm.match(trimmed).hasMatch())
        return QString(trimmed).replace('.', QLocale().decimalPoint());
    if (IsNumeric(trimmed))
        return trimmed;
    return std::nullopt;
}

// Reads the lines of one file into the plan.
class Planner
{
public:
    explicit Planner(ImportPlan& plan) : m_plan(plan)
    {
        for (size_t n = 0; n < kLookups.size(); ++n)
            ReadLookup(n);
        Recordset assets;
        assets.Open("select AssetID, BarcodeNumber from Assets order by AssetID",
                    SharedConnection());
        for (; !assets.Eof(); assets.MoveNext()) {
            const QString barcode = TextOf(assets.Fields(1).Value);
            if (!barcode.isEmpty())
                m_assetsByBarcode[barcode].append(TextOf(assets.Fields(0).Value));
        }
    }

    void ReadHeader(const QStringList& headers)
    {
        m_headers = headers;
        QHash<QString, QString> taken; // target -> header that took it
        for (const QString& header : headers) {
            Target target = TargetOf(header);
            const QString name = header.trimmed().isEmpty() ? QStringLiteral("(no name)") : header;
            if (target.kind == Target::Ignored) {
                m_plan.ignoredColumns << name;
            } else if (target.kind == Target::Asset &&
                       kAssetColumns[target.column].value == AssetValue::Key) {
                m_plan.ignoredColumns << name + " (new assets get numbers of their own)";
                target = {};
            } else {
                const QString slot =
                    QString::number(target.kind) + "/" + QString::number(target.column);
                if (taken.contains(slot)) {
                    m_plan.ignoredColumns << name + " (a second " + taken[slot] + " column)";
                    target = {};
                } else {
                    taken.insert(slot, header);
                }
            }
            m_targets.push_back(target);
        }
        const int description = AssetColumnOf("AssetDescription");
        if (!Has(Target::Asset, description))
            throw FileError(
                "its first line names no Description column. The first line must name the "
                "columns, as the list's captions do; Description is the one column every "
                "file needs");
        // Names in two columns count only where no Employee column gives them whole.
        if (Has(Target::Asset, AssetColumnOf("Employee")))
            for (size_t n = 0; n < m_targets.size(); ++n)
                if (m_targets[n].kind == Target::FirstName ||
                    m_targets[n].kind == Target::LastName) {
                    m_plan.ignoredColumns
                        << headers[qsizetype(n)] + " (the Employee column names the employee)";
                    m_targets[n] = {};
                }
    }

    void ReadLine(const CsvReader::Record& record)
    {
        m_line = record.line;
        m_problems = 0;
        m_pendingLookups.clear();
        if (record.fields.size() > m_headers.size()) {
            for (qsizetype n = m_headers.size(); n < record.fields.size(); ++n)
                if (!record.fields[n].isEmpty()) {
                    Problem(QString(),
                            QStringLiteral("holds %1 fields, but the first line names %2 columns")
                                .arg(record.fields.size())
                                .arg(m_headers.size()));
                    break;
                }
        }
        QStringList columns;
        QStringList values;
        QStringList names(2);
        bool namesGiven = false;
        QString barcode;
        for (size_t n = 0; n < m_targets.size(); ++n) {
            const Target& target = m_targets[n];
            if (target.kind == Target::Ignored)
                continue;
            const QString field =
                qsizetype(n) < record.fields.size() ? record.fields[qsizetype(n)] : QString();
            m_header = m_headers[qsizetype(n)];
            if (field.contains(QChar(0))) {
                Problem(m_header, "holds a NUL character, which no text can hold");
                continue;
            }
            if (target.kind != Target::Asset) {
                names[target.kind == Target::LastName ? 0 : 1] = field.trimmed();
                namesGiven = true;
                continue;
            }
            const AssetColumn& column = kAssetColumns[size_t(target.column)];
            if (column.value == AssetValue::Lookup) {
                const int lookup = LookupOf(column.field);
                const QString text = field.trimmed();
                QStringList parts{text};
                if (lookup == 0) {
                    const qsizetype comma = text.indexOf(',');
                    parts = comma < 0 ? QStringList{text, QString()}
                                      : QStringList{text.left(comma).trimmed(),
                                                    text.mid(comma + 1).trimmed()};
                }
                columns << kLookups[size_t(lookup)].key;
                values << LookupLiteral(lookup, text.isEmpty() ? QStringList() : parts);
                continue;
            }
            const std::optional<QString> literal = ValueLiteral(column, field);
            if (!literal)
                continue;
            if (QLatin1String(column.field) == QLatin1String("BarcodeNumber")) {
                barcode = UnguardFormula(field);
                m_barcodeHeader = m_header;
            }
            columns << column.field;
            values << *literal;
        }
        if (namesGiven) {
            columns << kLookups[0].key;
            values << LookupLiteral(0, names.join(QString()).isEmpty() ? QStringList() : names);
        }
        const QString update = UpdateKey(barcode);
        if (m_problems > 0)
            return;
        for (const auto& [key, parts] : m_pendingLookups)
            AddLookup(key, parts);
        if (update.isEmpty()) {
            ++m_plan.adds;
            m_plan.statements << "insert into Assets (" + columns.join(',') + ") values (" +
                                     values.join(',') + ")";
        } else {
            m_plan.updates.push_back({m_line, update, barcode});
            QStringList sets;
            for (qsizetype n = 0; n < columns.size(); ++n)
                sets << columns[n] + "=" + values[n];
            m_plan.statements << "update Assets set " + sets.join(',') +
                                     " where AssetID=" + IdLiteral(update);
        }
    }

    // The new lookup values go first, so that the assets' statements find them.
    void Finish() { m_plan.statements = m_lookupStatements + m_plan.statements; }

private:
    bool Has(Target::Kind kind, int column) const
    {
        for (const Target& target : m_targets)
            if (target.kind == kind && target.column == column)
                return true;
        return false;
    }

    void Problem(const QString& column, const QString& text)
    {
        m_plan.problems.push_back({m_line, column, text});
        ++m_problems;
    }

    void ReadLookup(size_t n)
    {
        const LookupTable& lookup = kLookups[n];
        QString columns = lookup.key + QString(",") + lookup.texts[0];
        if (lookup.texts[1])
            columns += QString(",") + lookup.texts[1];
        Recordset rows;
        rows.Open(QString("select %1 from %2 order by %3").arg(columns, lookup.table, lookup.key),
                  SharedConnection());
        for (; !rows.Eof(); rows.MoveNext()) {
            QStringList parts{TextOf(rows.Fields(1).Value)};
            if (lookup.texts[1])
                parts << TextOf(rows.Fields(2).Value);
            // Of two rows with the same text, the older one is taken.
            const QString key = QString::number(n) + LookupKey(parts);
            if (!m_existing.contains(key))
                m_existing.insert(key, TextOf(rows.Fields(0).Value));
        }
    }

    // The value of a lookup column: an existing row's key, or the key of the row the import
    // adds for a new value.
    QString LookupLiteral(int n, const QStringList& parts)
    {
        if (parts.isEmpty())
            return QStringLiteral("null");
        const LookupTable& lookup = kLookups[size_t(n)];
        const QString key = QString::number(n) + LookupKey(parts);
        if (const auto existing = m_existing.find(key); existing != m_existing.end())
            return IdLiteral(existing.value());
        // The first spelling of a new value is the one added; later lines refer to it.
        const QStringList& spelling = m_spellings.contains(key) ? m_spellings[key] : parts;
        if (!m_added.contains(key))
            m_pendingLookups.emplace_back(key, parts);
        QStringList where;
        for (size_t p = 0; p < lookup.texts.size() && lookup.texts[p]; ++p)
            where << QString(lookup.texts[p]) + "=" + TextLiteral(spelling[qsizetype(p)]);
        // The newest row with exactly this text is the one the import adds: an older one
        // would have been found above.
        return QString("(select max(%1) from %2 where %3)")
            .arg(lookup.key, lookup.table, where.join(" and "));
    }

    void AddLookup(const QString& key, const QStringList& parts)
    {
        if (m_added.contains(key))
            return;
        m_added.insert(key);
        m_spellings.insert(key, parts);
        const size_t n = size_t(key.left(1).toInt());
        const LookupTable& lookup = kLookups[n];
        QStringList columns;
        QStringList values;
        for (size_t p = 0; p < lookup.texts.size() && lookup.texts[p]; ++p) {
            columns << lookup.texts[p];
            values << TextLiteral(parts[qsizetype(p)]);
        }
        m_lookupStatements << QString("insert into %1 (%2) values (%3)")
                                  .arg(lookup.table, columns.join(','), values.join(','));
        const QString caption = kAssetColumns[size_t(AssetColumnOf(lookup.field))].caption;
        m_plan.newLookups << caption + " " + Quoted(n == 0 ? parts.join(", ") : parts[0]);
    }

    std::optional<QString> ValueLiteral(const AssetColumn& column, const QString& field)
    {
        const bool empty = field.trimmed().isEmpty();
        switch (column.value) {
        case AssetValue::Text: {
            const QString text = UnguardFormula(field);
            if (text.isEmpty()) {
                if (QLatin1String(column.field) == QLatin1String("AssetDescription")) {
                    Problem(m_header, "is empty; every asset needs a description");
                    return std::nullopt;
                }
                return QStringLiteral("null");
            }
            return TextLiteral(text);
        }
        case AssetValue::Date: {
            if (empty)
                return QStringLiteral("null");
            const std::optional<DateValue> date = ParseDate(field);
            if (!date) {
                Problem(m_header, Quoted(field) + " is no date");
                return std::nullopt;
            }
            return TextLiteral(IsoDateText(date->value.date(), date->value.time(), date->hasTime));
        }
        case AssetValue::Money: {
            if (empty)
                return QStringLiteral("null");
            const std::optional<QString> number = NumberInLocale(field);
            if (!number) {
                Problem(m_header, Quoted(field) + " is no amount");
                return std::nullopt;
            }
            try {
                return NumberLiteral(CCur(*number));
            } catch (const RuntimeError&) {
                Problem(m_header, Quoted(field) + " is too large for an amount");
                return std::nullopt;
            }
        }
        case AssetValue::Number: {
            if (empty)
                return QStringLiteral("null");
            const std::optional<QString> number = NumberInLocale(field);
            bool ok = false;
            const double value = number ? QLocale().toDouble(*number, &ok) : 0;
            if (!number || !ok || !std::isfinite(value)) {
                Problem(m_header, Quoted(field) + (number ? " is too large" : " is no number"));
                return std::nullopt;
            }
            return NumberLiteral(value);
        }
        case AssetValue::Key:
        case AssetValue::Lookup:
            break;
        }
        return std::nullopt;
    }

    // The asset a line updates: the one whose Barcode Number it has; "" to add one.
    QString UpdateKey(const QString& barcode)
    {
        if (barcode.isEmpty())
            return QString();
        const int earlier = m_lineOfBarcode.value(barcode, 0);
        if (earlier > 0) {
            Problem(m_barcodeHeader, Quoted(barcode) + QString(" is on line %1 too").arg(earlier));
            return QString();
        }
        m_lineOfBarcode.insert(barcode, m_line);
        const QStringList owners = m_assetsByBarcode.value(barcode);
        if (owners.size() > 1) {
            Problem(m_barcodeHeader,
                    Quoted(barcode) +
                        QString(" belongs to %1 assets, so the line cannot tell which to update")
                            .arg(owners.size()));
            return QString();
        }
        return owners.isEmpty() ? QString() : owners.front();
    }

    ImportPlan& m_plan;
    QStringList m_headers;
    std::vector<Target> m_targets;
    QHash<QString, QString> m_existing;      // lookup number and key -> row key
    QHash<QString, QStringList> m_spellings; // lookup number and key -> new value as added
    QSet<QString> m_added;                   // new lookup values planned
    std::vector<std::pair<QString, QStringList>> m_pendingLookups;
    QStringList m_lookupStatements;
    QHash<QString, QStringList> m_assetsByBarcode;
    QHash<QString, int> m_lineOfBarcode;
    int m_line = 0;
    QString m_header;
    QString m_barcodeHeader;
    int m_problems = 0;
};

} // namespace

QString ImportProblem::Text() const
{
    return column.isEmpty() ? QString("line %1 %2").arg(line).arg(text)
                            : QString("line %1, %2: %3").arg(line).arg(column, text);
}

ImportPlan PlanImport(QIODevice& file)
{
    ImportPlan plan;
    CsvReader reader(file);
    CsvReader::Record record;
    if (!reader.Next(record))
        throw FileError("it is empty");
    Planner planner(plan);
    planner.ReadHeader(record.fields);
    while (reader.Next(record))
        planner.ReadLine(record);
    planner.Finish();
    return plan;
}
