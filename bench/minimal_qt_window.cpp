// Reference program for the start-up measurement: a minimal Qt 6 window with a menu bar and three tables.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Minimal Qt window");

    QMenu* game = window.menuBar()->addMenu("&Game");
    game->addAction("&New Game")->setShortcut(QKeySequence("Ctrl+N"));
    game->addAction("E&xit", &window, &QWidget::close);
    window.menuBar()->addMenu("&Options")->addAction("&Speak Column Numbers")->setCheckable(true);
    window.menuBar()->addMenu("&Help")->addAction("&About");

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(new QTableWidget(1, 4));
    layout->addWidget(new QTableWidget(1, 4));
    layout->addWidget(new QTableWidget(20, 8));
    window.setCentralWidget(central);

    window.show();
    return app.exec();
}
