#include "platform/report/PdfJoin.h"

#include <QFile>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>
#include <vector>

namespace {

// A part read whole into memory: qpdf then parses its objects without a seek and a read of
// the file for each.
struct Part
{
    QByteArray bytes;
    std::unique_ptr<QPDF> pdf = std::make_unique<QPDF>();
};

std::unique_ptr<Part> Read(const QString& path)
{
    auto part = std::make_unique<Part>();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(file.errorString().toStdString());
    part->bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(file.errorString().toStdString());
    part->pdf->setSuppressWarnings(true);
    part->pdf->processMemoryFile(QFile::encodeName(path).constData(), part->bytes.constData(),
                                 size_t(part->bytes.size()));
    return part;
}

} // namespace

void JoinPdfs(const QStringList& parts, const QString& path)
{
    // The pages copied from a part read their contents from its bytes when the whole is
    // written, so every part is kept until then.
    std::vector<std::unique_ptr<Part>> read;
    read.push_back(Read(parts.front()));
    QPDFPageDocumentHelper joined(*read.front()->pdf);
    for (qsizetype part = 1; part < parts.size(); ++part) {
        read.push_back(Read(parts[part]));
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*read.back()->pdf).getAllPages())
            joined.addPage(page, false);
    }
    // The writer keeps the name it is given, not a copy.
    const QByteArray name = QFile::encodeName(path);
    QPDFWriter writer(*read.front()->pdf, name.constData());
    writer.setCompressStreams(false);
    writer.setDecodeLevel(qpdf_dl_none);
    writer.write();
}
