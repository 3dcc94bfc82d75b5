// The program in the browser on a clock the page advances, for the benchmark only: the
// real web backend and screens, but time passes when the page calls bench_advance, so
// that hundreds of rounds of 61 ticks play in seconds. Never shipped with the page.
#include "shell/program.h"
#include "shell/web/backend.h"

#include <emscripten/emscripten.h>

#include <algorithm>

namespace {

class PageAdvancedClock : public tk::Clock {
public:
  [[nodiscard]] tk::Millis now() const override { return now_; }
  void set(tk::Millis now) { now_ = now; }

private:
  tk::Millis now_ = 0;
};

PageAdvancedClock benchClock;
web::WebBackend *benchBackend = nullptr;
tk::Desktop *benchDesktop = nullptr;

} // namespace

int main() {
  // They live as long as the page: the runtime does not exit when main returns.
  static web::WebBackend backend;
  static tk::Desktop desktop(benchClock, backend);
  backend.attach(desktop);
  static Program program(desktop);
  benchBackend = &backend;
  benchDesktop = &desktop;
  program.start();
  return 0;
}

extern "C" {

// Lets `milliseconds` pass, each tick at its own due time, as the real clock would.
EMSCRIPTEN_KEEPALIVE void bench_advance(double milliseconds) {
  const tk::Millis target = benchClock.now() + static_cast<tk::Millis>(milliseconds);
  while (benchDesktop != nullptr && !benchDesktop->ended() && !benchDesktop->dispatching()) {
    const auto due = benchDesktop->scheduler().nextDue();
    if (!due || *due > target) {
      break;
    }
    benchClock.set(std::max(*due, benchClock.now()));
    benchDesktop->runDueTimers();
  }
  benchClock.set(target);
  if (benchBackend != nullptr && benchDesktop != nullptr) {
    benchBackend->settled();
  }
}

// The WebAssembly memory the page holds, in bytes.
EMSCRIPTEN_KEEPALIVE double bench_memory_bytes() {
  constexpr double pageBytes = 65536;
  return static_cast<double>(__builtin_wasm_memory_size(0)) * pageBytes;
}
}
