#pragma once

#include <functional>

class QPagedPaintDevice;
class QWidget;

// Printing goes through here, so that tests never open the platform's print dialog.
class Report_Printer {
public:
    virtual ~Report_Printer() = default;
    // Lets the user choose a printer, then calls `draw` on it; false when cancelled.
    virtual bool Print(QWidget* parent, const std::function<void(QPagedPaintDevice&)>& draw) = 0;
};

// The current implementation: Qt Print Support unless a test installed another.
Report_Printer& Printer();
// Installs `p` (not owned); nullptr restores the Qt implementation.
void Set_Printer(Report_Printer* p);

// The Tools entries for the active configuration. Errors end in the general error report.
void Save_Report_Pdf(QWidget* parent);
void Print_Report(QWidget* parent);
