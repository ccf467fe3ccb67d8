#include "platform/conv/Fold.h"

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

} // namespace

void AppendFolded(QStringView text, std::string& out)
{
    // Most cells are plain ASCII: those fold byte by byte without the Unicode tables.
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            break;
        out += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    if (i == text.size())
        return;
    // Folding after the decomposition folds the base letters the decomposition gave.
    const QString rest = text.mid(i).toString().normalized(QString::NormalizationForm_D);
    const QString folded = rest.toCaseFolded();
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

std::string Folded(QStringView text)
{
    std::string out;
    AppendFolded(text, out);
    return out;
}
