#include "platform/report/PdfJoin.h"

#include <QFile>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <vector>

namespace {

std::unique_ptr<QPDF> Read(const QString& path)
{
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    pdf->processFile(QFile::encodeName(path).constData());
    return pdf;
}

} // namespace

void JoinPdfs(const QStringList& parts, const QString& path)
{
    // The pages copied from a part read their contents from its file when the whole is
    // written, so every part stays open until then.
    std::vector<std::unique_ptr<QPDF>> read;
    read.push_back(Read(parts.front()));
    QPDFPageDocumentHelper joined(*read.front());
    for (qsizetype part = 1; part < parts.size(); ++part) {
        read.push_back(Read(parts[part]));
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*read.back()).getAllPages())
            joined.addPage(page, false);
    }
    // The writer keeps the name it is given, not a copy.
    const QByteArray name = QFile::encodeName(path);
    QPDFWriter writer(*read.front(), name.constData());
    writer.setCompressStreams(false);
    writer.setDecodeLevel(qpdf_dl_none);
    writer.write();
}
