#include "report/TPrintPreview.h"

#include "data/TErrorGuard.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "report/TReportPdf.h"
#include "report/TReportRenderer.h"

namespace {

std::vector<TPrintPreview*>& OpenPreviews() {
    static std::vector<TPrintPreview*> previews;
    return previews;
}

QString AskPdfFileName(QWidget* parent) {
    QString name = QFileDialog::getSaveFileName(parent, QStringLiteral("Save as PDF"),
                                                QStringLiteral("Report.pdf"),
                                                QStringLiteral("PDF files (*.pdf)"));
    if (!name.isEmpty() && !name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        name += QStringLiteral(".pdf");
    return name;
}

}  // namespace

TPrintPreview::TPrintPreview(const TReportPage& prepared, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ChoosePdfFileName(AskPdfFileName),
      FRenderer(std::make_unique<TReportRenderer>(prepared)),
      FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setAttribute(Qt::WA_DeleteOnClose, false);  // the report owns it for one preview
    FPrinter->setPageSize(QPageSize(QPageSize::A4));
    FPrinter->setPageOrientation(QPageLayout::Portrait);
    FPrinter->setDocName(QStringLiteral("Vilo report"));

    FView = new QPrintPreviewWidget(FPrinter.get(), this);
    FView->setObjectName(QStringLiteral("PreviewView"));
    connect(FView, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        Guarded([&] {
            if (FPrinting && printer->printRange() == QPrinter::PageRange)
                FRenderer->Render(*printer, printer->fromPage(), printer->toPage());
            else
                FRenderer->Render(*printer);
        });
    });
    connect(FView, &QPrintPreviewWidget::previewChanged, this, &TPrintPreview::UpdateStatus);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto addAction = [&](const char* objectName, const QString& text, const QString& tip,
                               auto slot) {
        QAction* action = bar->addAction(text);
        action->setObjectName(QString::fromLatin1(objectName));
        action->setToolTip(tip);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    addAction("FitPageAction", QStringLiteral("Fit Page"), QStringLiteral("Zoom to fit the page"),
              [this] { FView->fitInView(); });
    addAction("ActualSizeAction", QStringLiteral("100 %"), QStringLiteral("Zoom to the page's real size"),
              [this] { FView->setZoomMode(QPrintPreviewWidget::CustomZoom); FView->setZoomFactor(1.0); });
    addAction("PageWidthAction", QStringLiteral("Page Width"), QStringLiteral("Zoom to the page width"),
              [this] { FView->fitToWidth(); });
    bar->addSeparator();
    // Page moves show as arrows; their tips name them and their keys.
    const auto iconOnly = [&](QAction* action, QStyle::StandardPixmap icon) {
        action->setIcon(style()->standardIcon(icon));
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    };
    iconOnly(addAction("FirstPageAction", QStringLiteral("First Page"), QStringLiteral("First page (Home)"),
                       [this] { GoToPage(1); }),
             QStyle::SP_MediaSkipBackward);
    iconOnly(addAction("PreviousPageAction", QStringLiteral("Previous Page"),
                       QStringLiteral("Previous page (Page Up)"), [this] { GoToPage(CurrentPage() - 1); }),
             QStyle::SP_MediaSeekBackward);
    FPageBox = new QSpinBox(bar);
    FPageBox->setObjectName(QStringLiteral("PageBox"));
    FPageBox->setToolTip(QStringLiteral("Go to page"));
    FPageBox->setKeyboardTracking(false);
    bar->addWidget(FPageBox);
    connect(FPageBox, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != CurrentPage()) GoToPage(page);
    });
    iconOnly(addAction("NextPageAction", QStringLiteral("Next Page"), QStringLiteral("Next page (Page Down)"),
                       [this] { GoToPage(CurrentPage() + 1); }),
             QStyle::SP_MediaSeekForward);
    iconOnly(addAction("LastPageAction", QStringLiteral("Last Page"), QStringLiteral("Last page (End)"),
                       [this] { GoToPage(PageCount()); }),
             QStyle::SP_MediaSkipForward);
    bar->addSeparator();
    addAction("PrinterSetupAction", QStringLiteral("Printer Setup"),
              QStringLiteral("Printer, copies, page range and orientation"), [this] { PrinterSetup(); });
    addAction("PrintAction", QStringLiteral("Print"), QStringLiteral("Print the report"),
              [this] { Print(); });
    addAction("SavePdfAction", QStringLiteral("Save PDF"),
              QStringLiteral("Save the report as a PDF file"), [this] { SaveAsPdfAsked(); });
    auto* closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("CloseButton"));
    closeButton->setAutoDefault(false);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    const auto addShortcut = [this](QKeySequence key, auto slot) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, slot);
    };
    addShortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });
    addShortcut(QKeySequence(Qt::Key_PageUp), [this] { GoToPage(CurrentPage() - 1); });
    addShortcut(QKeySequence(Qt::Key_PageDown), [this] { GoToPage(CurrentPage() + 1); });
    addShortcut(QKeySequence(Qt::Key_Home), [this] { GoToPage(1); });
    addShortcut(QKeySequence(Qt::Key_End), [this] { GoToPage(PageCount()); });

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    status->setSizeGripEnabled(false);
    FStatus = new QLabel(status);
    FStatus->setObjectName(QStringLiteral("PageStatus"));
    status->addWidget(FStatus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 6, 0);
    top->addWidget(bar, 1);
    top->addWidget(closeButton);
    layout->addLayout(top);
    layout->addWidget(FView, 1);
    layout->addWidget(status);

    FView->updatePreview();
    UpdateStatus();
    OpenPreviews().push_back(this);
}

TPrintPreview::~TPrintPreview() { std::erase(OpenPreviews(), this); }

TPrintPreview* TPrintPreview::OpenPreview() {
    return OpenPreviews().empty() ? nullptr : OpenPreviews().back();
}

void TPrintPreview::Open() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    resize(std::min(900, available.width() * 9 / 10), std::min(1000, available.height() * 9 / 10));
    move(available.center() - rect().center());
    setWindowState(Qt::WindowNoState);
    show();
    FView->fitInView();
    raise();
    activateWindow();
}

int TPrintPreview::PageCount() const { return FView->pageCount(); }

int TPrintPreview::CurrentPage() const { return FView->currentPage(); }

void TPrintPreview::GoToPage(int page) {
    FView->setCurrentPage(std::clamp(page, 1, std::max(1, PageCount())));
    UpdateStatus();
}

void TPrintPreview::SaveAsPdf(const QString& FileName) const {
    TReportPdf pdf;
    pdf.Title = QStringLiteral("Vilo report");
    pdf.Creator = QStringLiteral("Vilo");
    pdf.Save(*FRenderer, FileName);
}

void TPrintPreview::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) emit Closed();
}

void TPrintPreview::PrinterSetup() {
    QPrintDialog dialog(FPrinter.get(), this);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, PageCount());
    if (dialog.exec() == QDialog::Accepted) FView->updatePreview();
}

void TPrintPreview::Print() {
    Guarded([this] {
        // Without a printer the output is a PDF file, which needs a name first.
        if (FPrinter->outputFormat() == QPrinter::PdfFormat && FPrinter->outputFileName().isEmpty()) {
            const QString name = ChoosePdfFileName(this);
            if (name.isEmpty()) return;
            FPrinter->setOutputFileName(name);
        }
        FPrinting = true;
        FView->print();
        FPrinting = false;
    });
}

void TPrintPreview::SaveAsPdfAsked() {
    Guarded([this] {
        const QString name = ChoosePdfFileName(this);
        if (!name.isEmpty()) SaveAsPdf(name);
    });
}

void TPrintPreview::UpdateStatus() {
    const int count = PageCount();
    const int page = CurrentPage();
    FPageBox->blockSignals(true);
    FPageBox->setRange(1, std::max(1, count));
    FPageBox->setValue(page);
    FPageBox->blockSignals(false);
    FStatus->setText(QStringLiteral("Page %1 of %2").arg(page).arg(count));
}
