#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace fluxo::config {

// The slide show page's "Browse" dialog ("Open Bitmap"): starts at the
// current picture, or in the folder the current text names (remembered from
// then on), or in the remembered folder. Returns the chosen picture, or
// `current` when the user cancels.
QString ShowOpenBitmapDialog(QWidget* parent, const QString& current);

// The file filters the dialog offers, first one selected: the formats of the
// installed readers, plain bitmaps, animations, everything.
QStringList OpenBitmapFilters();

// What asks the user: a file dialog unless a test answers instead. Gets the
// title, the start path and the filters; returns the chosen file or "".
using PictureChooser =
    std::function<QString(QWidget* parent, const QString& title, const QString& start, const QStringList& filters)>;
// Null restores the file dialog.
void SetPictureChooser(PictureChooser chooser);

}  // namespace fluxo::config
