// The program's start: translations, the application object, the main window, the loop.
#pragma once

// Runs the editor; returns the exit code when the main window has closed.
int RunCorvantel(int argc, char** argv);
