#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

// Which rows of a list a find shows: those whose cells hold every word of the find text,
// without regard to case or accents, and, while a ceiling is set, whose value in its column
// is at most the ceiling. The filter only picks rows; it never changes or removes them.
//
// It keeps the folded text of every row in one buffer, made when a find first needs it and
// then extended by the rows added since, so a keystroke searches folded bytes only.
class ListCells;

class ListFilter
{
public:
    struct Ceiling
    {
        int column;
        double value;
    };

    bool Active() const { return !m_words.empty() || m_ceiling.has_value(); }
    const QString& Text() const { return m_text; }
    // False when the text gives the same words as before.
    bool SetText(const QString& text);
    const std::optional<Ceiling>& ValueCeiling() const { return m_ceiling; }
    void SetValueCeiling(const std::optional<Ceiling>& ceiling) { m_ceiling = ceiling; }

    // The folded text of rows from `row` on is out of date (rows cleared or changed).
    void ForgetFrom(int row);

    // Decides for every row whether it is shown. `cells` holds the rows as added; `values`
    // per column the values by added row (NaN or beyond the end: none).
    void Match(const ListCells& cells, const std::vector<std::vector<double>>& values);
    // The rows of `order` that the last Match picked, in that order.
    std::vector<int> Pick(const std::vector<int>& order) const;

private:
    void FoldRows(const ListCells& cells);

    QString m_text;
    std::vector<std::string> m_words;
    std::optional<Ceiling> m_ceiling;
    // Row r's folded cells, each ended as in the list, lie from m_starts[r] to
    // m_starts[r + 1].
    std::string m_folded;
    std::vector<size_t> m_starts{0};
    // By added row: shown or not.
    std::vector<char> m_match;
};
