#pragma once

#include <QObject>

class Form1;
class LiveRecorder;
class QLabel;

// The operator's side of live recording: "録画を開始" and "録画を停止" in
// the control panel's right-click menu (into the user's videos folder,
// named by date and route), and a red "●録画中" on the panel's status row
// while a recording runs (the row is not part of the video).
class RecordingControls : public QObject
{
    Q_OBJECT

public:
    RecordingControls(Form1 &display, LiveRecorder &recorder, QObject *parent = nullptr);

    // Starts a recording into the videos folder; the reason when it cannot.
    QString startInVideos();

private:
    void showState(bool on, const QString &problem);

    Form1 &m_display;
    LiveRecorder &m_recorder;
    QLabel *m_mark;
};
