#include "pictures.h"

namespace web {

std::string picture(std::string_view name) {
  if (name.empty()) {
    return {};
  }
  return "pictures/" + std::string(name) + ".svg";
}

} // namespace web
