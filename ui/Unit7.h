// The English report details dialog.
#pragma once

#include "ui/TDetailsDialog.h"

class TForm7 : public TDetailsDialog {
    Q_OBJECT
public:
    // Fixed frame without title-bar buttons; OK is the only way out.
    explicit TForm7(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};
