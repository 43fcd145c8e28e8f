// The app tests run in one off-screen Qt application with a context of
// in-memory settings, scripted answers and a recording shell.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/AppContext.h"
#include "app/AppTestSupport.h"

namespace hp::app::test {

TestContext& Context() {
  static TestContext context;
  return context;
}

}  // namespace hp::app::test

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  auto& context = hp::app::test::Context();
  hp::app::InstallAppContext(&context.context);
  return RUN_ALL_TESTS();
}
