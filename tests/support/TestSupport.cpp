#include "TestSupport.h"

#include "app/mdlSt.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QStandardPaths>
#include <QtTest>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

MsgBoxRecorder::MsgBoxRecorder() {
    SetMsgBoxHandler([this](const MsgBoxCall& call) {
        m_calls.append(call);
        if (!m_answers.empty()) {
            const int a = m_answers.front();
            m_answers.pop_front();
            return a;
        }
        switch (call.buttonSet()) {
        case Msg::YesNo:
            return int(Msg::Yes);
        case Msg::RetryCancel:
            return int(Msg::Retry);
        default:
            return int(Msg::Ok);
        }
    });
}

MsgBoxRecorder::~MsgBoxRecorder() {
    SetMsgBoxHandler({});
}

QStringList MsgBoxRecorder::prompts() const {
    QStringList out;
    for (const MsgBoxCall& c : m_calls)
        out.append(c.prompt);
    return out;
}

ModalScript::ModalScript() {
    SetShowModalHandler([this](QDialog& dialog) {
        ++m_shown;
        if (m_handlers.empty()) {
            qWarning("ModalScript: no handler for dialog %s", qPrintable(dialog.windowTitle()));
            dialog.reject();
            return;
        }
        auto handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        handler(dialog);
    });
}

ModalScript::~ModalScript() {
    SetShowModalHandler({});
}

TestFolder::TestFolder() {
    ResetForTest(m_dir.path());
}

QString TestFolder::write(const QString& relative, const QByteArray& content) const {
    const QString p = file(relative);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(p));
    return p;
}

QString TestFolder::mkdir(const QString& relative) const {
    const QString p = file(relative);
    QDir().mkpath(p);
    return p;
}

void ResetForTest(const QString& programFolder) {
    QStandardPaths::setTestModeEnabled(true);
    // The shared thumbnail cache of each test lies in its own folder, never
    // in the home folder of the one who runs the tests.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(programFolder + QStringLiteral("/cache")));
    // So is the configuration folder of an installed program.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(programFolder + QStringLiteral("/config")));
    mdlSt::ResetState();
    mdlSt::SetProgramFolder(programFolder);
}

Mounted::Mounted(const QString& path) : point(QFile::encodeName(path)) {}

Mounted::~Mounted() {
    if (ok)
        ::umount2(point.constData(), MNT_DETACH);
}

BindMount::BindMount(const QString& source, const QString& path) : Mounted(path) {
    ok = ::mount(QFile::encodeName(source).constData(), point.constData(), nullptr, MS_BIND,
                 nullptr) == 0;
}

SmallDisk::SmallDisk(const QString& path, qint64 bytes) : Mounted(path) {
    const QByteArray opts = "size=" + QByteArray::number(bytes);
    ok = ::mount("tmpfs", point.constData(), "tmpfs", 0, opts.constData()) == 0;
}

bool SmallDisk::remountReadOnly() const {
    return ::mount("tmpfs", point.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool SmallDisk::leaveFree(qint64 leave) const {
    struct statvfs s {};
    QFile f(QFile::decodeName(point) + "/filler.bin");
    const qint64 want = ::statvfs(point.constData(), &s) == 0
                            ? qint64(s.f_bavail) * qint64(s.f_frsize) - leave
                            : -1;
    return want >= 0 && f.open(QIODevice::WriteOnly) && f.write(QByteArray(want, 'f')) == want;
}

AsNobody::AsNobody() : ok(::geteuid() == 0 && ::seteuid(65534) == 0) {}

AsNobody::~AsNobody() {
    if (ok && ::seteuid(0) != 0)
        qFatal("cannot become root again");
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void TypeText(QWidget* widget, const QString& text) {
    QString ascii;
    auto flush = [&] {
        if (!ascii.isEmpty())
            QTest::keyClicks(widget, ascii);
        ascii.clear();
    };
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            ascii += c;
            continue;
        }
        flush();
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QCoreApplication::sendEvent(widget, &commit);
    }
    flush();
}
