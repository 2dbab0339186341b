// Faults in the middle of copies, moves, deletions and renames: every source
// and every file already at the destination keeps its exact content (SHA-256
// before and after), no partial file is left behind, the user is told, Retry
// tries again and Cancel goes on.
#include "OpTestKit.h"
#include "TestSupport.h"
#include "ThumbTestKit.h"
#include "app/mdlSt.h"
#include "platform/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <unistd.h>

using namespace mdlSt;

namespace {
enum Fault {
    DiskFullFirstBlock,
    DiskFullLastBlock,
    ReadOnlyDestination,
    PermissionDenied,
    SourceDeleted,
    TargetAppears,
    HiddenTarget,
};

constexpr qint64 MiB = 1024 * 1024;

QByteArray Content(qint64 size, quint32 seed) {
    QByteArray b(size, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    gen.fillRange(reinterpret_cast<quint32*>(b.data()), size / 4);
    for (qint64 i = size / 4 * 4; i < size; ++i)
        b[i] = char(gen.bounded(256));
    return b;
}
} // namespace

class TestOpFaults : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void faultLosesNothing_data();
    void faultLosesNothing();
    void readOnlySource_data();
    void readOnlySource();
    void linkToReadOnlyFile_data();
    void linkToReadOnlyFile();

private:
    std::unique_ptr<TestFolder> m_dir;
    std::unique_ptr<frmMain> m_main;
    std::unique_ptr<MsgBoxRecorder> m_boxes;
    frmPreview* m_w = nullptr;
    QString m_src;
    QString m_dst;

    // The file of that name in the source folder, selected in its window
    // listed with that attribute mask; read-only files are asked about.
    void select(const QString& name, int mask = 0);
};

void TestOpFaults::init() {
    m_dir = std::make_unique<TestFolder>();
    m_src = m_dir->mkdir("src");
    m_dst = m_dir->mkdir("dst");
    m_boxes = std::make_unique<MsgBoxRecorder>();
}

void TestOpFaults::cleanup() {
    SetFileFaultHook({});
    m_main.reset();
    m_boxes.reset();
    m_dir.reset();
}

void TestOpFaults::select(const QString& name, int mask) {
    m_main = std::make_unique<frmMain>();
    m_main->show();
    sngSetting[SlotAutoClearReadOnly] = 0;
    sngSetting[SlotAttributeMask] = float(mask);
    // Listing the folder also tells that the noise files are no pictures.
    m_w = OpenThumbnails(*m_main, m_src);
    QVERIFY(m_w);
    m_boxes->clear();
    const int entry = EntryOf(*m_w, name);
    QVERIFY2(entry >= 0, qPrintable(name));
    strSelectFiles = QStringList{m_src + "/" + name};
    intSelectIndex = QList<int>{entry};
    intActiveWin = m_w->slot();
}

void TestOpFaults::faultLosesNothing_data() {
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("op");
    QTest::addColumn<qint64>("size");
    const struct {
        Fault fault;
        const char* name;
    } faults[] = {
        {DiskFullFirstBlock, "disk full at the first block"},
        {DiskFullLastBlock, "disk full at the last block"},
        {ReadOnlyDestination, "read-only destination"},
        {PermissionDenied, "permission denied"},
        {SourceDeleted, "source deleted after selection"},
        {TargetAppears, "target appears after the check"},
        {HiddenTarget, "hidden target under mask 0"},
    };
    for (const auto& f : faults)
        for (int op : {int(OpCopy), int(OpMove)})
            for (qint64 size : {qint64(0), qint64(4095), 20 * MiB}) {
                // An empty file needs no block of the disk.
                if (size == 0 && (f.fault == DiskFullFirstBlock || f.fault == DiskFullLastBlock))
                    continue;
                QTest::addRow("%s, %s, %lld bytes", f.name, op == OpCopy ? "copy" : "move", size)
                    << int(f.fault) << op << size;
            }
}

void TestOpFaults::faultLosesNothing() {
    QFETCH(int, fault);
    QFETCH(int, op);
    QFETCH(qint64, size);
    const QString name = fault == HiddenTarget ? ".photo.jpg" : "photo.jpg";
    const QString target = m_dst + "/" + name.toUpper();
    m_dir->write("src/" + name, Content(size, quint32(size) + 1));
    m_dir->write("src/other.jpg", "another file");

    std::unique_ptr<SmallDisk> disk;
    if (fault == DiskFullFirstBlock || fault == DiskFullLastBlock || fault == ReadOnlyDestination) {
        disk = std::make_unique<SmallDisk>(m_dst, 24 * MiB);
        if (!disk->ok)
            QSKIP("mounting a tmpfs is not allowed here");
    }
    m_dir->write("dst/KEEP.JPG", "already there");
    if (fault == HiddenTarget)
        m_dir->write("dst/" + name.toUpper(), "hidden, already there");
    // A hidden file is shown while it is selected.
    select(name, fault == HiddenTarget ? 2 : 0);
    if (fault == HiddenTarget)
        sngSetting[SlotAttributeMask] = 0;
    if (fault == DiskFullFirstBlock)
        QVERIFY(disk->leaveFree(0));
    if (fault == DiskFullLastBlock) // room for all but the last block
        QVERIFY(disk->leaveFree((size - 1) / 4096 * 4096));
    if (fault == ReadOnlyDestination)
        QVERIFY(disk->remountReadOnly());
    if (fault == SourceDeleted)
        QVERIFY(QFile::remove(m_src + "/" + name));
    if (fault == TargetAppears)
        SetFileFaultHook([this, target](const char* step, const QString&) {
            if (QByteArray(step) == "copy" && !QFile::exists(target))
                m_dir->write("dst/" + QFileInfo(target).fileName(), "arrived meanwhile");
            return FsStatus::Ok;
        });
    const auto srcBefore = Snapshot(m_src);
    const auto dstBefore = Snapshot(m_dst);
    QVERIFY(!dstBefore.isEmpty());

    // Retry once (it fails again), then Cancel.
    m_boxes->answer(Msg::Retry);
    m_boxes->answer(Msg::Cancel);
    bytOperation = op;
    strDestPath = m_dst;
    {
        std::unique_ptr<AsNobody> nobody;
        if (fault == PermissionDenied) {
            // The folders open to everyone, the destination writable by root only.
            for (const QString& d : {m_dir->path(), m_src})
                QFile::setPermissions(d, QFile::Permissions(0x7755));
            QFile::setPermissions(m_src + "/" + name, QFile::Permissions(0x6644));
            nobody = std::make_unique<AsNobody>();
            if (!nobody->ok)
                QSKIP("cannot run as another user here");
        }
        m_main->CopyAndMove(m_dst);
    }
    QCOMPARE(m_boxes->prompts(), (QStringList{"ﾌｧｲﾙが操作出来ません", "ﾌｧｲﾙが操作出来ません"}));
    QCOMPARE(Snapshot(m_src), srcBefore);
    auto dstAfter = dstBefore;
    if (fault == TargetAppears)
        dstAfter.insert(QFileInfo(target).fileName(), Sha(target));
    QCOMPARE(ReadAll(target), fault == TargetAppears  ? QByteArray("arrived meanwhile")
                              : fault == HiddenTarget ? QByteArray("hidden, already there")
                                                      : QByteArray());
    QCOMPARE(Snapshot(m_dst), dstAfter);
    QVERIFY(strSelectFiles.isEmpty());
}

void TestOpFaults::readOnlySource_data() {
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("button");
    QTest::addColumn<qint64>("size");
    const struct {
        int op;
        const char* name;
    } ops[] = {{OpMove, "move"},
               {OpDelete, "delete"},
               {OpRenameOne, "rename one"},
               {OpRenameAll, "rename all"}};
    for (const auto& o : ops)
        for (const char* button : {"Cancel", "無視"})
            for (qint64 size : {qint64(0), qint64(4095), 20 * MiB})
                QTest::addRow("%s, %s, %lld bytes", o.name, button, size)
                    << o.op << QString::fromUtf8(button) << size;
}

void TestOpFaults::readOnlySource() {
    QFETCH(int, op);
    QFETCH(QString, button);
    QFETCH(qint64, size);
    const QByteArray content = Content(size, quint32(size) + 7);
    const bool go = button != "Cancel";
    const QString source = m_dir->write("src/photo.jpg", content);
    m_dir->write("dst/KEEP.JPG", "already there");
    QVERIFY(QFile::setPermissions(source, QFile::ReadOwner | QFile::ReadGroup));
    select("photo.jpg");
    const auto srcBefore = Snapshot(m_src);
    const auto dstBefore = Snapshot(m_dst);

    // The batch rename asks for its numbering before it looks at any file.
    ModalScript modal;
    if (op == OpRenameAll)
        PressButton(modal, QStringLiteral("OK"));
    PressButton(modal, button);
    if (op == OpRenameOne && go)
        TypeNameAndOk(modal, "renamed.jpg");
    m_boxes->answer(Msg::Yes);
    bytOperation = op;
    strDestPath = op == OpMove ? m_dst : m_src;
    m_main->CopyAndMove(strDestPath);

    QVERIFY(m_boxes->calls().isEmpty());
    if (!go) {
        QCOMPARE(Snapshot(m_src), srcBefore);
        QCOMPARE(Snapshot(m_dst), dstBefore);
        QVERIFY(!(QFileInfo(source).permissions() & QFile::WriteOwner));
        return;
    }
    // The file went where the operation sends it, its bytes unchanged.
    QString now;
    if (op == OpMove)
        now = m_dst + "/PHOTO.JPG";
    else if (op == OpRenameOne)
        now = m_src + "/renamed.jpg";
    else if (op == OpRenameAll)
        now = m_src + "/SRC 001.JPG";
    QVERIFY(!QFile::exists(source));
    if (!now.isEmpty()) {
        QVERIFY2(QFile::exists(now), qPrintable(now));
        QCOMPARE(ReadAll(now), content);
    }
    if (op != OpMove)
        QCOMPARE(Snapshot(m_dst), dstBefore);
}

void TestOpFaults::linkToReadOnlyFile_data() {
    QTest::addColumn<int>("op");
    QTest::addColumn<bool>("autoClear");
    for (const int op : {int(OpMove), int(OpDelete)})
        for (const bool autoClear : {false, true})
            QTest::addRow("%s, automatic clearing %s", op == OpMove ? "move" : "delete",
                          autoClear ? "on" : "off")
                << op << autoClear;
}

void TestOpFaults::linkToReadOnlyFile() {
    QFETCH(int, op);
    QFETCH(bool, autoClear);
    // The link has no permission bits of its own: no question, and the file
    // it leads to, outside the selection, keeps its mode and its bytes.
    const QString precious = m_dir->write("outside/precious.jpg", Content(4095, 3));
    QVERIFY(QFile::setPermissions(precious, QFile::ReadOwner | QFile::ReadGroup));
    const auto mode = QFile::permissions(precious);
    const QByteArray sha = Sha(precious);
    QVERIFY(QFile::link(precious, m_src + "/link.jpg"));
    select("link.jpg");
    sngSetting[SlotAutoClearReadOnly] = autoClear ? 1 : 0;
    ModalScript modal;
    bytOperation = op;
    strDestPath = m_dst;
    m_main->CopyAndMove(m_dst);
    QCOMPARE(modal.shown(), 0);
    QVERIFY(m_boxes->calls().isEmpty());
    QCOMPARE(QFile::permissions(precious), mode);
    QCOMPARE(Sha(precious), sha);
    QVERIFY(!QFileInfo(m_src + "/link.jpg").isSymLink());
    const QFileInfo arrived(m_dst + "/LINK.JPG");
    QCOMPARE(arrived.isSymLink(), op == OpMove);
    if (op == OpMove)
        QCOMPARE(arrived.symLinkTarget(), precious);
}

QTEST_MAIN(TestOpFaults)
#include "tst_opfaults.moc"
