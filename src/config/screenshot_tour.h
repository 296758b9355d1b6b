#pragma once
#include <QString>

namespace fluxo::config {

class ConfigSheet;

// With FLUXO_SCREENSHOTS=<folder> the configuration run shows every page in
// turn and writes a picture of the whole sheet per page,
// "config-<nn>-<title>.png", instead of waiting for the user. Empty when the
// switch is not set.
QString ScreenshotFolder();
// Returns the exit status: 0 when every picture was written.
int RunScreenshotTour(ConfigSheet& sheet, const QString& folder);

}  // namespace fluxo::config
