// The Swedish calculation window.
#pragma once

#include "ui/TCalcWindow.h"

class TForm3 : public TCalcWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    // The Swedish texts and bindings.
    static TCalcWindowTexts Texts();
};
