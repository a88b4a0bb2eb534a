// Saves a picture of the whole screen and says whether anything is on it: exit code 0 when the picture holds
// at least a few colours, 2 when the screen is blank, 1 when it cannot be grabbed or saved.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: GrabScreen OUTPUT.png\n");
        return 1;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    const QImage picture = screen->grabWindow(0).toImage();
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG"))
        return 1;
    // A window with menus, tabs and lists has many colours; an empty screen has one.
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height() && colours.size() < 16; y += 3) {
        for (int x = 0; x < picture.width() && colours.size() < 16; x += 3)
            colours.insert(picture.pixel(x, y));
    }
    std::printf("%d colours or more on %dx%d\n", int(colours.size()), picture.width(), picture.height());
    return colours.size() >= 8 ? 0 : 2;
}
