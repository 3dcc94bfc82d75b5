#include "platform.h"

#include <QByteArray>
#include <QtGlobal>

#include <string_view>

namespace qtb {
namespace {

bool platformChosenOnCommandLine(int argc, const char *const argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-platform" || argument == "--platform" || argument.starts_with("-platform=") ||
        argument.starts_with("--platform=")) {
      return true;
    }
  }
  return false;
}

} // namespace

void preferPlaceableWindows(int argc, const char *const argv[]) {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || platformChosenOnCommandLine(argc, argv) ||
      qEnvironmentVariableIsEmpty("DISPLAY")) {
    return;
  }
  qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

} // namespace qtb
