#include "ui/SearchBarBackground.h"

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QSvgRenderer>
#include <QWidget>

#include <algorithm>

void SearchBarBackground::fill(QWidget *box)
{
    // One tile as tall as the box, so that the image's shading spans it instead of repeating
    // down the box.
    const int height = std::max({box->height(), box->sizeHint().height(), box->minimumHeight(), 32});
    QImage tile(8, height, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QSvgRenderer image(QStringLiteral(":/images/searchBarBackground.svg"));
    QPainter painter(&tile);
    image.render(&painter, QRectF(tile.rect()));
    painter.end();
    QPalette palette = box->palette();
    palette.setBrush(QPalette::Window, QBrush(tile));
    box->setPalette(palette);
    box->setAutoFillBackground(true);
}
