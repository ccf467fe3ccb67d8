#include "platform/ui/ListFilter.h"

#include "platform/conv/Fold.h"
#include "platform/ui/ListCells.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <string_view>

bool ListFilter::SetText(const QString& text)
{
    m_text = text;
    std::vector<std::string> words;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString& word : text.split(blanks, Qt::SkipEmptyParts)) {
        std::string folded = Folded(word);
        // A word of nothing but accents matches every row: it adds nothing.
        if (!folded.empty())
            words.push_back(std::move(folded));
    }
    if (words == m_words)
        return false;
    m_words = std::move(words);
    return true;
}

void ListFilter::ForgetFrom(int row)
{
    if (size_t(row) + 1 >= m_starts.size())
        return;
    m_starts.resize(size_t(row) + 1);
    m_folded.resize(m_starts.back());
}

void ListFilter::FoldRows(const ListCells& cells)
{
    const std::size_t rows = std::size_t(cells.RowCount());
    const std::size_t first = m_starts.size() - 1;
    for (std::size_t r = first; r < rows; ++r) {
        // After a first stretch of rows the buffer is sized for all of them at once.
        if (r == first + 1000)
            m_folded.reserve(m_starts[first] +
                             (m_folded.size() - m_starts[first]) / 1000 * (rows - first) * 11 / 10);
        // Each cell ends in a character no word holds, so a word never matches across two.
        AppendFolded(cells.Row(int(r)), m_folded);
        m_starts.push_back(m_folded.size());
    }
}

void ListFilter::Match(const ListCells& cells, const std::vector<std::vector<double>>& values)
{
    const std::size_t rows = std::size_t(cells.RowCount());
    std::vector<char>& match = m_match;
    match.assign(rows, 1);
    if (!m_words.empty()) {
        FoldRows(cells);
        // The first word is looked for through the whole buffer at once; each hit marks its
        // row and the search goes on at the next row.
        std::fill(match.begin(), match.end(), 0);
        const std::string& first = m_words.front();
        const std::string_view all(m_folded);
        for (size_t at = all.find(first); at != std::string_view::npos;) {
            const size_t row =
                size_t(std::upper_bound(m_starts.begin(), m_starts.end(), at) - m_starts.begin()) -
                1;
            match[row] = 1;
            at = all.find(first, m_starts[row + 1]);
        }
        for (size_t w = 1; w < m_words.size(); ++w)
            for (size_t r = 0; r < rows; ++r)
                if (match[r] &&
                    all.substr(m_starts[r], m_starts[r + 1] - m_starts[r]).find(m_words[w]) ==
                        std::string_view::npos)
                    match[r] = 0;
    }
    if (m_ceiling && size_t(m_ceiling->column) < values.size()) {
        const std::vector<double>& column = values[size_t(m_ceiling->column)];
        for (size_t r = 0; r < rows; ++r) {
            // An empty cell has no value, so it is never under the ceiling.
            const double value = r < column.size() ? column[r] : NAN;
            if (std::isnan(value) || value > m_ceiling->value)
                match[r] = 0;
        }
    }
}

std::vector<int> ListFilter::Pick(const std::vector<int>& order) const
{
    std::vector<int> shown;
    for (int row : order)
        if (size_t(row) < m_match.size() && m_match[size_t(row)])
            shown.push_back(row);
    return shown;
}
