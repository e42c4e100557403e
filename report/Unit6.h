// The English report page.
#pragma once

#include "report/TReportForm.h"

class TForm6 : public TReportForm {
    Q_OBJECT
public:
    // The English page, filled from the English windows and tables.
    explicit TForm6(QWidget* parent = nullptr);

    // The English page's texts, column names and grid.
    static const TReportTexts& Texts();
};
