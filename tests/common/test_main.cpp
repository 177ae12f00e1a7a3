// GoogleTest entry point: the tests run in a single-threaded COM apartment, as the host does.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  int rc = RUN_ALL_TESTS();
  CoUninitialize();
  return rc;
}
