#pragma once

#include "PanelButton.h"

#include <QColor>
#include <QString>

class QGroupBox;
class QLabel;
class QRect;
class QWidget;

// The looks of the control panel: white captions on black, yellow data keys,
// green announcement keys and orange LED windows.
namespace PanelLooks {

inline const QColor Yellow{0xFF, 0xFF, 0x00};      // 0x00FFFF
inline const QColor Green{0x00, 0xC0, 0x00};       // 0x00C000
// The stop request key, in the colour of a bus's stop buttons.
inline const QColor StopRed{0xFF, 0x60, 0x48};
inline const QColor LedOrange{0xFF, 0x80, 0x00};   // 0x0080FF
inline const QColor ValueOrange{0xFF, 0xC0, 0x80}; // 0x0080C0FF

// White captions on black, grey when disabled.
QPalette panelPalette(QPalette palette);

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &place,
              const QColor &color = Qt::white);
PanelButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &place,
                    const QColor &face = QColor(PanelButton::DefaultFace));
// An LED window: orange characters on black behind a sunken rim.
QLabel *ledDisplay(QWidget *parent, const QString &name, const QRect &place);
// A frame that hides what lies behind it.
QGroupBox *frame(QWidget *parent, const QString &name, const QString &title, const QRect &place);

} // namespace PanelLooks
