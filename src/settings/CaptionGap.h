#pragma once

class QCheckBox;
class QLabel;
class QWidget;

// Some captions leave a run of blanks where a list sits on top of them, so
// that caption and list read as one sentence ("停留所の順番を、[ 1 ]コマ目に
// 表示する。"). These place a widget over the n-th blank run (0 first) of
// its host's caption; the widget becomes a child of the host.
namespace CaptionGap {

void placeOver(QCheckBox *host, int gapIndex, QWidget *widget);
void placeOver(QLabel *host, int gapIndex, QWidget *widget);

} // namespace CaptionGap
