// The display tests run on Qt's offscreen platform unless one is chosen; test discovery runs
// this binary at build time, where no display exists.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "display/fonts.h"

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kelmor::display::InstallFontSubstitutions();
  return RUN_ALL_TESTS();
}
