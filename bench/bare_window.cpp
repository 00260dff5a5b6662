// The floor that the game's start-up time and memory are compared with: a Qt Widgets program
// that shows one empty window and does nothing else. Like the game's screens, the window is
// frameless and covers the display, so that both paint the same number of pixels.

#include <QApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) window.setGeometry(screen->geometry());
    window.show();
    return QApplication::exec();
}
