#include "uninstall/message_box_prompts.h"

#include <QMessageBox>

namespace fluxo::uninstall {
namespace {

bool AskYesNo(const char* title, const char* text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(title), QString::fromUtf8(text),
                  QMessageBox::Yes | QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace

Prompts MessageBoxPrompts() {
  Prompts prompts;
  prompts.ask = [](Question question) {
    if (question == Question::RemoveSaver)
      return AskYesNo("UnInstall", "Are you sure you want to remove the Fluxonic Screen Saver from your system?");
    return AskYesNo("UnInstall Kickoff", "Do you wish to uninstall the taskbar screen saver launcher?");
  };
  prompts.done = [] {
    QMessageBox box(QMessageBox::Information, QStringLiteral("UnInstall Complete"),
                    QStringLiteral("The Fluxonic Screen Saver has been removed."), QMessageBox::Ok);
    box.exec();
  };
  return prompts;
}

}  // namespace fluxo::uninstall
