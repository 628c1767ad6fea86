// Renders the stop-name strip to PNG files, four times enlarged with every
// pixel kept sharp: `stopname_preview OUTDIR [NAME...]`. Without names it
// draws a few typical ones. Long names are drawn as the whole strip.

#include "controls/ChimeiCtl_B.h"

#include <QApplication>
#include <QDir>
#include <QPainter>

#include <cstdio>

namespace {

constexpr int Scale = 4;

// The control as it shows now; for a scrolling name the strip it moves.
QImage picture(ChimeiCtl_B &control, const QString &name)
{
    control.SetChimei(name);
    if (!control.isScrolling()) {
        return control.grab().toImage();
    }
    return control.stripPart(0, control.stripHeight());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: stopname_preview OUTDIR [NAME...]\n", stderr);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QStringList names;
    for (int i = 2; i < argc; ++i) {
        names << QString::fromLocal8Bit(argv[i]);
    }
    if (names.isEmpty()) {
        names = {QStringLiteral("駅前"), QStringLiteral("市民病院前"), QStringLiteral("市立総合病院前（北口）"),
                 QStringLiteral("ＪＲ駅東口")};
    }

    ChimeiCtl_B control;
    bool ok = true;
    for (int i = 0; i < names.size(); ++i) {
        const QImage shown = picture(control, names.at(i));
        const QImage enlarged = shown.scaled(shown.size() * Scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QString path = dir.filePath(QStringLiteral("stopname-%1.png").arg(i + 1));
        if (!enlarged.save(path)) {
            std::fprintf(stderr, "stopname_preview: cannot write %s\n", qPrintable(path));
            ok = false;
            continue;
        }
        std::printf("%s\t%s\n", qPrintable(path), names.at(i).toLocal8Bit().constData());
    }
    return ok ? 0 : 1;
}
