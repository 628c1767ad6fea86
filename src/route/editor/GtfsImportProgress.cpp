#include "GtfsImportProgress.h"

#include "route/GtfsProgress.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <memory>

namespace GtfsImportProgress {

bool run(QWidget *parent, const QString &title, GtfsProgress &progress, const std::function<void()> &work)
{
    QProgressDialog dialog(QStringLiteral("GTFS を読んでいます…"), QStringLiteral("キャンセル"), 0, 1000, parent);
    dialog.setWindowTitle(title);
    dialog.setAccessibleName(QStringLiteral("GTFS の読み込み"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(300);
    dialog.setValue(0);

    QEventLoop loop;
    const std::unique_ptr<QThread> thread(QThread::create(work));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&progress] { progress.cancel(); });
    QTimer poll;
    poll.setInterval(100);
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&dialog, &progress] {
        if (progress.isCancelled()) {
            return;
        }
        const QString file = progress.file();
        if (!file.isEmpty()) {
            dialog.setLabelText(QStringLiteral("%1 を読んでいます…").arg(file));
        }
        dialog.setValue(progress.permille());
    });
    thread->start();
    poll.start();
    loop.exec();
    poll.stop();
    thread->wait();
    return !progress.isCancelled();
}

} // namespace GtfsImportProgress
