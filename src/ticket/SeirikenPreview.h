#pragma once

#include <QImage>
#include <QWidget>

class QAction;
class QMenu;

// The ticket preview box of the control panel: a white picture that keeps
// its drawing until it is cleared, as a ticket printed at the current stop.
// A right click offers to copy the picture to the clipboard.
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

    QImage m_image;
    QMenu *m_mnuHide;
    QAction *m_mnuHideCopy;
};
