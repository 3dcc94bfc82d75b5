// A screen of the registry: one instance, created and loaded on first use, and
// created afresh in its design state after it was unloaded.
#pragma once

#include "desktop.h"

#include <functional>
#include <memory>

namespace tk {

template <class T> class Screen {
public:
  using Factory = std::function<std::unique_ptr<T>()>;
  Screen(Desktop &desktop, Factory factory) : desktop_(desktop), factory_(std::move(factory)) {}

  // Any use of a screen loads it if it is not loaded.
  T &operator()() {
    if (!instance_) {
      instance_ = factory_();
      desktop_.load(*instance_);
    }
    return *instance_;
  }
  [[nodiscard]] bool loaded() const { return instance_ != nullptr; }
  // Nothing happens when the screen is not loaded.
  void unload() {
    if (instance_) {
      desktop_.unload(std::move(instance_));
    }
  }

private:
  Desktop &desktop_;
  Factory factory_;
  std::unique_ptr<T> instance_;
};

} // namespace tk
