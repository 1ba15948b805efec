// What the Qt forms share: places in twips, and the program's UTF-8 texts as QStrings.
#pragma once

#include <QString>
#include <QWidget>
#include <string_view>

namespace quorrel {

// Forms are laid out in twips, 1440 to the inch.
inline int Px(const QWidget* widget, int twips) { return twips * widget->logicalDpiX() / 1440; }

// Puts a widget at a place given in twips.
inline void Place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(Px(widget, left), Px(widget, top), Px(widget, width), Px(widget, height));
}

inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace quorrel
