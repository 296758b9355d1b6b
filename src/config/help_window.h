#pragma once
#include <QString>

namespace fluxo::config {

// The help pages, opened at the keyword of a topic: 512..519 are the pages'
// topics ("The Fluxonic Screen Saver - <topic name>"); any other id opens the
// index. One help window serves the whole run and stays open beside the sheet.
class HelpWindow {
 public:
  static void Show(int topic);

  // The topic's keyword; empty for an id that is no topic.
  static QString Keyword(int topic);
  // Where the help pages are: installed in the Windows folder, in a package's
  // share folder beside the program's, or in the source tree the program was
  // built in. The first of these that has an index page; empty when none has.
  static QString FindHelpFolder(const QString& programFolder);
  // The page of `folder` that names the topic's keyword in its keywords;
  // the index page when none does.
  static QString PageFor(int topic, const QString& folder);
};

}  // namespace fluxo::config
