#include "config/display_file_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace fluxo::test {
namespace {

// What the standard dialogs' box showed; the test answers it at once.
struct ShownBox {
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Display names and paths are the user's: a name that looks like markup
// shows as typed, not formatted.
TEST(DisplayFileDialogsTest, NamesInQuestionsAndNoticesShowAsTyped) {
  const config::DisplayFileDialogs dialogs = config::StandardDisplayFileDialogs();
  const QString name = "<i>Night</i>";
  for (bool question : {true, false}) {
    ShownBox shown;
    QTimer::singleShot(0, [&shown] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      shown = {box->text(), box->textFormat(), box->icon()};
      QAbstractButton* answer = box->button(QMessageBox::Yes);
      (answer ? answer : box->button(QMessageBox::Ok))->click();
    });
    if (question) {
      EXPECT_TRUE(dialogs.askYesNo(nullptr, "Replace Existing Settings?", "Overwrite " + name + "?"));
      EXPECT_EQ(shown.icon, QMessageBox::Question);
    } else {
      dialogs.warn(nullptr, "Import a Display", "Cannot import " + name + ".");
      EXPECT_EQ(shown.icon, QMessageBox::Warning);
    }
    EXPECT_TRUE(shown.text.contains(name));
    EXPECT_EQ(shown.format, Qt::PlainText);
  }
}

}  // namespace
}  // namespace fluxo::test
