#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>
#include <string>

namespace velkaro {

// The proportional Japanese font of every text on the drawings, at a pixel height.
QFont DrawingFont(int pixelSize);

inline QString ToQString(const std::string& utf8) {
  return QString::fromUtf8(utf8);
}

// Text that runs downwards from (x, y), as a vertical Japanese font turned by -90° draws it: the
// column lies left of x, one line height wide; full-width characters stand upright and stack,
// half-width ones are turned 90° clockwise. With an opaque background the column is filled first.
void DrawVerticalText(QPainter& painter, int x, int y, const QString& text, const QColor& ink,
                      const QColor* background);

// Width of a text in the painter's current font.
int TextWidth(const QPainter& painter, const QString& text);

}  // namespace velkaro
