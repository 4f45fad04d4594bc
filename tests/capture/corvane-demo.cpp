// Shows the capture library at work: loads it by name, previews every camera it finds in a window of
// its own and records each into "Video/Device <n>-<stamp>.WMV" under the current directory.
// Usage: corvane-demo [seconds]   (without seconds it records until the window is closed)
// CORVANE_TEST_DEVICES=2 is taken when the variable is not set, so it runs on any machine.

#include "CorvaneLibrary.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMaxCameras = 4;

// A window of the window system's own for the library to draw into; Qt paints nothing over it.
class PreviewBox : public QWidget {
 public:
  PreviewBox() {
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setFixedSize(320, 240);
  }
  QPaintEngine* paintEngine() const override { return nullptr; }
};

QString FileName(int camera) {
  return QStringLiteral("Video/Device %1-%2.WMV")
      .arg(camera)
      .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-M-d--hh-mm-ss")));
}

}  // namespace

int main(int argc, char** argv) {
  setenv("CORVANE_TEST_DEVICES", "2", 0);
  QApplication application(argc, argv);
  CorvaneLibrary corvane;
  corvane.fnSetErrorSink([](const char* text) { std::fprintf(stderr, "%s\n", text); });
  QDir().mkpath(QStringLiteral("Video"));

  const int cameras = std::min(corvane.fnGetDevicesNum(), kMaxCameras);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Corvane: %1 cameras").arg(cameras));
  auto* layout = new QGridLayout(&window);
  std::vector<PreviewBox*> boxes;
  for (int camera = 0; camera < cameras; ++camera) {
    layout->addWidget(new QLabel(QStringLiteral("Camera %1").arg(camera)), 0, camera);
    boxes.push_back(new PreviewBox);
    layout->addWidget(boxes.back(), 1, camera);
  }
  window.show();

  QTimer::singleShot(200, [&] {
    for (int camera = 0; camera < cameras; ++camera) {
      const QByteArray file = FileName(camera).toLocal8Bit();
      corvane.fnSetWMProfile(camera, CORVANE_PROFILE);
      corvane.fnSetVideoName(camera, file.constData());
      const int started = corvane.fnDoStartVideoCapture(camera, boxes[static_cast<size_t>(camera)]->winId());
      std::printf("camera %d: %s %s\n", camera, started ? "recording" : "not started", file.constData());
    }
  });
  QObject::connect(&application, &QApplication::aboutToQuit, [&] {
    for (int camera = 0; camera < cameras; ++camera) corvane.fnDoStopVideoCapture(camera);
  });
  if (argc > 1) QTimer::singleShot(std::atoi(argv[1]) * 1000, &application, &QApplication::quit);
  return application.exec();
}
