// drawlogo: draws the launcher's logo, a glowing monitor showing a lightning
// arc under a rising sun, on a transparent ground, and writes it as a PNG.
// Run by the build; the picture is compiled into the launcher.
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>

#include <cstdio>

namespace
{
const int LOGO_WIDTH = 214;
const int LOGO_HEIGHT = 192;

void drawSun(QPainter& painter)
{
    QRadialGradient halo(QPointF(107, 78), 78);
    halo.setColorAt(0.0, QColor(255, 196, 64, 230));
    halo.setColorAt(0.55, QColor(255, 150, 40, 120));
    halo.setColorAt(1.0, QColor(255, 120, 30, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(QPointF(107, 78), 78, 78);

    painter.setBrush(QColor(255, 214, 90));
    painter.drawEllipse(QPointF(107, 78), 40, 40);
}

void drawMonitor(QPainter& painter)
{
    // A soft shadow under the case: only partly opaque, so the window's
    // background shows through.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(QRectF(36, 82, 150, 104), 14, 14);

    QLinearGradient body(0, 74, 0, 178);
    body.setColorAt(0.0, QColor(92, 96, 110));
    body.setColorAt(1.0, QColor(38, 40, 50));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(30, 74, 154, 104), 14, 14);

    QRadialGradient screen(QPointF(107, 124), 70);
    screen.setColorAt(0.0, QColor(40, 90, 110));
    screen.setColorAt(1.0, QColor(8, 20, 30));
    painter.setBrush(screen);
    painter.drawRoundedRect(QRectF(42, 86, 130, 78), 18, 18);

    // Faint scan lines.
    painter.setPen(QPen(QColor(0, 0, 0, 70), 1));
    for (int y = 89; y < 162; y += 3)
        painter.drawLine(QPointF(46, y + 0.5), QPointF(168, y + 0.5));
}

void drawLightning(QPainter& painter)
{
    const QPolygonF arc({{52, 128}, {70, 116}, {82, 134}, {98, 112}, {112, 138},
                         {126, 110}, {140, 132}, {152, 118}, {164, 126}});
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(120, 200, 255, 90), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(arc);
    painter.setPen(QPen(QColor(170, 225, 255, 200), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(arc);
    painter.setPen(QPen(QColor(255, 255, 255), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(arc);
}
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawlogo OUTPUT.png\n");
        return 2;
    }

    QImage logo(LOGO_WIDTH, LOGO_HEIGHT, QImage::Format_ARGB32);
    logo.fill(Qt::transparent);
    {
        QPainter painter(&logo);
        painter.setRenderHint(QPainter::Antialiasing);
        drawSun(painter);
        drawMonitor(painter);
        drawLightning(painter);
    }

    if (!logo.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "drawlogo: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
