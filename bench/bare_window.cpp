// The baseline for the start-up benchmark: a Qt program that only shows a window of the intro
// window's size. What kelvora takes beyond it is its own start-up work.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(450, 479);
    window.show();
    return app.exec();
}
