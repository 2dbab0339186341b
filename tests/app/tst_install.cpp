// What `cmake --install` puts under a prefix: the program, its help file where
// the installed program looks for it, the launcher, the AppStream metadata, the
// icon and the metafile plugin that another Qt program reads WMF with; and the
// installed program's options.
#include "TestSupport.h"
#include "app/Desktop.h"
#include "platform/Picture.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QMap>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {
const QString SourceDir = QStringLiteral(PIKSOR_SOURCE_DIR);

// The keys of a launcher's [Desktop Entry] group.
QMap<QString, QString> DesktopEntry(const QString& path) {
    QMap<QString, QString> keys;
    bool inEntry = false;
    for (const QString& line : QString::fromUtf8(ReadAll(path)).split('\n')) {
        if (line.startsWith('['))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.contains('='))
            keys.insert(line.section('=', 0, 0), line.section('=', 1));
    }
    return keys;
}

const QString MetainfoName = QStringLiteral("io.github.piksor.piksor.metainfo.xml");

QString SourceLauncher() {
    return SourceDir + "/resources/desktop/" + DesktopFileName + ".desktop";
}
} // namespace

class TestInstall : public QObject {
    Q_OBJECT
    QTemporaryDir m_dest; // the staged install, under usr/
    QString m_usr;
    QString m_wmfPlugin; // where the metafile plugin is staged

private slots:
    void initTestCase();
    void installTree();
    void pluginReadsLikeProgram_data();
    void pluginReadsLikeProgram();
    void validates_data();
    void validates();
    void runAsUser_data();
    void runAsUser();
    void launcherOpensFormat_data();
    void launcherOpensFormat();
};

void TestInstall::initTestCase() {
    QVERIFY(m_dest.isValid());
    QProcess install;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", m_dest.path());
    install.setProcessEnvironment(env);
    install.start(PIKSOR_CMAKE, {"--install", PIKSOR_BUILD_DIR, "--prefix", "/usr"});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
             install.readAllStandardError().constData());
    m_usr = m_dest.path() + "/usr";
    m_wmfPlugin = m_usr + "/" PIKSOR_QT_PLUGINS "/imageformats/libpiksorwmf.so";
}

void TestInstall::installTree() {
    const QString& usr = m_usr;

    const QFileInfo program(usr + "/bin/piksor");
    QVERIFY(program.isFile() && program.isExecutable());
    // The installed program finds the help file from its own folder.
    const QString help = usr + "/share/piksor/Piksor.HLP";
    QCOMPARE(ReadAll(help), ReadAll(SourceDir + "/resources/Piksor.HLP"));
    QCOMPARE(FindHelpFile(program.path()), help);

    // The launcher carries the name the program gives the desktop, starts the
    // installed program and names the installed icon.
    SetUpDesktop();
    const QString launcher =
        usr + "/share/applications/" + QGuiApplication::desktopFileName() + ".desktop";
    QVERIFY2(QFileInfo(launcher).isFile(), qPrintable(launcher));
    const QMap<QString, QString> entry = DesktopEntry(launcher);
    QCOMPARE(entry.value("Name"), QStringLiteral("Piksor"));
    // A file manager's "open with" hands the program the file.
    QCOMPARE(entry.value("Exec"), program.fileName() + " %f");
    QCOMPARE(entry.value("Categories"), QStringLiteral("Graphics;Viewer;"));
    const QString icon = entry.value("Icon");
    QVERIFY(!icon.isEmpty());
    const QString theme = usr + "/share/icons/hicolor/";
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString png = theme + QStringLiteral("%1x%1/apps/").arg(size) + icon + ".png";
        QImageReader reader(png);
        QCOMPARE(reader.format(), QByteArray("png"));
        QCOMPARE(reader.size(), QSize(size, size));
    }
    QVERIFY(ReadAll(theme + "scalable/apps/" + icon + ".svg").contains("<svg"));
    QVERIFY(ReadAll(usr + "/share/metainfo/" + MetainfoName).contains("piksor.desktop"));

    // The metafile plugin goes into Qt's plugin folder unless configured off.
    QCOMPARE(QFileInfo::exists(m_wmfPlugin), PIKSOR_INSTALLS_WMF_PLUGIN);
}

void TestInstall::pluginReadsLikeProgram_data() {
    QTest::addColumn<QString>("name"); // the fixture's name in the other program
    QTest::addColumn<QSize>("box");    // the program's fitting box; empty: natural size
    QTest::newRow("natural") << "shapes.wmf" << QSize();
    QTest::newRow("scaled") << "shapes.wmf" << QSize(90, 60);
    QTest::newRow("found by content") << "shapes" << QSize(90, 60);
}

// Another Qt program, given only the staged plugin folder, reads the picture
// as Piksor itself draws it.
void TestInstall::pluginReadsLikeProgram() {
    QFETCH(QString, name);
    QFETCH(QSize, box);
    if (!PIKSOR_INSTALLS_WMF_PLUGIN)
        QSKIP("configured with PIKSOR_INSTALL_WMF_PLUGIN=OFF");
    QTemporaryDir work;
    const QString input = work.filePath(name);
    QVERIFY(QFile::copy(SourceDir + "/tests/wmf/fixtures/shapes.wmf", input));
    const Picture ours = box.isEmpty() ? LoadPicture(input) : LoadPicture(input, box);
    QCOMPARE(ours.status, FsStatus::Ok);
    QVERIFY(box.isEmpty() ? ours.image.size() == ours.naturalSize
                          : ours.image.size().boundedTo(ours.naturalSize) != ours.naturalSize);

    QProcess other;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_PLUGIN_PATH", m_usr + "/" PIKSOR_QT_PLUGINS);
    env.insert("QT_DEBUG_PLUGINS", "1");
    other.setProcessEnvironment(env);
    const QString output = work.filePath("read.png");
    QStringList args{input, output};
    if (!box.isEmpty())
        args << QStringLiteral("%1x%2").arg(ours.image.width()).arg(ours.image.height());
    other.start(PIKSOR_READ_IMAGE, args);
    QVERIFY(other.waitForFinished(60000));
    const QString said = other.readAllStandardError();
    QVERIFY2(other.exitStatus() == QProcess::NormalExit && other.exitCode() == 0,
             qPrintable(said.right(2000)));
    // The plugin it loaded is the staged one.
    QVERIFY2(said.contains('"' + m_wmfPlugin + "\" loaded library"), qPrintable(said.right(2000)));
    const QStringList lines = QString(other.readAllStandardOutput()).split('\n');
    QCOMPARE(lines.value(0), QStringLiteral("wmf"));
    const QStringList mimes = lines.value(1).split(' ');
    QVERIFY(mimes.contains("image/wmf") && mimes.contains("image/x-wmf"));

    const QImage theirs = QImage(output).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(theirs, ours.image.convertToFormat(QImage::Format_ARGB32));
}

void TestInstall::validates_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("launcher") << "desktop-file-validate" << QStringList{SourceLauncher()};
    QTest::newRow("AppStream metadata")
        << "appstreamcli"
        << QStringList{"validate", "--no-net", SourceDir + "/resources/desktop/" + MetainfoName};
}

void TestInstall::validates() {
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    const QString validate = QStandardPaths::findExecutable(tool);
    if (validate.isEmpty())
        QSKIP(qPrintable(tool + " is not installed"));
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(validate, arguments);
    QVERIFY(run.waitForFinished(30000));
    const QString said = run.readAll();
    // Neither errors nor warnings nor hints.
    static const QRegularExpression complaint(R"(^(E|W): |: (error|warning|hint): )",
                                              QRegularExpression::MultilineOption);
    QVERIFY2(run.exitCode() == 0 && !said.contains(complaint), qPrintable(said));
}

void TestInstall::runAsUser_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("printed"); // on standard output
    QTest::newRow("--version") << "--version"
                               << "Piksor " PIKSOR_VERSION "\n";
    QTest::newRow("--help") << "--help"
                            << "[FILE|FOLDER]";
}

// Help and version are printed without a display, and nothing else starts.
// (Where an installed program keeps its settings: the settings tests.)
void TestInstall::runAsUser() {
    QFETCH(QString, option);
    QFETCH(QString, printed);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(m_usr + "/bin/piksor", {option});
    QVERIFY(run.waitForFinished(30000));
    const QString out = run.readAllStandardOutput();
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
             run.readAllStandardError().constData());
    QVERIFY2(out.contains(printed), qPrintable(out));
}

void TestInstall::launcherOpensFormat_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"photo.bmp", "photo.jpg", "photo.jpeg", "anim.gif", "app.ico",
                             "pointer.cur", "drawing.wmf"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestInstall::launcherOpensFormat() {
    QFETCH(QString, name);
    const QStringList offered =
        DesktopEntry(SourceLauncher()).value("MimeType").split(';', Qt::SkipEmptyParts);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    QVERIFY2(type.isValid() && !type.isDefault(), qPrintable(name));
    QStringList names = type.aliases();
    names.prepend(type.name());
    bool found = false;
    for (const QString& n : names)
        found = found || offered.contains(n);
    QVERIFY2(found, qPrintable(names.join(' ')));
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
