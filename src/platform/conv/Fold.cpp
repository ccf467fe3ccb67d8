#include "platform/conv/Fold.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

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
        if (!QChar::isMark(c)) {
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

// Copies the bytes up to the first one beyond ASCII, capitals lowered; how many. Eight bytes
// at a time: a byte's top bit, after adding, tells whether it is at least 'A' and whether it
// is beyond 'Z'; a capital gains 0x20.
std::size_t CopyLowered(const char* from, std::size_t size, char* to)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101U;
    constexpr std::uint64_t kTops = 0x80 * kOnes;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, from + i, 8);
        if (word & kTops)
            break;
        const std::uint64_t capitals =
            (word + (0x80 - 'A') * kOnes) & ~(word + (0x80 - 'Z' - 1) * kOnes) & kTops;
        word |= capitals >> 2;
        std::memcpy(to + i, &word, 8);
    }
    for (; i < size && static_cast<unsigned char>(from[i]) < 0x80; ++i)
        to[i] = char(from[i] >= 'A' && from[i] <= 'Z' ? from[i] + ('a' - 'A') : from[i]);
    return i;
}

} // namespace

void AppendFolded(QStringView text, std::string& out)
{
    const QByteArray utf8 = text.toUtf8();
    AppendFolded(QUtf8StringView(utf8), out);
}

void AppendFolded(QUtf8StringView text, std::string& out)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = std::size_t(text.size());
    const auto& latinFolds = LatinFolds();
    for (std::size_t i = 0; i < size;) {
        const std::size_t start = out.size();
        out.resize(start + (size - i));
        const std::size_t ascii = CopyLowered(text.data() + i, size - i, out.data() + start);
        out.resize(start + ascii);
        i += ascii;
        if (i == size)
            return;
        // Two bytes from 0xc2 0x80 to 0xc9 0x8f are the Latin letters up to U+024F.
        const unsigned char c = bytes[i];
        const char16_t latin =
            c >= 0xc2 && c <= 0xc9 && i + 1 < size && (bytes[i + 1] & 0xc0) == 0x80
                ? char16_t(((c & 0x1f) << 6) | (bytes[i + 1] & 0x3f))
                : 0;
        if (latin >= 0x80 && latin < kLatinEnd) {
            out += latinFolds[latin - 0x80];
            i += 2;
        } else {
            // Other scripts, combining marks and anything else: the rest of the text the slow
            // way.
            AppendFoldedSlowly(QString::fromUtf8(text.data() + i, qsizetype(size - i)), out);
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
