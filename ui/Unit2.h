// The English calculation window.
#pragma once

#include "ui/TCalcWindow.h"

class TFormEng : public TCalcWindow {
    Q_OBJECT
public:
    explicit TFormEng(QWidget* parent = nullptr);
    // The English texts and bindings.
    static TCalcWindowTexts Texts();
};
