// The browser tests run offscreen in one application.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/WebEngineBrowser.h"

int main(int argc, char** argv) {
  prepareWebEngine(true);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
