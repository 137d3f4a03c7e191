// The images the program carries under ":/icons/".
#pragma once
#include <QIcon>

// The image of that file name ("open.svg"); an empty icon in a test program built without
// the images, whose buttons then show their captions.
QIcon programIcon(const char* file);
