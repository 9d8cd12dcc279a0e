#include "ui/common/growth.h"

#include <algorithm>

namespace tambor::ui {

void Growth::add(QWidget* w, int edges) { entries_.append({w, w->geometry(), edges}); }

void Growth::growBy(QSize delta) {
    const int dx = std::max(0, delta.width());
    const int dy = std::max(0, delta.height());
    for (const Entry& e : entries_) {
        if (!e.widget) continue;
        QRect r = e.base;
        if (e.edges & FollowRight) r.translate(dx, 0);
        if (e.edges & FollowBottom) r.translate(0, dy);
        if (e.edges & GrowWidth) r.setWidth(r.width() + dx);
        if (e.edges & GrowHeight) r.setHeight(r.height() + dy);
        e.widget->setGeometry(r);
    }
}

}  // namespace tambor::ui
