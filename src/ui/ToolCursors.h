// The preview's three custom cursors, drawn by the program itself: scissors for the cut
// tools, a box cutter for the box tools and a picker for the pick tools.
#pragma once
#include <QCursor>

enum class TToolCursor { Cut = 1, Cutter = 2, Pick = 3 };

// Needs the application object; call once at start-up and keep the result.
QCursor MakeToolCursor(TToolCursor which);
