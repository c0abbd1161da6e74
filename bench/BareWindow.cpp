// The yardstick for the main window's costs: a Qt main window holding an empty grid of the
// same shape (7 columns, 101 rows) and the same size, and nothing else.
//
//   bare_window WIDTH HEIGHT [HIDE_AFTER_MS]
//
// With HIDE_AFTER_MS the window hides itself that long after it is first shown, as Pesterly
// does when its Hide button is clicked, and the program idles on until it is ended.
#include <QApplication>
#include <QMainWindow>
#include <QTableWidget>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        qWarning("usage: bare_window WIDTH HEIGHT [HIDE_AFTER_MS]");
        return 2;
    }
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setCentralWidget(new QTableWidget(101, 7, &window));
    window.setFixedSize(args[1].toInt(), args[2].toInt());
    window.show();
    if (args.size() > 3) {
        QApplication::setQuitOnLastWindowClosed(false);
        QTimer::singleShot(args[3].toInt(), &window, &QWidget::hide);
    }
    return QApplication::exec();
}
