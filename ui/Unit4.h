// The Swedish database editor.
#pragma once

#include "ui/TDatabaseEditor.h"

class TForm4 : public TDatabaseEditor {
    Q_OBJECT
public:
    // Opens City.db, Concrete.db, INSULAT.DB, SOIL.DB and Floor.db.
    explicit TForm4(QWidget* parent = nullptr);
    static TDatabaseEditorLayout Layout();
};
