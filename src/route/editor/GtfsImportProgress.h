#pragma once

#include <QString>

#include <functional>

class GtfsProgress;
class QWidget;

// Reads a GTFS feed off the window's thread: `work` runs on a thread of its
// own while a progress dialog names the file being read and how far it has
// come, and its キャンセル asks the reading to stop through `progress` (which
// `work` must have given its feed). The window stays drawn and answers
// meanwhile; the call returns once `work` has ended.
namespace GtfsImportProgress {

// False when the reading was cancelled.
bool run(QWidget *parent, const QString &title, GtfsProgress &progress, const std::function<void()> &work);

} // namespace GtfsImportProgress
