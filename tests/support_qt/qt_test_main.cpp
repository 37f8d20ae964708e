// SPDX-License-Identifier: GPL-3.0-or-later
// The entry of every test program of the windows: a QApplication on the offscreen platform
// unless a platform was chosen, with its settings in a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

namespace {

// The offscreen platform warns about every window it cannot size by hints; the noise
// would hide the tests' own output.
void quiet_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.contains(QLatin1String("propagateSizeHints"))) return;
  if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(message));
  if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quiet_messages);
  // The settings file of a test run goes to a folder of its own, never the user's.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
