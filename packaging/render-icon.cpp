// brisko-render-icon SVG SIZE PNG: draws the SVG into a SIZE by SIZE PNG, for the icon
// theme. Run by the build; not installed.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: brisko-render-icon SVG SIZE PNG\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString svg = QString::fromLocal8Bit(argv[1]);
    bool isNumber = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&isNumber);
    const QString png = QString::fromLocal8Bit(argv[3]);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid() || !isNumber || size <= 0) {
        std::fprintf(stderr, "brisko-render-icon: %s cannot be drawn at size %s\n", argv[1],
                     argv[2]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    if (!image.save(png, "PNG")) {
        std::fprintf(stderr, "brisko-render-icon: %s cannot be written\n", argv[3]);
        return 1;
    }
    return 0;
}
