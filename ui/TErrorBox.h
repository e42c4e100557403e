// The program's two error boxes.
#pragma once

#include <QString>

class QWidget;

// The standard error box: Message with the full-stop rule, caption "Vilo", error icon, OK.
void ShowErrorBox(const QString& Message, QWidget* parent = nullptr);

// The start-up failure box, titled "Application Error".
void ShowStartupErrorBox(const QString& Message);
