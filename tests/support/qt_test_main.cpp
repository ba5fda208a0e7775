// main() for tests that need a Qt application object: a QCoreApplication for
// the port tests, a QApplication (offscreen) for the widget tests. The
// choice is made by the test target's compile definition.


#include "support/qt_test_main.h"

#include <gtest/gtest.h>

namespace rbx14::test {

int RunAllTests(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace rbx14::test
