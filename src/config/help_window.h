#pragma once

namespace fluxo::config {

// The help pages, opened at the keyword of a topic: 512..519 are the pages'
// topics ("The Fluxonic Screen Saver - <topic name>"); any other id opens the
// index.
class HelpWindow {
 public:
  static void Show(int topic);
};

}  // namespace fluxo::config
