#pragma once
#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

namespace fluxo::test {

// A page's widget by its object name ("id1085", "swatchGrid"); a missing one
// fails the test that asked for it.
template <typename W>
W* FindWidget(const QWidget* root, const QString& name) {
  W* widget = root->findChild<W*>(name);
  EXPECT_NE(widget, nullptr) << name.toStdString();
  return widget;
}

// The widget carrying a dialog id.
template <typename W>
W* FindWidget(const QWidget* root, int id) {
  return FindWidget<W>(root, QStringLiteral("id%1").arg(id));
}

}  // namespace fluxo::test
