#pragma once

#include "platform/report/ReportLayout.h"

class QPagedPaintDevice;
class QPainter;
class QImage;

// Draws a laid-out page on a painter whose device is one sheet of the report's paper, at
// the device's own resolution.
void PaintPage(QPainter& painter, const ReportPage& page);

// Prints the pages first to last (0-based, inclusive) on a printer or PDF writer, one sheet
// each; throws RuntimeError when the device cannot be painted on.
void PrintPages(QPagedPaintDevice& device, const ReportLayout& layout, int first, int last);

// Writes every page to a PDF file of the report's paper size; throws RuntimeError when the
// file cannot be written.
void ExportPdf(const ReportLayout& layout, const QString& path);

// One page as a picture at dotsPerInch, white paper.
QImage RenderPage(const ReportLayout& layout, int index, double dotsPerInch);
