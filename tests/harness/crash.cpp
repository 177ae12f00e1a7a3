// Crashes on purpose (an access violation, exception code 0xC0000005), so that a test can show
// that a crashed program ends at once with a failing exit status.
#include <cstdint>

int main(int argc, char**) {
  volatile int* p = reinterpret_cast<volatile int*>(static_cast<std::intptr_t>(argc - 1));
  *p = 1;
  return 0;
}
