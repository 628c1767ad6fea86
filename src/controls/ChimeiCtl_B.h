#pragma once

#include "ChimeiLayout.h"
#include "ScrollMotion.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <memory>

class Dot16Glyphs;
class PropertyBag;
class ScrollClock;

// The stop-name display: a vertical LED strip that shows a name top to bottom
// in 16 x 16 dot cells, one dot every second pixel. A name of up to six cells
// stands still, spread over the column; a longer one scrolls upward through
// it, over and over, until another name is set.
//
// The control is a frame (the visible window, BackColor) onto a strip that
// holds the dots of the name. The strip keeps in an image the part of it that
// the frame can show, at most eight cells: a still name is drawn once, a long
// one a few cells at a time as it rises, so a name of any length costs the
// same time and memory to show. Scrolling runs under a timer of the event
// loop, so SetChimei always returns at once.
class ChimeiCtl_B : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(uint BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(uint ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(int Speed READ speed WRITE setSpeed)
    Q_PROPERTY(int ScrollStartWait READ scrollStartWait WRITE setScrollStartWait)
    Q_PROPERTY(int Mode READ mode WRITE setMode)
    Q_PROPERTY(int Appearance READ appearance WRITE setAppearance)
    Q_PROPERTY(int FontMode READ fontMode WRITE setFontMode)
    Q_PROPERTY(bool FontBold READ fontBold WRITE setFontBold)

public:
    // The values a property store leaves out.
    static constexpr quint32 DefaultBackColor = 0x808080;
    static constexpr quint32 DefaultForeColor = 0x00BEFF;
    static constexpr int DefaultSpeed = 5;
    static constexpr int DefaultScrollStartWait = 1500;
    static constexpr int DefaultMode = 2;
    static constexpr int DefaultAppearance = 1;
    static constexpr int DefaultFontMode = 0;
    static constexpr bool DefaultFontBold = false;
    // The colours of a strip placed new: dark grey, with amber dots.
    static constexpr quint32 PlacedBackColor = 0x404040;
    static constexpr quint32 PlacedForeColor = 0x80C0FF;

    static constexpr int StripWidth = 37;
    static constexpr QSize DesignedFrameSize{36, 192};

    explicit ChimeiCtl_B(QWidget *parent = nullptr);
    ~ChimeiCtl_B() override;

    // Colours are 0x00BBGGRR. A new BackColor erases the dots (the next name
    // brings them back); a new ForeColor colours the dots drawn from then on.
    quint32 backColor() const { return m_backColor; }
    void setBackColor(quint32 color);
    quint32 foreColor() const { return m_foreColor; }
    void setForeColor(quint32 color);
    // Scrolling: Speed / 200 pixels upward per 0.5 ms (5 is 50 pixels a
    // second; 0 stands still), and the pause in milliseconds before a name
    // first moves and before each new round.
    int speed() const { return m_speed; }
    void setSpeed(int speed);
    int scrollStartWait() const { return m_scrollStartWait; }
    void setScrollStartWait(int milliseconds);
    // 2 spaces a two-cell name with one empty cell between its characters,
    // any other value with two.
    int mode() const { return m_mode; }
    void setMode(int mode);
    // 0 flat, otherwise three-dimensional; a write resizes the frame and
    // erases the dots like a new BackColor.
    int appearance() const { return m_appearance; }
    void setAppearance(int appearance);
    // The face of each cell: 0 gothic, 1 mincho, 2 kanji gothic and the rest
    // mincho, 3 kanji mincho and the rest gothic, 4 full-width digits and
    // letters gothic and the rest mincho; other values draw gothic.
    int fontMode() const { return m_fontMode; }
    void setFontMode(int fontMode);
    bool fontBold() const { return m_fontBold; }
    void setFontBold(bool bold);

    // Shows a name and returns at once; a name longer than six cells starts
    // scrolling. A non-empty text ends any scrolling first; an empty text
    // blanks the strip and leaves a running scroll moving the blank strip
    // until the next name.
    void SetChimei(const QString &text);
    // Repaints the strip.
    void Refresh();
    // Draws one cell whose top-left dot is at (x, y) of the strip. The piece
    // holds one full-width or up to two half-width characters; "ー" is
    // replaced by the vertical stroke it is drawn as. Dots outside the part
    // of the strip in the image are not kept.
    void DrawDot16(int x, int y, QString &piece);

    // One frame of the scroll: moves the strip to where the time says. The
    // scroll timer calls it; tests call it after moving their clock.
    void advanceScroll();
    bool isScrolling() const { return m_scrolling; }
    // The clock that scrolling goes by; the control keeps a wall clock of its
    // own until it is given another. The clock must outlive the control.
    void setClock(ScrollClock *clock);

    // What the strip shows: the image of its part that the frame can show,
    // the strip's row at the top of that image, the strip's top edge in the
    // frame, the frame.
    const QImage &strip() const { return m_strip; }
    int stripPartTop() const { return m_stripPartTop; }
    int stripTop() const { return m_stripTop; }
    QSize frameSize() const { return m_frameSize; }
    // The whole strip's height: the column's, or a cell's for every cell of a
    // scrolling name.
    int stripHeight() const { return m_stripHeight; }
    // The rows [top, top + height) of the strip as the last name was drawn,
    // for a look at more of it than the frame shows.
    QImage stripPart(int top, int height) const;

    // The size the strip is shown at, as a factor of its design size: each
    // dot is painted as a round lamp at the scaled pitch. The host places
    // the control; 1 (one pixel per dot) by default.
    qreal scale() const { return m_scale; }
    void setScale(qreal scale);

    // Loading takes every property from the store or its default and applies
    // Appearance without resizing the frame; saving omits default values.
    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    QSize sizeHint() const override;

signals:
    // Every assignment of a property marks the host's stored properties as changed.
    void propertiesChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // What a name's dots were drawn with: later writes of these properties
    // leave the name as it was drawn, also where it is drawn late.
    struct CellStyle
    {
        quint32 foreColor = PlacedForeColor;
        int fontMode = DefaultFontMode;
        bool bold = DefaultFontBold;
    };

    void assigned();
    void eraseStrip();
    void drawCell(QImage &image, int x, int y, QString &piece, const CellStyle &style) const;
    void moveStrip(int top);
    QImage paintedStrip();
    void stopScrolling();
    void scheduleNextFrame(qint64 nowMs);
    int frameIntervalMs() const;

    quint32 m_backColor = PlacedBackColor;
    quint32 m_foreColor = PlacedForeColor;
    int m_speed = DefaultSpeed;
    int m_scrollStartWait = DefaultScrollStartWait;
    int m_mode = DefaultMode;
    int m_appearance = DefaultAppearance;
    int m_fontMode = DefaultFontMode;
    bool m_fontBold = DefaultFontBold;

    std::unique_ptr<Dot16Glyphs> m_glyphs;
    std::unique_ptr<ScrollClock> m_wallClock;
    ScrollClock *m_clock = nullptr;

    // The name on the strip (none once erased), as it was drawn.
    ChimeiLayout m_name;
    CellStyle m_nameStyle;
    int m_stripHeight = ChimeiLayout::ColumnHeight;
    QImage m_strip; // the rows from m_stripPartTop of the strip
    int m_stripPartTop = 0;
    // The drawn part as painted at m_scale, made from m_strip when first
    // needed after either changes: as bounded as the part itself.
    QImage m_scaledStrip;
    qreal m_scale = 1.0;
    int m_stripTop = 0;
    QSize m_frameSize = DesignedFrameSize;
    ScrollMotion m_motion;
    QTimer m_scrollTimer;
    bool m_scrolling = false;
};
