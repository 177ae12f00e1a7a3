// Automation enums are 32-bit values that a host may set to anything; the library keeps them
// as long, and these move them across the COM boundary without going through the C++ enum
// type (whose range is only that of its members).
#pragma once
#include <cstring>

namespace vista {

template <class E>
long EnumToLong(const E& value) {
  static_assert(sizeof(E) == sizeof(long));
  long v;
  std::memcpy(&v, &value, sizeof v);
  return v;
}

template <class E>
void LongToEnum(long value, E* out) {
  static_assert(sizeof(E) == sizeof(long));
  std::memcpy(out, &value, sizeof value);
}

}  // namespace vista
