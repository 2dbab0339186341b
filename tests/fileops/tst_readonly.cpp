// The read-only question, driven through ShowModal on real read-only files.
#include "../rename/DialogDriver.h"
#include "TestSupport.h"
#include "app/mdlSt.h"
#include "fileops/frmReadOnly.h"
#include "platform/Files.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestReadOnly : public QObject {
    Q_OBJECT
private slots:
    void texts();
    void answers_data();
    void answers();
    void failedClearing_data();
    void failedClearing();
    void retryAfterFailure();
};

namespace {
QString readOnlyFile(const TestFolder& dir, const QString& name) {
    const QString path = dir.write(name, "x");
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return path;
}

void click(frmReadOnly& d, const QString& how) {
    if (how == "無視")
        QTest::mouseClick(d.cmdOk, Qt::LeftButton);
    else if (how == "すべて無視")
        QTest::mouseClick(d.cmdAll, Qt::LeftButton);
    else if (how == "Cancel")
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    else if (how == "Esc")
        QTest::keyClick(d.cmdOk, Qt::Key_Escape);
    else
        d.close();
}
} // namespace

void TestReadOnly::texts() {
    TestFolder dir;
    const QString file = readOnlyFile(dir, "a.jpg");
    mdlSt::strWorkName = "A.JPG";
    mdlSt::strWorkPath = dir.path() + '/';
    RunDialog<frmReadOnly>(
        [&](frmReadOnly& d) {
            QCOMPARE(d.windowTitle(), QString("読み取り専用"));
            QCOMPARE(d.lblTitle[0]->text(),
                     QString("次のファイルは読み取り専用属性になっています。"));
            QCOMPARE(d.lblTitle[1]->text(), QString("ファイル名   A.JPG"));
            QCOMPARE(d.lblTitle[2]->text(), "パス        " + dir.path() + '/');
            QCOMPARE(d.lblTitle[3]->text(), QString("属性を無視しますか？"));
            // The name line grows with its text instead of cutting it off.
            const QLabel* name = d.lblTitle[1];
            QVERIFY(name->width() >= name->fontMetrics().horizontalAdvance(name->text()));
            QCOMPARE(d.focusWidget(), d.cmdOk);
            d.close();
        },
        file);
    QVERIFY(!QTest::currentTestFailed());
}

void TestReadOnly::answers_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("slash"); // strWorkPath given with its trailing "/"
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<float>("ignoreAll");
    QTest::newRow("無視") << "無視"
                          << "a.jpg" << true << true << 0.0f;
    QTest::newRow("無視, folder without slash") << "無視"
                                                << "a.jpg" << false << true << 0.0f;
    QTest::newRow("無視, hidden file") << "無視"
                                       << ".h.jpg" << true << true << 0.0f;
    QTest::newRow("すべて無視") << "すべて無視"
                                << "a.jpg" << false << true << 1.0f;
    QTest::newRow("Cancel") << "Cancel"
                            << "a.jpg" << true << false << 0.0f;
    QTest::newRow("close box") << "close box"
                               << "a.jpg" << true << false << 0.0f;
    QTest::newRow("Esc") << "Esc"
                         << "a.jpg" << true << false << 0.0f;
}

void TestReadOnly::answers() {
    QFETCH(QString, how);
    QFETCH(QString, name);
    QFETCH(bool, slash);
    QFETCH(bool, cleared);
    QFETCH(float, ignoreAll);
    TestFolder dir;
    const QString file = readOnlyFile(dir, name);
    QVERIFY(IsReadOnly(file));
    mdlSt::strWorkName = name.toUpper();
    mdlSt::strWorkPath = slash ? dir.path() + '/' : dir.path();
    MsgBoxRecorder boxes;
    const int result = RunDialog<frmReadOnly>(
        [&](frmReadOnly& d) {
            click(d, how);
            QVERIFY(!d.isVisible());
        },
        file);
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(boxes.calls().isEmpty());
    QVERIFY(QFile::exists(file)); // clearing never renames, hidden or not
    QCOMPARE(IsReadOnly(file), !cleared);
    QCOMPARE(mdlSt::sngSetting[mdlSt::SlotIgnoreAllReadOnly], ignoreAll);
    if (cleared) {
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(mdlSt::strWorkName, name.toUpper());
        QCOMPARE(mdlSt::strWorkPath, dir.path() + '/');
    } else {
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(mdlSt::strWorkName, QString());
        QCOMPARE(mdlSt::strWorkPath, QString());
    }
}

void TestReadOnly::failedClearing_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<float>("ignoreAll");
    QTest::newRow("無視") << "無視" << 0.0f;
    QTest::newRow("すべて無視") << "すべて無視" << 1.0f; // set before the clearing fails
}

void TestReadOnly::failedClearing() {
    QFETCH(QString, how);
    QFETCH(float, ignoreAll);
    TestFolder dir;
    const QString file = readOnlyFile(dir, "a.jpg");
    mdlSt::strWorkName = "A.JPG";
    mdlSt::strWorkPath = dir.path() + '/';
    MsgBoxRecorder boxes;
    boxes.answer(Msg::Cancel);
    const int result = RunDialog<frmReadOnly>(
        [&](frmReadOnly& d) {
            QVERIFY(QFile::remove(file)); // gone before the answer
            click(d, how);
            QVERIFY(!d.isVisible());
        },
        file);
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(boxes.prompts(), QStringList{"ﾌｧｲﾙが操作出来ません"});
    QCOMPARE(boxes.calls()[0].title, QString("警告"));
    QCOMPARE(boxes.calls()[0].buttons, int(Msg::RetryCancel | Msg::Critical));
    QCOMPARE(result, int(QDialog::Rejected)); // the file is skipped
    QCOMPARE(mdlSt::strWorkName, QString());
    QCOMPARE(mdlSt::strWorkPath, QString());
    QCOMPARE(mdlSt::sngSetting[mdlSt::SlotIgnoreAllReadOnly], ignoreAll);
}

void TestReadOnly::retryAfterFailure() {
    TestFolder dir;
    const QString file = readOnlyFile(dir, "a.jpg");
    mdlSt::strWorkName = "A.JPG";
    mdlSt::strWorkPath = dir.path() + '/';
    QFile::rename(file, file + ".away");
    int asked = 0;
    // The first answer puts the file back and retries; the clearing succeeds.
    SetMsgBoxHandler([&](const MsgBoxCall&) {
        ++asked;
        QFile::rename(file + ".away", file);
        return int(Msg::Retry);
    });
    const int result = RunDialog<frmReadOnly>(
        [&](frmReadOnly& d) { QTest::mouseClick(d.cmdOk, Qt::LeftButton); }, file);
    SetMsgBoxHandler({});
    QCOMPARE(asked, 1);
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!IsReadOnly(file));
    QCOMPARE(mdlSt::strWorkName, QString("A.JPG"));
}

QTEST_MAIN(TestReadOnly)
#include "tst_readonly.moc"
