#include "render/text_draw.h"

#include <QFontMetrics>

namespace velkaro {

QFont DrawingFont(int pixelSize) {
  QFont f(QStringLiteral("Noto Sans CJK JP"));
  f.setPixelSize(pixelSize);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

int TextWidth(const QPainter& painter, const QString& text) {
  return QFontMetrics(painter.font()).horizontalAdvance(text);
}

namespace {
bool IsHalfWidth(char32_t c) {
  return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
}
}  // namespace

void DrawVerticalText(QPainter& painter, int x, int y, const QString& text, const QColor& ink,
                      const QColor* background) {
  const QFontMetrics fm(painter.font());
  // The column is one em wide, like the cell of a vertical font.
  const int em = painter.font().pixelSize();
  const int h = em;
  const QList<uint> codes = text.toUcs4();
  int length = 0;
  for (uint c : codes) {
    length +=
        IsHalfWidth(c)
            ? fm.horizontalAdvance(QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1))
            : em;
  }
  if (background) painter.fillRect(x - h, y, h, length, *background);
  painter.save();
  painter.setPen(ink);
  int cy = y;
  for (uint c : codes) {
    const QString ch = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
    if (IsHalfWidth(c)) {
      painter.save();
      painter.translate(x, cy);
      painter.rotate(90);
      painter.drawText(0, fm.ascent() - (fm.height() - em) / 2, ch);
      painter.restore();
      cy += fm.horizontalAdvance(ch);
    } else {
      const int w = fm.horizontalAdvance(ch);
      painter.drawText(x - h + (h - w) / 2, cy + fm.ascent() - (fm.height() - em) / 2, ch);
      cy += em;
    }
  }
  painter.restore();
}

}  // namespace velkaro
