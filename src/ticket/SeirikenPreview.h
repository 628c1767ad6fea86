#pragma once

#include <QImage>
#include <QWidget>

// The ticket preview box of the control panel: a white picture that keeps
// its drawing until it is cleared, as a ticket printed at the current stop.
class SeirikenPreview : public QWidget
{
    Q_OBJECT

public:
    explicit SeirikenPreview(QWidget *parent = nullptr);

    // Paints the whole picture white again.
    void clear();
    // The persistent picture; draw into it, then call update().
    QImage &image() { return m_image; }
    const QImage &image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QImage m_image;
};
