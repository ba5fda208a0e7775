#pragma once
// Include in exactly one source file of a test that needs a Qt application
// object, after defining RBX14_TEST_GUI_APP, RBX14_TEST_DOCUMENT_APP (printed
// documents, no window) or RBX14_TEST_CORE_APP for the target; it defines
// main().

namespace rbx14::test {
int RunAllTests(int argc, char** argv);
}

#if defined(RBX14_TEST_GUI_APP)
#include <QApplication>
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return rbx14::test::RunAllTests(argc, argv);
}
#elif defined(RBX14_TEST_DOCUMENT_APP)
#include <QGuiApplication>
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return rbx14::test::RunAllTests(argc, argv);
}
#elif defined(RBX14_TEST_CORE_APP)
#include <QCoreApplication>
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return rbx14::test::RunAllTests(argc, argv);
}
#endif
