// The floor of `abrevel --render-screen CODE FILE.png` as a whole process:
// a Qt application constructed, the same screen's PNG decoded and written
// back as PNG. Usage: abrevel_floor IN.png OUT.png
#include <QGuiApplication>
#include <QImage>

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3)
    return 2;
  QImage image;
  if (!image.load(QString::fromLocal8Bit(argv[1])))
    return 1;
  return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
