// The batch rename dialog: reading its numbers, the order of its messages,
// the space count, and cancelling.
#include "tst_rename.h"

#include "DialogDriver.h"
#include "TestSupport.h"
#include "app/mdlSt.h"
#include "rename/frmReName.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {
// The values the batch rename of a folder TRIP opens with.
void prepare() {
    mdlSt::ResetState();
    mdlSt::strReNameBase = "TRIP";
    mdlSt::intReNameStart = 1;
    mdlSt::intReNameStep = 1;
    mdlSt::bytNumberDigits = 3;
}

void typeOver(QLineEdit* box, const QString& text) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

QLineEdit* box(frmReName& d, const QString& name) {
    return d.findChild<QLineEdit*>(name);
}

const QString TooLarge = "数値が大きすぎます。";
} // namespace

void TestReNameDialog::opensWithValues() {
    prepare();
    mdlSt::intReNameStart = -7;
    RunDialog<frmReName>([](frmReName& d) {
        QCOMPARE(d.windowTitle(), QString("ﾌｧｲﾙ名の一括変換"));
        QCOMPARE(d.txtName->text(), QString("TRIP"));
        QCOMPARE(d.txtName->selectedText(), QString("TRIP"));
        QCOMPARE(d.focusWidget(), d.txtName);
        QCOMPARE(d.txtStartNumber->text(), QString("-7"));
        QCOMPARE(d.txtInterval->text(), QString("1"));
        QCOMPARE(d.txtZero->text(), QString("3"));
        QCOMPARE(d.txtSpace->text(), QString("1"));
        d.close();
    });
    QVERIFY(!QTest::currentTestFailed());
}

void TestReNameDialog::readings_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("message"); // "" = accepted
    QTest::newRow("start 12abc") << "txtStartNumber"
                                 << "12abc" << 12 << "";
    QTest::newRow("start 2.5") << "txtStartNumber"
                               << "2.5" << 2 << "";
    QTest::newRow("start 3.5") << "txtStartNumber"
                               << "3.5" << 4 << "";
    QTest::newRow("start blank 7") << "txtStartNumber"
                                   << " 7" << 7 << "";
    QTest::newRow("start -5") << "txtStartNumber"
                              << "-5" << -5 << "";
    QTest::newRow("start 40000") << "txtStartNumber"
                                 << "40000" << 1 << TooLarge;
    QTest::newRow("start abc") << "txtStartNumber"
                               << "abc" << 0 << "開始番号が不正です";
    QTest::newRow("step -1") << "txtInterval"
                             << "-1" << -1 << "";
    QTest::newRow("step 0.4") << "txtInterval"
                              << "0.4" << 0 << "番号増加値が不正です";
    QTest::newRow("step -32769") << "txtInterval"
                                 << "-32769" << 1 << TooLarge;
    QTest::newRow("digits 255") << "txtZero"
                                << "255" << 255 << "";
    QTest::newRow("digits 256") << "txtZero"
                                << "256" << 3 << TooLarge;
    QTest::newRow("digits -1") << "txtZero"
                               << "-1" << 3 << TooLarge;
    QTest::newRow("digits empty") << "txtZero"
                                  << "" << 0 << "番号桁数が不正です";
}

void TestReNameDialog::readings() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(int, value);
    QFETCH(QString, message);
    prepare();
    MsgBoxRecorder boxes;
    const int result = RunDialog<frmReName>([&](frmReName& d) {
        typeOver(box(d, field), typed);
        QTest::mouseClick(d.cmdOk, Qt::LeftButton);
        QCOMPARE(d.isVisible(), !message.isEmpty());
        d.close();
    });
    QVERIFY(!QTest::currentTestFailed());
    const int read = field == "txtStartNumber" ? mdlSt::intReNameStart
                     : field == "txtInterval"  ? mdlSt::intReNameStep
                                               : mdlSt::bytNumberDigits;
    QCOMPARE(read, value);
    if (message.isEmpty()) {
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(mdlSt::strReNameBase, QString("TRIP "));
        QVERIFY(boxes.calls().isEmpty());
    } else {
        QCOMPARE(boxes.prompts(), QStringList{message});
        QCOMPARE(boxes.calls()[0].title, QString("警告"));
        QCOMPARE(boxes.calls()[0].buttons, int(Msg::OkOnly | Msg::Critical));
    }
}

void TestReNameDialog::failureOrder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // "" = unchanged (stays on txtSpace)
    QTest::newRow("out of range first") << ""
                                        << "0"
                                        << "0"
                                        << "999" << TooLarge << "";
    QTest::newRow("empty text") << ""
                                << "0"
                                << "0"
                                << "0"
                                << "ファイル名が入力されていません"
                                << "txtName";
    QTest::newRow("start 0") << "T"
                             << "0"
                             << "0"
                             << "0"
                             << "開始番号が不正です"
                             << "txtStartNumber";
    QTest::newRow("step 0") << "T"
                            << "1"
                            << "0"
                            << "0"
                            << "番号増加値が不正です"
                            << "txtInterval";
    QTest::newRow("digits 0") << "T"
                              << "1"
                              << "1"
                              << "0"
                              << "番号桁数が不正です"
                              << "txtZero";
    QTest::newRow("slash in the text, last")
        << "T/U"
        << "1"
        << "1"
        << "3"
        << "ファイル名に使えない文字（/ など）が含まれています。"
        << "txtName";
    QTest::newRow("NUL in the text") << QString("T") + QChar(0) << "1"
                                     << "1"
                                     << "3"
                                     << "ファイル名に使えない文字（/ など）が含まれています。"
                                     << "txtName";
}

void TestReNameDialog::failureOrder() {
    QFETCH(QString, name);
    QFETCH(QString, start);
    QFETCH(QString, step);
    QFETCH(QString, digits);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    prepare();
    MsgBoxRecorder boxes;
    RunDialog<frmReName>([&](frmReName& d) {
        d.txtName->setText(name);
        typeOver(d.txtStartNumber, start);
        typeOver(d.txtInterval, step);
        typeOver(d.txtZero, digits);
        d.txtSpace->setFocus();
        QTest::keyClick(d.txtSpace, Qt::Key_Return); // Enter presses OK
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget()->objectName(), focus.isEmpty() ? QString("txtSpace") : focus);
        d.close();
    });
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(boxes.prompts(), QStringList{message});
    QCOMPARE(boxes.calls()[0].title, QString("警告"));
    QCOMPARE(boxes.calls()[0].icon(), int(Msg::Critical));
}

void TestReNameDialog::convertedBeforeKeepValues() {
    prepare();
    MsgBoxRecorder boxes;
    RunDialog<frmReName>([&](frmReName& d) {
        typeOver(d.txtStartNumber, "5");
        typeOver(d.txtInterval, "40000");
        typeOver(d.txtZero, "9");
        QTest::mouseClick(d.cmdOk, Qt::LeftButton);
        QVERIFY(d.isVisible());
        QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
    });
    QCOMPARE(boxes.prompts(), QStringList{TooLarge});
    QCOMPARE(mdlSt::intReNameStart, 5); // converted before the failing box
    QCOMPARE(mdlSt::intReNameStep, 1);
    QCOMPARE(mdlSt::bytNumberDigits, 3); // not reached
    QCOMPARE(mdlSt::strReNameBase, QString());
}

void TestReNameDialog::spaceCount_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spaces");
    QTest::addColumn<QString>("base");    // "" = still open
    QTest::addColumn<QString>("message"); // "" = none
    QTest::newRow("one") << "TRIP"
                         << "1"
                         << "TRIP "
                         << "";
    QTest::newRow("none") << "TRIP"
                          << "0"
                          << "TRIP"
                          << "";
    QTest::newRow("three") << "TRIP"
                           << "3"
                           << "TRIP   "
                           << "";
    QTest::newRow("2.5 to 2") << "TRIP"
                              << "2.5"
                              << "TRIP  "
                              << "";
    QTest::newRow("text") << "TRIP"
                          << "x"
                          << "TRIP"
                          << "";
    QTest::newRow("ends with a space already") << "TRIP "
                                               << "5"
                                               << "TRIP "
                                               << "";
    QTest::newRow("ends with a space, count not read") << "TRIP "
                                                       << "-1"
                                                       << "TRIP "
                                                       << "";
    QTest::newRow("negative") << "TRIP"
                              << "-1"
                              << ""
                              << "";
    QTest::newRow("most") << "T"
                          << "255"
                          << "T" + QString(255, ' ') << "";
    QTest::newRow("more than a name holds") << "TRIP"
                                            << "256"
                                            << "" << TooLarge;
    QTest::newRow("beyond 32 bits") << "TRIP"
                                    << "3000000000"
                                    << "" << TooLarge;
}

void TestReNameDialog::spaceCount() {
    QFETCH(QString, name);
    QFETCH(QString, spaces);
    QFETCH(QString, base);
    QFETCH(QString, message);
    prepare();
    MsgBoxRecorder boxes;
    const int result = RunDialog<frmReName>([&](frmReName& d) {
        typeOver(d.txtName, name);
        typeOver(d.txtSpace, spaces);
        QTest::mouseClick(d.cmdOk, Qt::LeftButton);
        QCOMPARE(d.isVisible(), base.isEmpty());
        d.close();
    });
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(boxes.prompts(), message.isEmpty() ? QStringList{} : QStringList{message});
    if (base.isEmpty()) {
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(mdlSt::strReNameBase, QString()); // closed by the close box afterwards
    } else {
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(mdlSt::strReNameBase, base);
    }
}

void TestReNameDialog::cancelling_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << "button";
    QTest::newRow("close box") << "close box";
    QTest::newRow("Esc") << "Esc";
    QTest::newRow("close box after a refused OK") << "after refusal";
}

void TestReNameDialog::cancelling() {
    QFETCH(QString, how);
    prepare();
    MsgBoxRecorder boxes;
    const int result = RunDialog<frmReName>([&](frmReName& d) {
        typeOver(d.txtName, "SEA");
        if (how == "button") {
            QTest::mouseClick(d.cmdCancel, Qt::LeftButton);
        } else if (how == "Esc") {
            QTest::keyClick(d.txtName, Qt::Key_Escape);
        } else {
            if (how == "after refusal") {
                typeOver(d.txtZero, "0");
                QTest::mouseClick(d.cmdOk, Qt::LeftButton);
                QCOMPARE(mdlSt::strReNameBase, QString("SEA"));
            }
            d.close();
        }
        QVERIFY(!d.isVisible());
    });
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(mdlSt::strReNameBase, QString());
}
