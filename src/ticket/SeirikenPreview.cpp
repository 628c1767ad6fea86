#include "SeirikenPreview.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

SeirikenPreview::SeirikenPreview(QWidget *parent)
    : QWidget(parent)
    , m_mnuHide(new QMenu(this))
    , m_mnuHideCopy(m_mnuHide->addAction(QStringLiteral("コピー(&C)")))
{
    setObjectName("picSeirikenPrev");
    setAccessibleName(QStringLiteral("整理券プレビュー"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Focus lets the menu key reach the copy item.
    setFocusPolicy(Qt::ClickFocus);
    m_mnuHide->setObjectName("MnuHide");
    m_mnuHideCopy->setObjectName("MnuHideCopy");
    connect(m_mnuHideCopy, &QAction::triggered, this, &SeirikenPreview::MnuHideCopy_Click);
}

void SeirikenPreview::clear()
{
    fitImageToSize();
    whiten();
    update();
}

void SeirikenPreview::whiten()
{
    m_image.fill(Qt::white);
    m_ticketPlugin.clear();
    setAccessibleDescription(QString());
}

void SeirikenPreview::setHint(const QString &hint)
{
    if (hint == m_hint) {
        return;
    }
    m_hint = hint;
    setToolTip(hint);
    update();
}

void SeirikenPreview::setTicket(const QString &pluginPath, const QString &description)
{
    m_ticketPlugin = pluginPath;
    setAccessibleDescription(description);
    update();
}

QImage &SeirikenPreview::image()
{
    fitImageToSize();
    return m_image;
}

void SeirikenPreview::fitImageToSize()
{
    if (m_image.size() != size()) {
        // A new size starts a new white picture; the next stop shown draws on it.
        m_image = QImage(size(), QImage::Format_RGB32);
        whiten();
    }
}

void SeirikenPreview::MnuHideCopy_Click()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(image());
}

void SeirikenPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitImageToSize();
}

void SeirikenPreview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        m_mnuHide->popup(event->globalPosition().toPoint());
        return;
    }
    QWidget::mousePressEvent(event);
}

void SeirikenPreview::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse opens the menu on the press; the menu key opens it too.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        m_mnuHide->popup(mapToGlobal(rect().center()));
    }
}

void SeirikenPreview::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), image(), event->rect());
    if (!m_ticketPlugin.isEmpty() || m_hint.isEmpty()) {
        return;
    }
    // Dark grey on the white box, in the panel's lettering; smaller when the
    // box (a plug-in's size) is too small for the whole hint.
    const int margin = std::max(3, fontMetrics().height() / 3);
    const QRect room = rect().adjusted(margin, margin, -margin, -margin);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    QFont lettering = font();
    for (int pixels = QFontInfo(lettering).pixelSize(); pixels > 7; --pixels) {
        lettering.setPixelSize(pixels);
        if (room.contains(QFontMetrics(lettering).boundingRect(room, flags, m_hint))) {
            break;
        }
    }
    painter.setFont(lettering);
    painter.setPen(QColor(0x50, 0x50, 0x50));
    painter.drawText(room, flags, m_hint);
}
