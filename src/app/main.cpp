// Corvantel, a desktop editor for GPX 1.1 files.
#include "app/Startup.h"

int main(int argc, char** argv) { return RunCorvantel(argc, argv); }
