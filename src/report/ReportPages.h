#pragma once

#include "report/CommissioningReport.h"

#include <QByteArray>

class QPagedPaintDevice;

// Lays the report out on the pages of `device` (a PDF writer or a printer, its page layout as
// set) with page numbers; returns the number of pages. Needs a QGuiApplication for the fonts.
int Draw_Report(const Report_Document& doc, QPagedPaintDevice& device);

// The report as a PDF file on A4 with margins.
QByteArray Report_Pdf(const Report_Document& doc);

// Writes the PDF file atomically. Throws App_Error naming the file.
void Write_Report_Pdf(const Report_Document& doc, const QString& path);
