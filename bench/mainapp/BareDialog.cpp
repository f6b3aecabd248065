// The peer of the start-up benchmark: a Qt program that shows one empty
// 280 x 522 dialog modally and closes it as Sondrel closes its window under
// SONDREL_QUIT_AFTER_MS=0.
#include <QApplication>
#include <QDialog>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QDialog dialog(nullptr, Qt::Window | Qt::FramelessWindowHint);
    dialog.setFixedSize(280, 522);
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.close(); });
    dialog.exec();
    return 0;
}
