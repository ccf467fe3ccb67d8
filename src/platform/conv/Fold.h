#pragma once

#include <QString>
#include <QUtf8StringView>
#include <string>

// Text as a find compares it: case folded and without accents ("José" and "JOSE" both give
// "jose"), in UTF-8. Accents go by decomposing each character (NFD) and dropping the
// combining marks; this is our own folding, independent of the locale and of any collator.
// The folded text is appended to `out`, so that many cells can share one buffer.
void AppendFolded(QStringView text, std::string& out);
void AppendFolded(QUtf8StringView text, std::string& out);
std::string Folded(QStringView text);
