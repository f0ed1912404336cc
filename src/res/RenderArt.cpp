// SPDX-License-Identifier: MIT
// Renders one of the program's drawings (SVG) into the picture file the resources carry:
//   r718-art <drawing.svg> <picture.(jpg|png)> <width> <height>
// JPEG pictures get an opaque white ground; PNG pictures keep transparency.
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 5) {
        std::fputs("usage: r718-art drawing.svg picture.jpg|png width height\n", stderr);
        return 2;
    }
    QSvgRenderer drawing(args[1]);
    if (!drawing.isValid()) {
        std::fprintf(stderr, "r718-art: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    const QSize size(args[3].toInt(), args[4].toInt());
    const bool jpeg =
        QFileInfo(args[2]).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) != 0;
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(jpeg ? Qt::white : Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                               QPainter::SmoothPixmapTransform);
        drawing.render(&painter, QRectF(QPointF(0, 0), size));
    }
    if (!picture.save(args[2], jpeg ? "JPG" : "PNG", jpeg ? 92 : -1)) {
        std::fprintf(stderr, "r718-art: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
