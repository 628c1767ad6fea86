#include "Form1.h"

#include "BoardLayout.h"
#include "ErrorReport.h"
#include "JapaneseFonts.h"
#include "WindowPlacement.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/ColorRef.h"
#include "controls/M_Degit.h"
#include "fare/frmCtl.h"
#include "mdlR57_000.h"
#include "settings/IniApplier.h"
#include "settings/frmOption.h"
#include "settings/mdlIniIo.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTime>
#include <QWindow>


Form1::Form1(const PlatformServices &services, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , m_services(services)
    , m_panelModule(std::make_unique<mdlR57_000>(*this))
{
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("Form2"));
    setFixedSize(BoardLayout::WindowSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    createControls();
    // The clock ticks from the start, even while this layout hides its cells.
    m_timer1.setInterval(1000);
    connect(&m_timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    m_timer1.start();
    m_frmCtl = std::make_unique<frmCtl>(*this, m_services);
    if (m_services.settings) {
        m_iniIo = std::make_unique<mdlIniIo>(*m_services.settings);
    }
}

Form1::~Form1() = default;

void Form1::createControls()
{
    const QFont labelFont = JapaneseFonts::panelFont(QStringLiteral("ＭＳ Ｐゴシック"), 11.25, true);
    for (int n = 0; n <= BoardLayout::Positions; ++n) {
        auto *cell = new M_Degit(this);
        cell->setObjectName(QStringLiteral("Degit(%1)").arg(n));
        cell->setCompanion(m_services.companion);
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("lblSeiriNum(%1)").arg(n));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(labelFont);
        // Transparent: the panel picture shows through.
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAutoFillBackground(false);
        if (n == 0) {
            cell->setGeometry(BoardLayout::hiddenCellRect());
            cell->hide();
            label->hide();
        } else {
            cell->setGeometry(BoardLayout::cellRect(n));
            label->setGeometry(BoardLayout::labelRect(n));
            connect(cell, &M_Degit::DblClick, this, [this, n] { Degit_DblClick(n); });
        }
        m_degit.at(n) = cell;
        m_lblSeiriNum.at(n) = label;
    }
    nameCells();

    const std::array<QRect, 2> clockRects = {BoardLayout::clockHoursRect(), BoardLayout::clockMinutesRect()};
    for (int i = 0; i < 2; ++i) {
        auto *clock = new M_Degit(this);
        clock->setObjectName(QStringLiteral("TimeDegit(%1)").arg(i));
        clock->setKeta(2);
        clock->setGeometry(clockRects.at(i));
        clock->hide(); // this panel layout keeps the clock hidden
        m_timeDegit.at(i) = clock;
    }

    // The stop-name strip, placed new: its own dark grey with amber dots.
    m_chimeiCtl = new ChimeiCtl_B(this);
    m_chimeiCtl->setObjectName(QStringLiteral("ChimeiCtl"));
    m_chimeiCtl->setGeometry(BoardLayout::stopNameRect());
}

void Form1::Form_Load()
{
    m_panelModule->InitDegit();
    m_panelModule->InitPanel(); // also creates the options window, hidden

    m_frmCtl->show();
    m_frmCtl->raise();

    placeDisplayAsAtFirstRun();
    placeControlPanelAsAtFirstRun();
    applyRoundedShape();
    update();
    LoadIni();
    show();
}

frmOption &Form1::createOptionsDialog()
{
    if (!m_frmOption) {
        m_frmOption = std::make_unique<frmOption>(*this, m_services);
    }
    return *m_frmOption;
}

void Form1::applyRoundedShape()
{
    // The client rectangle with a corner ellipse of 2 x 2 pixels: each corner
    // loses its single outermost pixel.
    QBitmap mask(size());
    mask.fill(Qt::color1);
    QPainter painter(&mask);
    painter.setPen(Qt::color0);
    const int r = width() - 1, b = height() - 1;
    painter.drawPoints(QPolygon({{0, 0}, {r, 0}, {0, b}, {r, b}}));
    painter.end();
    setMask(mask);
}

void Form1::placeDisplayAsAtFirstRun()
{
    move(0, 0);
}

void Form1::placeControlPanelAsAtFirstRun()
{
    m_frmCtl->placeInCorner();
}

bool Form1::isReachable(const QWidget &window) const
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        screens.append(screen->geometry());
    }
    return WindowPlacement::isReachable(window.frameGeometry(), screens);
}

void Form1::bringToFront()
{
    for (QWidget *window : {static_cast<QWidget *>(this), static_cast<QWidget *>(m_frmCtl.get())}) {
        window->showNormal();
        window->raise();
    }
    m_frmCtl->activateWindow();
}

void Form1::LoadIni()
{
    if (!m_iniIo) {
        return;
    }
    // Without a file the first-run defaults stand and nothing is said.
    const mdlIniIo::ReadOutcome outcome = m_iniIo->read();
    if (outcome.status == mdlIniIo::ReadStatus::Missing) {
        return;
    }
    // A file that could not be used is kept before the end of the run
    // replaces it, and the message says where.
    const auto reportFailure = [this](int number, const QString &description) {
        const std::optional<QString> kept = m_iniIo->keepReadFileBeforeSave();
        ErrorReport::showPlain(this,
                               ErrorReport::codeText(number, description, QStringLiteral("モジュール:mdlIniIo.LoadIni()")),
                               kept ? ErrorReport::keptFileNote(*kept) : QString());
    };
    if (outcome.status == mdlIniIo::ReadStatus::Failed) {
        reportFailure(outcome.error.number, outcome.error.description);
        return;
    }
    if (const OptionResult refused = IniApplier(*this).apply(m_iniIo->records())) {
        reportFailure(refused->number, refused->description);
    }
}

void Form1::SaveIni(ErrorReport::Audience audience)
{
    if (!m_iniIo) {
        return;
    }
    IniApplier(*this).collect(m_iniIo->records());
    if (const std::optional<IniError> failed = m_iniIo->write()) {
        const QString text = ErrorReport::codeText(failed->number, failed->description);
        if (audience == ErrorReport::Audience::Operator) {
            ErrorReport::showPlain(this, text);
        } else {
            ErrorReport::log(QStringLiteral("The settings were not saved to ") + m_services.settings->savePath(), text);
        }
    }
}

void Form1::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void Form1::nameCells()
{
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        // Full-width label digits read as plain digits.
        const QString number = m_lblSeiriNum.at(n)->text().normalized(QString::NormalizationForm_KC);
        m_degit.at(n)->setAccessibleCaption(QStringLiteral("整理券") + (number.isEmpty() ? QString::number(n) : number));
    }
}

void Form1::closeEvent(QCloseEvent *event)
{
    // The control panel asks and, on Yes, ends the program; either way this
    // window stays until then.
    event->ignore();
    if (m_frmCtl) {
        m_frmCtl->requestEnd();
    }
}

void Form1::setLabelColor(quint32 colorRef)
{
    for (int n = 1; n <= BoardLayout::Positions; ++n) {
        QPalette palette = m_lblSeiriNum.at(n)->palette();
        palette.setColor(QPalette::WindowText, ColorRef::toQColor(colorRef));
        m_lblSeiriNum.at(n)->setPalette(palette);
    }
}

// The client area's place, as the control panel keeps its own (frmCtl.h);
// this borderless window's frame is its client area anyway.
FormInfo Form1::GetFormInfo() const
{
    return {BoardLayout::roundTwips(geometry().x() * double(BoardLayout::TwipsPerPixel)),
            BoardLayout::roundTwips(geometry().y() * double(BoardLayout::TwipsPerPixel))};
}

void Form1::SetFormInfo(const FormInfo &info)
{
    setGeometry(QRect(QPoint(info.Left / BoardLayout::TwipsPerPixel, info.Top / BoardLayout::TwipsPerPixel), size()));
}

void Form1::Timer1_Timer()
{
    showClock(QTime::currentTime());
}

void Form1::showClock(const QTime &time)
{
    m_timeDegit[0]->setValue(double(time.hour()));
    m_timeDegit[1]->setValue(double(time.minute()));
}

void Form1::Degit_DblClick(int index)
{
    M_Degit *clicked = m_degit.at(index);
    if (!clicked->userSet()) {
        return;
    }
    m_frmCtl->setEnabled(false);
    const qint32 result = clicked->ShowSetDlg();
    if (result == 1) {
        const int shift = clicked->shift();
        const int fillZero = clicked->fillZero();
        const int zeroMode = clicked->zeroMode();
        for (int i = 1; i <= BoardLayout::Positions; ++i) {
            M_Degit *cell = m_degit.at(i);
            const QVariant kept = cell->value();
            cell->setShift(shift);
            cell->setFillZero(fillZero);
            cell->setZeroMode(zeroMode);
            cell->setValue(kept);
        }
    }
    m_frmCtl->setEnabled(true);
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    painter.drawPixmap(event->rect(), m_picture, event->rect());
}

bool Form1::startsDrag(Qt::MouseButton button, const QPoint &position) const
{
    return button == Qt::LeftButton && childAt(position) == nullptr;
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    // The window system moves the window as if its caption were dragged.
    if (startsDrag(event->button(), event->position().toPoint()) && windowHandle()) {
        windowHandle()->startSystemMove();
    }
}
