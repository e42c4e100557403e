// The English database editor.
#pragma once

#include "ui/TDatabaseEditor.h"

class TForm5 : public TDatabaseEditor {
    Q_OBJECT
public:
    // Opens CityEng.DB, ConcreteEng.DB, INSULATEng.DB, SOILEng.DB and FloorEng.DB.
    explicit TForm5(QWidget* parent = nullptr);
    static TDatabaseEditorLayout Layout();
};
