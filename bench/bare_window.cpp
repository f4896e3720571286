// The floor the editor's start-up is measured against (bench/start-time.sh):
// a bare Qt main window of the editor's size with a menu bar and a line of
// text (so that it loads the fonts, as any window with text does), its client
// painted in the bright square colour where the editor's a8 square is.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>

namespace {

class Client : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), QColor(255, 239, 206));
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QFont font = QApplication::font();
  font.setPointSize(8);
  QApplication::setFont(font);
  QMainWindow window;
  window.menuBar()->addMenu("&File");
  auto* client = new Client;
  client->setFixedSize(596, 573);
  auto* text = new QLabel("Legal position.", client);
  text->setGeometry(12, 520, 572, 18);
  window.setCentralWidget(client);
  window.show();
  return app.exec();
}
