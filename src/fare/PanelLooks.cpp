#include "PanelLooks.h"

#include "display/JapaneseFonts.h"

#include <QGroupBox>
#include <QLabel>

namespace PanelLooks {

QPalette panelPalette(QPalette palette)
{
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x70, 0x70, 0x70));
    return palette;
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, const QRect &place, const QColor &color)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

PanelButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &place,
                    const QColor &face)
{
    auto *button = new PanelButton(caption, parent, face);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

QLabel *ledDisplay(QWidget *parent, const QString &name, const QRect &place)
{
    QLabel *led = label(parent, name, QString(), place, LedOrange);
    led->setAutoFillBackground(true);
    led->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette palette = led->palette();
    palette.setColor(QPalette::Light, QColor(0x60, 0x60, 0x60));
    palette.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    led->setPalette(palette);
    led->setAlignment(Qt::AlignCenter);
    led->setFont(JapaneseFonts::panelFont(QStringLiteral("ＭＳ ゴシック"), 14.25, true));
    return led;
}

QGroupBox *frame(QWidget *parent, const QString &name, const QString &title, const QRect &place)
{
    auto *frame = new QGroupBox(title, parent);
    frame->setObjectName(name);
    frame->setGeometry(place);
    frame->setAutoFillBackground(true);
    return frame;
}

} // namespace PanelLooks
