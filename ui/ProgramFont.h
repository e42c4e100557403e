// The program's dialog font: a sans-serif face at the size the windows were laid out for.
#pragma once

#include <QFont>

// Liberation Sans 8 pt (metrics of the classic dialog faces), falling back to any sans-serif.
QFont ProgramFont();
