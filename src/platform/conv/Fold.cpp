#include "platform/conv/Fold.h"

#include <array>

namespace {

bool IsMark(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

// Decomposes, folds the case and drops the combining marks, through the Unicode tables.
void AppendFoldedSlowly(QStringView text, std::string& out)
{
    // Folding after the decomposition folds the base letters the decomposition gave.
    const QString folded = text.toString().normalized(QString::NormalizationForm_D).toCaseFolded();
    QString kept;
    kept.reserve(folded.size());
    for (qsizetype j = 0; j < folded.size(); ++j) {
        const bool pair =
            folded[j].isHighSurrogate() && j + 1 < folded.size() && folded[j + 1].isLowSurrogate();
        const char32_t c =
            pair ? QChar::surrogateToUcs4(folded[j], folded[j + 1]) : folded[j].unicode();
        if (!IsMark(c)) {
            kept += folded[j];
            if (pair)
                kept += folded[j + 1];
        }
        if (pair)
            ++j;
    }
    out += kept.toStdString();
}

// The Latin letters beyond ASCII (U+0080 to U+024F), folded once: they are most of the
// accented letters in names, and each one decomposes on its own.
constexpr char16_t kLatinEnd = 0x250;
const std::array<std::string, kLatinEnd - 0x80>& LatinFolds()
{
    static const auto table = [] {
        std::array<std::string, kLatinEnd - 0x80> folds;
        for (char16_t c = 0x80; c < kLatinEnd; ++c)
            AppendFoldedSlowly(QStringView(&c, 1), folds[c - 0x80]);
        return folds;
    }();
    return table;
}

} // namespace

void AppendFolded(QStringView text, std::string& out)
{
    // Room for the text as it would be in ASCII, written in place; shrunk again at the end.
    const size_t start = out.size();
    out.resize(start + size_t(text.size()));
    char* ascii = out.data() + start;
    const char16_t* units = text.utf16();
    qsizetype i = 0;
    for (; i < text.size() && units[i] < 0x80; ++i)
        ascii[i] = char(units[i] >= 'A' && units[i] <= 'Z' ? units[i] + ('a' - 'A') : units[i]);
    out.resize(start + size_t(i));
    for (; i < text.size(); ++i) {
        const char16_t c = units[i];
        if (c < 0x80) {
            out += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        } else if (c < kLatinEnd) {
            out += LatinFolds()[c - 0x80];
        } else {
            // Other scripts, combining marks and surrogates: the rest of the text the slow way.
            AppendFoldedSlowly(text.mid(i), out);
            return;
        }
    }
}

void AppendFolded(QUtf8StringView text, std::string& out)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const qsizetype size = text.size();
    const size_t start = out.size();
    out.resize(start + size_t(size));
    char* ascii = out.data() + start;
    qsizetype i = 0;
    for (; i < size && bytes[i] < 0x80; ++i)
        ascii[i] = char(bytes[i] >= 'A' && bytes[i] <= 'Z' ? bytes[i] + ('a' - 'A') : bytes[i]);
    out.resize(start + size_t(i));
    for (; i < size; ++i) {
        const unsigned char c = bytes[i];
        // Two bytes from 0xc2 0x80 to 0xc9 0x8f are the Latin letters up to U+024F.
        const char16_t latin =
            c >= 0xc2 && c <= 0xc9 && i + 1 < size && (bytes[i + 1] & 0xc0) == 0x80
                ? char16_t(((c & 0x1f) << 6) | (bytes[i + 1] & 0x3f))
                : 0;
        if (c < 0x80) {
            out += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        } else if (latin >= 0x80 && latin < kLatinEnd) {
            out += LatinFolds()[latin - 0x80];
            ++i;
        } else {
            // Other scripts, combining marks and anything else: the rest of the text the slow
            // way.
            AppendFoldedSlowly(QString::fromUtf8(text.data() + i, size - i), out);
            return;
        }
    }
}

std::string Folded(QStringView text)
{
    std::string out;
    AppendFolded(text, out);
    return out;
}
