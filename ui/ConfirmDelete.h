// The question asked before a row is deleted, from a navigator or from a grid.
#pragma once

class QWidget;

// Asks "Delete record?" with OK and Cancel over Parent; true on OK.
bool ConfirmDeleteRecord(QWidget* Parent);
