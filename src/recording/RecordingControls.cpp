#include "RecordingControls.h"

#include "windows/Form1.h"
#include "recording/LiveRecorder.h"
#include "windows/frmCtl.h"

#include <QAction>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>

RecordingControls::RecordingControls(Form1 &display, LiveRecorder &recorder, QObject *parent)
    : QObject(parent)
    , m_display(display)
    , m_recorder(recorder)
{
    frmCtl *panel = m_display.controlPanel();
    QLabel *row = panel->statusRow();
    m_mark = new QLabel(QStringLiteral("●録画中"), row);
    m_mark->setObjectName(QStringLiteral("RecordingMark"));
    m_mark->setAccessibleName(QStringLiteral("録画中"));
    // Over the end of the row's first line, on the row's own colour.
    m_mark->setStyleSheet(QStringLiteral("QLabel { color: #ff3030; font-weight: bold; background: #141414; border: none; padding: 0px 3px; }"));
    m_mark->hide();
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 4, 0);
    layout->addStretch();
    layout->addWidget(m_mark, 0, Qt::AlignTop | Qt::AlignRight);

    connect(panel, &frmCtl::contextMenuOpening, this, [this](QMenu *menu) {
        menu->addSeparator();
        if (m_recorder.isRecording()) {
            connect(menu->addAction(QStringLiteral("録画を停止")), &QAction::triggered, this, [this] { m_recorder.stop(); });
        } else {
            connect(menu->addAction(QStringLiteral("録画を開始")), &QAction::triggered, this, [this] {
                if (const QString problem = startInVideos(); !problem.isEmpty()) {
                    QMessageBox::warning(m_display.controlPanel(), QStringLiteral("録画"), problem);
                }
            });
        }
    });
    connect(&m_recorder, &LiveRecorder::recordingChanged, this, &RecordingControls::showState);
}

QString RecordingControls::startInVideos()
{
    const BusOperation &bus = m_display.operation();
    const QString route = bus.route().hasRoute() ? bus.route().state().RouteText : QString();
    QString error;
    return m_recorder.start(LiveRecorder::defaultPath(route), &error) ? QString() : error;
}

void RecordingControls::showState(bool on, const QString &problem)
{
    m_mark->setVisible(on);
    frmCtl *panel = m_display.controlPanel();
    if (on) {
        panel->addStatusNotice(QStringLiteral("録画: %1").arg(QDir::toNativeSeparators(m_recorder.path())));
    } else if (!problem.isEmpty()) {
        panel->addStatusNotice(QStringLiteral("録画できませんでした: %1").arg(problem));
    }
}
