#pragma once

#include <QStringList>

// Writes the pages of the PDF files parts, in their order, into one PDF file at path, which
// keeps the title and creator of the first. The pages' contents are copied as they are, not
// decoded or compressed again. Throws std::exception when a part cannot be read or path
// cannot be written.
void JoinPdfs(const QStringList& parts, const QString& path);
