#pragma once
// Widgets placed at fixed spots that follow the main window when it is made
// larger than its smallest size: a list grows, what stands under it moves
// down with the page's lower edge, and everything else keeps its place.

#include <QList>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace tambor::ui {

class Growth {
public:
    enum Edges {
        GrowWidth = 1,     // the right edge follows the page's right edge
        GrowHeight = 2,    // the lower edge follows the page's lower edge
        FollowRight = 4,   // moves right with the page's right edge
        FollowBottom = 8,  // moves down with the page's lower edge
    };

    // Takes w's present geometry as its place at the smallest size.
    void add(QWidget* w, int edges);
    // The page is delta larger than at the smallest size (never negative).
    void growBy(QSize delta);

private:
    struct Entry {
        QPointer<QWidget> widget;
        QRect base;
        int edges;
    };
    QList<Entry> entries_;
};

}  // namespace tambor::ui
