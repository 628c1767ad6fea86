#pragma once

#include <QImage>
#include <QWidget>

class QAction;
class QMenu;

// The ticket preview box of the control panel: a white picture that keeps
// its drawing until it is cleared, as a ticket printed at the current stop.
// While it shows no ticket, a hint on it says why (no plug-in chosen, no
// route set). A right click offers to copy the picture to the clipboard.
class SeirikenPreview : public QWidget
{
    Q_OBJECT

public:
    explicit SeirikenPreview(QWidget *parent = nullptr);

    // Paints the whole picture white again.
    void clear();
    // The persistent picture; draw into it, then call update().
    QImage &image();
    const QImage &image() const { return m_image; }
    // Says that the picture now shows a ticket, drawn by the plug-in at
    // `pluginPath`; `description` is what a screen reader says of it.
    void setTicket(const QString &pluginPath, const QString &description);
    // The plug-in whose ticket the picture shows; empty while it is white.
    const QString &ticketPlugin() const { return m_ticketPlugin; }
    // Why the box shows no ticket, written over the white box while it shows
    // none (and as its tool tip); empty for no hint. The hint is not part of
    // the picture: a copy stays white.
    void setHint(const QString &hint);
    const QString &hint() const { return m_hint; }

    // The pop-up menu and its one item, "コピー(&C)".
    QMenu *MnuHide() const { return m_mnuHide; }
    QAction *MnuHideCopy() const { return m_mnuHideCopy; }

    // Empties the clipboard and puts the picture on it as a bitmap.
    void MnuHideCopy_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    // A resize of a hidden box reaches resizeEvent() only when it is shown;
    // the picture follows the size at once all the same.
    void fitImageToSize();

    // Whitens the picture and forgets its ticket.
    void whiten();

    QImage m_image;
    QString m_ticketPlugin;
    QString m_hint;
    QMenu *m_mnuHide;
    QAction *m_mnuHideCopy;
};
