// The Swedish report details dialog.
#pragma once

#include "ui/TDetailsDialog.h"

class TForm9 : public TDetailsDialog {
    Q_OBJECT
public:
    // Ordinary resizable window; its close button hides it without a report.
    explicit TForm9(QWidget* parent = nullptr);
};
