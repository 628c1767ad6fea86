#pragma once

#include <QList>
#include <QString>

#include <functional>

class QMenu;

namespace ScaleMenu {

// A submenu `title` of `menu` offering `steps` in per cent, `current` checked;
// choosing one calls `choose` with it.
void add(QMenu *menu, const QString &title, const QList<int> &steps, int current,
         const std::function<void(int)> &choose);

} // namespace ScaleMenu
