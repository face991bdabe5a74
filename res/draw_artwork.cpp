// Draws the pictures of res/ (1x and @2x) from the window's layout tables, so the drag strip,
// the list frame and the page arrows always stand where the view expects them.
// Usage: lark-draw-artwork OUTPUT_DIR
#include "gui/forms.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

using namespace lark::ui;

namespace {

const QColor kForm(29, 56, 119);
const QColor kStripTop(14, 28, 66);
const QColor kStripBottom(27, 52, 112);
const QColor kArrow(238, 192, 64);
const QColor kRise(252, 20, 79);

using Drawing = std::function<void(QPainter &)>;

bool save(const QString &directory, const QString &name, QSize size, const Drawing &draw)
{
    for (int scale : {1, 2}) {
        QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        draw(painter);
        painter.end();
        const QString file = directory + '/' + name + (scale == 2 ? "@2x.png" : ".png");
        if (!image.save(file))
            return false;
    }
    return true;
}

void drawArrow(QPainter &p, QRect zone, bool up)
{
    const QRectF r = QRectF(zone).adjusted(0.5, 2.5, 0.5, -1.5);
    QPainterPath path;
    path.moveTo(r.center().x(), up ? r.top() : r.bottom());
    path.lineTo(r.right(), up ? r.bottom() : r.top());
    path.lineTo(r.left(), up ? r.bottom() : r.top());
    path.closeSubpath();
    p.setPen(QPen(kStripTop, 1));
    p.setBrush(kArrow);
    p.drawPath(path);
}

void drawDragStrip(QPainter &p, const SizeLayout &layout)
{
    const QRect strip(0, 0, layout.backgroundSize.width(), 27);
    QLinearGradient shade(0, 0, 0, strip.height());
    shade.setColorAt(0, kStripTop);
    shade.setColorAt(1, kStripBottom);
    p.fillRect(strip, shade);
    p.setPen(QColor(90, 130, 210));
    p.drawLine(0, strip.bottom(), strip.width(), strip.bottom());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 150, 210));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column)
            p.drawEllipse(QPointF(8.5 + 4 * column, 8.5 + 5 * row), 1.2, 1.2);
    }
    QFont title(QStringLiteral("WenQuanYi Micro Hei"));
    title.setPixelSize(layout.size == 3 ? 12 : 14);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(232, 238, 250));
    p.drawText(strip.adjusted(20, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
               layout.size == 3 ? QStringLiteral("Tamberly") : QStringLiteral("Tamberly 股票预警"));
}

void drawBackground(QPainter &p, const SizeLayout &layout)
{
    QLinearGradient body(0, 0, 0, layout.backgroundSize.height());
    body.setColorAt(0, QColor(44, 78, 152));
    body.setColorAt(1, kForm);
    p.fillRect(QRect(QPoint(0, 0), layout.backgroundSize), body);
    drawDragStrip(p, layout);

    const ControlPlaces places = controlPlaces(layout, frameOuterSize(layout));
    const QRectF frame = QRectF(places.list).adjusted(-1.5, -1.5, 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(10, 22, 52), 1));
    p.drawRect(frame.adjusted(-1, -1, 1, 1));
    p.setPen(QPen(QColor(110, 150, 225), 1));
    p.drawRect(frame);

    drawArrow(p, layout.previousPageZone, true);
    drawArrow(p, layout.nextPageZone, false);
}

void drawMark(QPainter &p, QRectF box, const QColor &ground, const QColor &line)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(box, box.width() / 6, box.width() / 6);
    const double u = box.width() / 32;
    QPainterPath chart;
    chart.moveTo(box.left() + 5 * u, box.top() + 24 * u);
    chart.lineTo(box.left() + 12 * u, box.top() + 16 * u);
    chart.lineTo(box.left() + 17 * u, box.top() + 20 * u);
    chart.lineTo(box.left() + 26 * u, box.top() + 8 * u);
    p.setPen(QPen(line, 3 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(chart);
    QPainterPath head;
    head.moveTo(box.left() + 28 * u, box.top() + 5 * u);
    head.lineTo(box.left() + 21 * u, box.top() + 7 * u);
    head.lineTo(box.left() + 26 * u, box.top() + 12 * u);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    p.drawPath(head);
}

void drawMailPicture(QPainter &p)
{
    p.fillRect(QRect(0, 0, 56, 27), QColor(236, 236, 236));
    const QRectF envelope(3.5, 5.5, 22, 15);
    p.setPen(QPen(QColor(40, 60, 120), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(envelope);
    p.drawLine(envelope.topLeft(), envelope.center() + QPointF(0, 2));
    p.drawLine(envelope.topRight(), envelope.center() + QPointF(0, 2));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(28, 0, 27, 27), Qt::AlignCenter, QStringLiteral("Mail"));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: lark-draw-artwork OUTPUT_DIR");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (int size : {1, 2, 3}) {
        const SizeLayout &layout = sizeLayout(size);
        const QString name = QString::fromLatin1(layout.background).section('/', -1).chopped(4);
        ok &= save(out, name, layout.backgroundSize,
                   [&](QPainter &p) { drawBackground(p, layout); });
    }
    auto mark = [](const QColor &ground, const QColor &line) {
        return [=](QPainter &p) { drawMark(p, QRectF(0, 0, 32, 32), ground, line); };
    };
    ok &= save(out, "icon-128", QSize(32, 32), mark(QColor(29, 56, 119), kRise));
    ok &= save(out, "icon-133", QSize(32, 32), mark(kArrow, QColor(29, 56, 119)));
    ok &= save(out, "about-131", QSize(56, 27), drawMailPicture);
    ok &= save(out, "lark", QSize(64, 64),
               [](QPainter &p) { drawMark(p, QRectF(0, 0, 64, 64), QColor(29, 56, 119), kRise); });
    return ok ? 0 : 1;
}
