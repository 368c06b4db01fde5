#include "ui/SimpleNoteCell.h"

#include "core/Clock.h"
#include "core/Defaults.h"
#include "core/SettingsKeys.h"
#include "core/store/MyNote.h"
#include "core/store/MyTag.h"
#include "ui/ArrayController.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace {
constexpr qint64 oneDay = 86400;
constexpr qint64 fiveDays = 432000;

QColor rgb(double r, double g, double b, double a = 1.0)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(a));
}

// The named images at their own size, rendered once per device pixel ratio.
QPixmap image(const QString &name, qreal dpr)
{
    static QHash<QString, QPixmap> cache;
    const QString key = name + u'@' + QString::number(dpr);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QSvgRenderer renderer(QStringLiteral(":/images/cells/%1.svg").arg(name));
    const QSize size = renderer.defaultSize();
    QPixmap pixmap(size * dpr);
    pixmap.fill(Qt::transparent);
    if (renderer.isValid()) {
        QPainter p(&pixmap);
        renderer.render(&p);
    }
    pixmap.setDevicePixelRatio(dpr);
    cache.insert(key, pixmap);
    return pixmap;
}

QSizeF logicalSize(const QPixmap &pixmap)
{
    return QSizeF(pixmap.size()) / pixmap.devicePixelRatio();
}

void drawText(QPainter *painter, const QRectF &box, const QString &text, const QFont &font)
{
    painter->setFont(font);
    const QString shown = QFontMetricsF(font).elidedText(text, Qt::ElideRight, box.width());
    painter->drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
}
} // namespace

SimpleNoteCell::SimpleNoteCell(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

SimpleNoteCell::Status SimpleNoteCell::status(const MySimpleNote &note, const QDateTime &now)
{
    if (note.completed)
        return {QStringLiteral("notes_done"), rgb(0.8, 0.8, 0.8)};
    if (!note.dueDated.isValid())
        return {QStringLiteral("notes"), rgb(0.8, 0.8, 0.8)};
    const double t = double(note.dueDated.toMSecsSinceEpoch() - now.toMSecsSinceEpoch()) / 1000.0;
    if (t < -oneDay)
        return {QStringLiteral("purple_ball"), rgb(0.708, 0.316, 0.653)};
    if (t <= oneDay)
        return {QStringLiteral("yellow_ball"), rgb(0.9, 0.802, 0.155)};
    if (t <= fiveDays)
        return {QStringLiteral("green_ball"), rgb(0.481, 0.778, 0.301)};
    return {QStringLiteral("blue_ball"), rgb(0.337, 0.558, 0.799)};
}

SimpleNoteCell::Gradient SimpleNoteCell::gradient(bool selected, bool completed, bool blueColors)
{
    if (completed)
        return {rgb(0.5, 0.5, 0.5), rgb(0.7, 0.7, 0.7)};
    if (selected)
        return blueColors ? Gradient{rgb(0.391, 0.691, 1.0), rgb(0.682, 0.842, 1.0)}
                          : Gradient{rgb(0.748, 0.878, 1.0), rgb(0.903, 0.928, 0.994)};
    return blueColors ? Gradient{rgb(0.748, 0.878, 1.0), rgb(0.903, 0.928, 0.994)}
                      : Gradient{rgb(0.96, 0.96, 0.96), rgb(1.0, 1.0, 1.0)};
}

QString SimpleNoteCell::longDate(const QDate &date)
{
    // The locale's long date without the weekday, which would crowd the small labels.
    const QLocale locale;
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("dddd[,.]?\\s*|\\s*[,.]?\\s*dddd"));
    format.remove(weekday);
    return locale.toString(date, format.trimmed());
}

QString SimpleNoteCell::creationText(const MySimpleNote &note)
{
    // Whole seconds, as the stamp in milliseconds divided with the fraction dropped.
    const qint64 seconds = note.created / 1000;
    return longDate(QDateTime::fromSecsSinceEpoch(seconds, Clock::timeZone()).date());
}

QString SimpleNoteCell::dueText(const MySimpleNote &note)
{
    return note.dueDated.isValid() ? longDate(note.dueDated.toTimeZone(Clock::timeZone()).date()) : QString();
}

QString SimpleNoteCell::tagText(const MySimpleNote &note)
{
    QString text;
    for (const MyTag *tag : note.tags) {
        if (!tag->deleted())
            text += tag->name() + QStringLiteral(", ");
    }
    if (text.size() > 2)
        text.chop(2);
    return text;
}

QFont SimpleNoteCell::font(qreal points)
{
    // Matching a family against the desktop's fonts is costly: once per size is enough.
    static QHash<qreal, QFont> fonts;
    auto it = fonts.constFind(points);
    if (it != fonts.constEnd())
        return *it;
    QFont f(QStringLiteral("Lucida Grande"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    fonts.insert(points, f);
    return f;
}

SimpleNoteCell::Lines SimpleNoteCell::lines() const
{
    return {0.33, 0.66, 0.34, 5, 3, 1};
}

void SimpleNoteCell::drawAboveTitle(QPainter *, const MySimpleNote &, qreal, qreal, qreal, qreal) const
{
}

void SimpleNoteCell::draw(QPainter *painter, const QRectF &frame, const MySimpleNote &note, bool selected) const
{
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const bool blue = Defaults::standardUserDefaults().boolForKey(Key::blueTaskColors);
    const QRectF card = frame.adjusted(10, 1, -10, -1);
    const QRectF content = card.adjusted(10, 0, -10, 0);
    QPainterPath cardPath;
    cardPath.addRoundedRect(card, 5, 5);

    const QFont titleFont = font(11), smallFont = font(9);
    const QFontMetricsF titleMetrics(titleFont), smallMetrics(smallFont);
    const Status st = status(note, Clock::now());
    const QString created = creationText(note), due = dueText(note), tags = tagText(note);
    const QPixmap ball = image(st.ballImage, dpr);
    const QPixmap tagImage = image(QStringLiteral("tag_orange_small"), dpr);
    const QSizeF b = logicalSize(ball);
    const qreal ht = titleMetrics.height(), hc = smallMetrics.height();
    qreal wc = smallMetrics.horizontalAdvance(created), wd = smallMetrics.horizontalAdvance(due);
    const qreal wg = logicalSize(tagImage).width(), hg = smallMetrics.height();

    const qreal mid = content.top() + content.height() / 2;
    const QRectF ballRect(content.left(), mid - b.height() / 2, b.width(), b.height());
    const qreal T = qreal(float(ht + hc + 7));
    const qreal top = mid - T / 2;
    const qreal x = content.left() + b.width() + 10;
    const qreal W = content.width() - b.width() - 10;
    // In a narrow card the date labels give way: each ends at the content's right edge, its
    // text elided, and a due label with no room for a few letters is left out.
    const qreal right = content.right();
    wc = std::clamp(right - x - 10, qreal(0), wc);
    const qreal dx = x + 5 + wc + 35;
    wd = std::min(wd, right - dx - 5);
    const bool showDue = !due.isEmpty() && wd >= smallMetrics.horizontalAdvance(QStringLiteral("00…"));
    const Lines l = lines();
    const qreal y2 = top + l.second * T, y3 = top + l.third * T;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);

    if (selected) {
        // A soft grey shadow a point below the card.
        painter->save();
        painter->setPen(Qt::NoPen);
        for (int spread = 5; spread >= 1; --spread) {
            QPainterPath halo;
            halo.addRoundedRect(card.adjusted(-spread, -spread + 1, spread, spread + 1), 5 + spread, 5 + spread);
            painter->fillPath(halo, rgb(0.5, 0.5, 0.5, 0.06));
        }
        painter->fillPath(cardPath, rgb(0.9, 0.9, 0.9));
        painter->restore();
    }

    const QPen outline(rgb(0.298, 0.298, 0.298, 0.75), 1);
    painter->strokePath(cardPath, outline);
    const Gradient g = gradient(selected, note.completed, blue);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0, g.start);
    fill.setColorAt(1, g.end);
    painter->fillPath(cardPath, fill);

    QPainterPath createdLabel;
    createdLabel.addRoundedRect(QRectF(x, y2, wc + 10, hc), 5, 5);
    painter->strokePath(createdLabel, outline);
    if (showDue) {
        QPainterPath dueLabel;
        dueLabel.addRoundedRect(QRectF(dx - 5, y2, wd + 10, hc), 5, 5);
        painter->strokePath(dueLabel, outline);
        painter->fillPath(dueLabel, st.labelColor);
    }

    painter->drawPixmap(ballRect.topLeft(), ball);
    painter->drawPixmap(QPointF(x, y3 + l.tagImageTop), tagImage);
    if (note.hasContent) {
        const QPixmap hasContent = image(QStringLiteral("hasContent"), dpr);
        const qreal h = logicalSize(hasContent).height();
        painter->drawPixmap(QPointF(content.left(), content.bottom() - l.contentImageBottom - h), hasContent);
    }

    drawAboveTitle(painter, note, x, top, W, ht);

    painter->setPen(note.completed ? rgb(0.333, 0.333, 0.333) : QColor(Qt::black));
    drawText(painter, QRectF(x, top + l.titleBottom * T - ht, W, ht), note.title, titleFont);
    drawText(painter, QRectF(x + 5, y2, wc + 1, hc), created, smallFont);
    drawText(painter, QRectF(x + wg + 5, y3 + l.tagTextTop, W, hg), tags, smallFont);
    if (showDue)
        drawText(painter, QRectF(dx, y2, wd + 1, hc), due, smallFont);
    painter->restore();
}

void SimpleNoteCell::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    auto *task = dynamic_cast<MyNote *>(index.data(ArrayController::ObjectRole).value<ManagedObject *>());
    if (!task)
        return;
    draw(painter, option.rect, task->simpleNote(), option.state & QStyle::State_Selected);
}

QSize SimpleNoteCell::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    const qreal T = QFontMetricsF(font(11)).height() + QFontMetricsF(font(9)).height() + 7;
    return QSize(300, int(std::ceil(T)) + 24);
}
