// What the module's exports use of emscripten, for their native test build.
#pragma once
#include <chrono>
#define EMSCRIPTEN_KEEPALIVE
inline double emscripten_get_now() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch()).count();
}
