#include "ScaleMenu.h"

#include <QActionGroup>
#include <QMenu>

void ScaleMenu::add(QMenu *menu, const QString &title, const QList<int> &steps, int current,
                    const std::function<void(int)> &choose)
{
    QMenu *scales = menu->addMenu(title);
    auto *group = new QActionGroup(scales);
    for (const int percent : steps) {
        QAction *step = scales->addAction(QStringLiteral("%1 %").arg(percent));
        step->setCheckable(true);
        step->setChecked(percent == current);
        group->addAction(step);
        QObject::connect(step, &QAction::triggered, scales, [choose, percent] { choose(percent); });
    }
}
