// The Swedish report page.
#pragma once

#include "report/TReportForm.h"

class TForm8 : public TReportForm {
    Q_OBJECT
public:
    // The Swedish page, filled from the Swedish windows and tables.
    explicit TForm8(QWidget* parent = nullptr);

    // The Swedish page's texts, column names and grid.
    static const TReportTexts& Texts();
};
