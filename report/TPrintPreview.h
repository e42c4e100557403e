// The print preview window of one prepared report: zoom, pages, printer, print, PDF.
#pragma once

#include <QWidget>

#include <exception>
#include <functional>
#include <memory>

#include "report/TReportPage.h"

class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QSpinBox;
class TReportRenderer;

class TPrintPreview : public QWidget {
    Q_OBJECT
public:
    // A hidden top-level window over a copy of the prepared page.
    explicit TPrintPreview(const TReportPage& prepared, QWidget* parent = nullptr);
    ~TPrintPreview() override;

    // The preview most recently opened and not yet closed, or null (for tests and tools).
    static TPrintPreview* OpenPreview();

    // Shows the window centred on the screen, fitted to the page.
    void Open();

    // The prepared report shown.
    const TReportRenderer& Report() const { return *FRenderer; }

    // Number of pages of the prepared report.
    int PageCount() const;
    // The page shown, from 1.
    int CurrentPage() const;
    // Shows that page (clamped to the report's pages).
    void GoToPage(int page);

    // Writes the prepared report as a PDF file; throws std::runtime_error on failure.
    void SaveAsPdf(const QString& FileName) const;

    // Asks for the name of the PDF file to write; empty to cancel. Replaceable for tests.
    std::function<QString(QWidget* parent)> ChoosePdfFileName;

signals:
    // The window has been closed; the preview is over.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<TReportRenderer> FRenderer;
    std::unique_ptr<QPrinter> FPrinter;
    QPrintPreviewWidget* FView;
    QSpinBox* FPageBox;
    QLabel* FStatus;
    bool FPrinting = false;  // painting for the printer, which may ask for a page range
    void PrinterSetup();
    void Print();
    void SaveAsPdfAsked();
    void UpdateStatus();
};
