// The in-process tests' entry point: the application is prepared as kalvo.exe prepares it.
#include <gtest/gtest.h>

#include "ui/application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ui::Application->Initialize();
  const int result = RUN_ALL_TESTS();
  ui::Application->Finalize();
  return result;
}
