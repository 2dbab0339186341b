// A Qt program that knows nothing of Piksor: reads one picture with a plain
// QImageReader, at its natural size or at WIDTHxHEIGHT, and writes it as PNG.
// Prints the format it read and the MIME types Qt offers; exits 1 when the
// picture cannot be read.
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QTextStream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    QImageReader reader(args[1]);
    if (args.size() > 3) {
        const QStringList side = args[3].split('x');
        reader.setScaledSize(QSize(side.value(0).toInt(), side.value(1).toInt()));
    }
    QImage image;
    QTextStream err(stderr);
    if (!reader.read(&image)) {
        err << reader.errorString() << '\n';
        return 1;
    }
    if (!QImageWriter(args[2], "png").write(image))
        return 1;
    QTextStream(stdout) << reader.format() << '\n'
                        << QImageReader::supportedMimeTypes().join(' ') << '\n';
    return 0;
}
