#include "config/slider.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cstdint>

namespace fluxo::config {

void SetSlider(QSlider* slider, QLineEdit* edit, int32_t minimum, int32_t maximum, int32_t position) {
  {
    // Programmatic moves are not the user's: no change notifications.
    const QSignalBlocker block(slider);
    slider->setRange(minimum, maximum);
    slider->setTickInterval((maximum - minimum) / 24 + 1);
    slider->setPageStep((maximum - minimum) / 24 + 1);
    slider->setValue(position);
  }
  if (edit) edit->setText(QString::number(position));
}

int32_t ReadEditValue(QLineEdit* edit, QSlider* slider, int32_t minimum, int32_t maximum, int32_t oldValue,
                      bool* changed) {
  const QString text = edit->text().trimmed();
  bool number = false;
  int64_t typed = text.toLongLong(&number);
  // A number too long for any integer still means "as far as it goes".
  static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
  if (!number && digits.match(text).hasMatch()) typed = text.startsWith('-') ? INT64_MIN : INT64_MAX;
  const auto value = static_cast<int32_t>(std::clamp<int64_t>(typed, minimum, maximum));
  edit->setText(QString::number(value));
  if (value != oldValue) {
    SetSlider(slider, edit, minimum, maximum, value);
    if (changed) *changed = true;
  }
  return value;
}

}  // namespace fluxo::config
