// The baseline for the window benchmarks: what Qt alone costs for a frameless always-on-top
// window of Lark's size, with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("BareWindow"));
    window.setGeometry(0, 0, 492, 350);
    window.show();
    return app.exec();
}
