// The two flags of the language chooser, drawn by the program on a flagpole.
#pragma once

#include <QPixmap>

enum class TFlag { UnitedKingdom, Sweden };

// The flag on its pole, at its natural size (pole included).
QPixmap FlagPicture(TFlag Flag);
