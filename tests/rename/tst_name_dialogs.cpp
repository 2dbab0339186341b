// The name-collision dialog and the single rename dialog, driven through
// ShowModal with real keys and clicks on real files.
#include "tst_rename.h"

#include "DialogDriver.h"
#include "TestSupport.h"
#include "app/mdlSt.h"
#include "rename/frmNameInput.h"
#include "rename/frmNameInputSingle.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {
// Sets up the shared strings for a dialog on the given folder.
void prepare(const TestFolder& dir, const QString& incoming, int mask = 0) {
    mdlSt::strWorkName = incoming;
    mdlSt::strWorkPath = dir.path() + '/';
    mdlSt::sngSetting[mdlSt::SlotAttributeMask] = float(mask);
}

void typeOver(QLineEdit* box, const QString& text) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

// The two dialogs share most behaviour; "collision" is frmNameInput, "single"
// frmNameInputSingle.
struct NameDialog {
    QDialog* dialog;
    QLineEdit* txtName;
    QPushButton* ok;
    QPushButton* cancel;
};

NameDialog parts(QDialog& d) {
    if (auto* c = qobject_cast<frmNameInput*>(&d))
        return {c, c->txtName, c->cmdOK, c->cmdCancel};
    auto* s = qobject_cast<frmNameInputSingle*>(&d);
    return {s, s->txtName, s->cmdOk, s->cmdCancel};
}

int runNameDialog(const QString& kind, const std::function<void(NameDialog)>& drive) {
    if (kind == "collision")
        return RunDialog<frmNameInput>([&](frmNameInput& d) { drive(parts(d)); });
    return RunDialog<frmNameInputSingle>([&](frmNameInputSingle& d) { drive(parts(d)); });
}
} // namespace

void TestNameDialogs::lockWhileTyping_data() {
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<QTestEventList>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("returned");

    QTestEventList none;
    QTest::newRow("A.B.JPG as it comes") << "A.B.JPG" << none << "A.B.jpg"
                                         << "";

    QTestEventList holiday;
    holiday.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    holiday.addKeyClicks("HOLIDAY.PNG");
    QTest::newRow("typed extension replaced") << "IMG_0012.JPG" << holiday << "HOLIDAY.jpg"
                                              << "HOLIDAY.JPG";

    QTestEventList removeExtension;
    removeExtension.addKeyClick(Qt::Key_End);
    for (int i = 0; i < 4; ++i)
        removeExtension.addKeyClick(Qt::Key_Left, Qt::ShiftModifier);
    removeExtension.addKeyClick(Qt::Key_Delete);
    QTest::newRow("removed extension restored")
        << "IMG_0012.JPG" << removeExtension << "IMG_0012.jpg"
        << "";

    QTestEventList backspaces;
    backspaces.addKeyClick(Qt::Key_End);
    for (int i = 0; i < 6; ++i)
        backspaces.addKeyClick(Qt::Key_Backspace);
    QTest::newRow("Backspace from the end shortens the name")
        << "IMG_0012.JPG" << backspaces << "IMG_00.jpg"
        << "IMG_00.JPG";

    QTestEventList intoExtension;
    intoExtension.addKeyClick(Qt::Key_End);
    intoExtension.addKeyClicks("X");
    QTest::newRow("typing after the extension") << "IMG_0012.JPG" << intoExtension << "IMG_0012.jpg"
                                                << "";

    QTestEventList emptied;
    emptied.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    emptied.addKeyClick(Qt::Key_Delete);
    QTest::newRow("emptied box") << "IMG_0012.JPG" << emptied << ".jpg"
                                 << "";
}

void TestNameDialogs::lockWhileTyping() {
    QFETCH(QString, incoming);
    QFETCH(QTestEventList, keys);
    QFETCH(QString, shown);
    QFETCH(QString, returned);
    for (const QString kind : {"collision", "single"}) {
        TestFolder dir;
        // The name is taken (the reason for the dialog), as it comes and as shown.
        const qsizetype dot = incoming.lastIndexOf('.');
        dir.write(incoming, "x");
        dir.write(incoming.left(dot) + incoming.mid(dot).toLower(), "x");
        prepare(dir, incoming);
        MsgBoxRecorder boxes;
        const int result = runNameDialog(kind, [&](NameDialog d) {
            keys.simulate(d.txtName);
            QCOMPARE(d.txtName->text(), shown);
            QTest::mouseClick(d.ok, Qt::LeftButton);
            QCOMPARE(d.dialog->isVisible(), returned.isEmpty());
            d.dialog->close();
        });
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(kind));
        if (returned.isEmpty()) {
            QCOMPARE(result, int(QDialog::Rejected)); // closed by the close box
        } else {
            QCOMPARE(result, int(QDialog::Accepted));
            QCOMPARE(mdlSt::strWorkName, kind == "collision" ? returned : shown);
            QCOMPARE(mdlSt::strWorkPath, dir.path() + '/');
        }
    }
}

void TestNameDialogs::numberingSkipsTaken_data() {
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("mask");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("offered");
    QTest::newRow("first number") << "IMG_0012.JPG" << QStringList{"IMG_0012.jpg"} << 0 << ""
                                  << "IMG_0012 2.jpg";
    QTest::newRow("2 taken") << "IMG_0012.JPG" << QStringList{"IMG_0012.jpg", "IMG_0012 2.jpg"} << 0
                             << ""
                             << "IMG_0012 3.jpg";
    QTest::newRow("2 taken under the upper-case name")
        << "IMG_0012.JPG" << QStringList{"IMG_0012.JPG", "IMG_0012 2.JPG"} << 0 << ""
        << "IMG_0012 3.jpg";
    QTest::newRow("taken in other letter cases")
        << "IMG_0012.JPG" << QStringList{"img_0012.jpg", "Img_0012 2.jPG"} << 0 << ""
        << "IMG_0012 3.jpg";
    QTest::newRow("typed name discarded")
        << "IMG_0012.JPG" << QStringList{"IMG_0012.JPG"} << 0 << "MINE"
        << "IMG_0012 2.jpg";
    QTest::newRow("two dots") << "A.B.JPG" << QStringList{"A.B.JPG"} << 0 << ""
                              << "A.B 2.jpg";
    QTest::newRow("hidden file, hidden files not shown")
        << ".HID.JPG" << QStringList{".HID.JPG", ".HID 2.jpg"} << 0 << ""
        << ".HID 2.jpg";
    QTest::newRow("hidden file, hidden files shown")
        << ".HID.JPG" << QStringList{".HID.JPG", ".HID 2.jpg"} << 2 << ""
        << ".HID 3.jpg";
}

void TestNameDialogs::numberingSkipsTaken() {
    QFETCH(QString, incoming);
    QFETCH(QStringList, files);
    QFETCH(int, mask);
    QFETCH(QString, typed);
    QFETCH(QString, offered);
    TestFolder dir;
    for (const QString& f : files)
        dir.write(f, "x");
    prepare(dir, incoming, mask);
    MsgBoxRecorder boxes;
    const int result = RunDialog<frmNameInput>([&](frmNameInput& d) {
        if (!typed.isEmpty())
            typeOver(d.txtName, typed);
        QTest::mouseClick(d.cmdAddNumber, Qt::LeftButton);
        QCOMPARE(d.txtName->text(), offered);
        QVERIFY(d.isVisible()); // the user still confirms
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(mdlSt::strWorkName, offered.toUpper());
    QCOMPARE(mdlSt::strWorkPath, dir.path() + '/');
    QVERIFY(boxes.calls().isEmpty());
}

void TestNameDialogs::numberingAllTaken() {
    TestFolder dir;
    dir.write("X.JPG", "");
    for (int n = 2; n <= 32767; ++n)
        dir.write(QString("X %1.jpg").arg(n), "");
    prepare(dir, "X.JPG");
    MsgBoxRecorder boxes;
    RunDialog<frmNameInput>([&](frmNameInput& d) {
        typeOver(d.txtName, "MINE");
        QTest::mouseClick(d.cmdAddNumber, Qt::LeftButton);
        QCOMPARE(d.txtName->text(), QString("MINE.jpg")); // left alone
        QVERIFY(d.isVisible());
        QCOMPARE(boxes.calls().size(), 1);
        QCOMPARE(boxes.calls()[0].title, QString("警告"));
        QCOMPARE(boxes.calls()[0].icon(), int(Msg::Critical));
        QVERIFY(boxes.calls()[0].prompt.contains("32767"));

        QVERIFY(QFile::remove(dir.file("X 32767.jpg"))); // the last number comes free
        QTest::mouseClick(d.cmdAddNumber, Qt::LeftButton);
        QCOMPARE(d.txtName->text(), QString("X 32767.jpg"));
        QCOMPARE(boxes.calls().size(), 1);
        d.close();
    });
    QVERIFY(!QTest::currentTestFailed());
}

void TestNameDialogs::okOnTakenNameDoesNothing_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("mask");
    QTest::addColumn<QString>("typed"); // "" = the name as it comes
    QTest::addColumn<bool>("accepted");
    for (const QString kind : {"collision", "single"}) {
        const QByteArray k = kind.toLatin1();
        QTest::newRow(k + ": unchanged name") << kind << "IMG.jpg" << 0 << "" << false;
        QTest::newRow(k + ": hidden name, hidden not shown")
            << kind << ".B.jpg" << 0 << ".B" << true;
        QTest::newRow(k + ": hidden name, hidden shown") << kind << ".B.jpg" << 2 << ".B" << false;
        QTest::newRow(k + ": free name") << kind << "IMG.jpg" << 0 << "NEW" << true;
        QTest::newRow(k + ": unchanged name, file in another case")
            << kind << "img.jpg" << 0 << "" << false;
        QTest::newRow(k + ": taken in another case") << kind << "new.JPG" << 0 << "NEW" << false;
    }
    QTest::newRow("collision: taken under the upper-case name") << "collision"
                                                                << "IMG.JPG" << 0 << "" << false;
}

void TestNameDialogs::okOnTakenNameDoesNothing() {
    QFETCH(QString, kind);
    QFETCH(QString, file);
    QFETCH(int, mask);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    TestFolder dir;
    dir.write(file, "x");
    prepare(dir, "IMG.JPG", mask);
    MsgBoxRecorder boxes;
    runNameDialog(kind, [&](NameDialog d) {
        if (!typed.isEmpty())
            typeOver(d.txtName, typed);
        const QString shown = d.txtName->text();
        QTest::mouseClick(d.ok, Qt::LeftButton);
        QCOMPARE(d.dialog->isVisible(), !accepted);
        if (accepted)
            QCOMPARE(mdlSt::strWorkName, kind == "collision" ? shown.toUpper() : shown);
        else
            QCOMPARE(mdlSt::strWorkName, QString("IMG.JPG"));
        d.dialog->close();
    });
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(boxes.calls().isEmpty()); // a taken name is not reported
}

void TestNameDialogs::refusedNames_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    for (const QString kind : {"collision", "single"}) {
        const QByteArray k = kind.toLatin1();
        QTest::newRow(k + ": slash") << kind << "sub/NAME"
                                     << "sub/NAME.jpg";
        QTest::newRow(k + ": NUL")
            << kind << QString("A") + QChar(0) + "B" << QString("A") + QChar(0) + "B.jpg";
        QTest::newRow(k + ": empty base") << kind << ""
                                          << ".jpg";
    }
}

void TestNameDialogs::refusedNames() {
    QFETCH(QString, kind);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    TestFolder dir;
    dir.mkdir("sub");
    prepare(dir, "IMG.JPG");
    MsgBoxRecorder boxes;
    runNameDialog(kind, [&](NameDialog d) {
        QTest::keyClick(d.txtName, Qt::Key_A, Qt::ControlModifier);
        if (pasted.isEmpty()) {
            QTest::keyClick(d.txtName, Qt::Key_Delete);
        } else {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(d.txtName, Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(d.txtName->text(), shown);
        QTest::mouseClick(d.ok, Qt::LeftButton);
        QVERIFY(d.dialog->isVisible());
        QCOMPARE(d.dialog->focusWidget(), d.txtName);
        d.dialog->close();
    });
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(boxes.calls().size(), 1);
    QCOMPARE(boxes.calls()[0].title, QString("警告"));
    QCOMPARE(boxes.calls()[0].icon(), int(Msg::Critical));
    QCOMPARE(boxes.calls()[0].buttonSet(), int(Msg::OkOnly));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TestNameDialogs::cancelling_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("how");
    QTest::newRow("collision: Cancel") << "collision"
                                       << "button";
    QTest::newRow("collision: close box") << "collision"
                                          << "close box";
    QTest::newRow("collision: Esc") << "collision"
                                    << "Esc";
    QTest::newRow("single: Cancel") << "single"
                                    << "button";
    QTest::newRow("single: close box") << "single"
                                       << "close box";
}

void TestNameDialogs::cancelling() {
    QFETCH(QString, kind);
    QFETCH(QString, how);
    TestFolder dir;
    prepare(dir, "IMG.JPG");
    const int result = runNameDialog(kind, [&](NameDialog d) {
        typeOver(d.txtName, "NEW");
        if (how == "button")
            QTest::mouseClick(d.cancel, Qt::LeftButton);
        else if (how == "Esc")
            QTest::keyClick(d.txtName, Qt::Key_Escape);
        else
            d.dialog->close();
        QVERIFY(!d.dialog->isVisible());
    });
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(mdlSt::strWorkName, QString());
    QCOMPARE(mdlSt::strWorkPath, QString());
}

void TestNameDialogs::enterAndEsc() {
    TestFolder dir;
    prepare(dir, "IMG.JPG");
    // The collision dialog: Enter presses OK.
    int result = RunDialog<frmNameInput>([&](frmNameInput& d) {
        QTest::keyClick(d.txtName, Qt::Key_Return);
        QVERIFY(!d.isVisible());
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(mdlSt::strWorkName, QString("IMG.JPG"));

    // The single rename: neither Enter nor Esc does anything, not even on a
    // button that has the focus.
    prepare(dir, "IMG.JPG");
    RunDialog<frmNameInputSingle>([&](frmNameInputSingle& d) {
        QTest::keyClick(d.txtName, Qt::Key_Return);
        QTest::keyClick(d.txtName, Qt::Key_Enter);
        QTest::keyClick(d.txtName, Qt::Key_Escape);
        QTest::keyClick(d.cmdOk, Qt::Key_Return);
        QTest::keyClick(d.cmdCancel, Qt::Key_Return);
        QTest::keyClick(d.cmdCancel, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        QCOMPARE(mdlSt::strWorkName, QString("IMG.JPG"));
        QCOMPARE(mdlSt::strWorkPath, dir.path() + '/');
        d.close();
    });
    QVERIFY(!QTest::currentTestFailed());
}

void TestNameDialogs::singleInitialSelection() {
    const QList<std::pair<QString, QString>> cases = {
        {"IMG_0012.JPG", "IMG_0012"}, {"A.B.JPG", "A.B"}, {".HID.GIF", ".HID"}};
    for (const auto& [incoming, selected] : cases) {
        TestFolder dir;
        prepare(dir, incoming);
        RunDialog<frmNameInputSingle>([&](frmNameInputSingle& d) {
            QCOMPARE(d.txtName->selectedText(), selected);
            QCOMPARE(d.txtName->selectionStart(), 0);
            QCOMPARE(d.focusWidget(), d.txtName);
            d.close();
        });
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(incoming));
    }
    // The collision dialog starts without a selection.
    TestFolder dir;
    prepare(dir, "IMG_0012.JPG");
    RunDialog<frmNameInput>([&](frmNameInput& d) {
        QVERIFY(!d.txtName->hasSelectedText());
        QCOMPARE(d.focusWidget(), d.txtName);
        d.close();
    });
    QVERIFY(!QTest::currentTestFailed());
}

void TestNameDialogs::singleOkKeepsLetters() {
    TestFolder dir;
    dir.write("IMG_0012.jpg", "x");
    prepare(dir, "IMG_0012.JPG");
    const int result = RunDialog<frmNameInputSingle>([&](frmNameInputSingle& d) {
        QTest::keyClicks(d.txtName, "Sea");
        QCOMPARE(d.txtName->text(), QString("Sea.jpg"));
        QTest::mouseClick(d.cmdOk, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(mdlSt::strWorkName, QString("Sea.jpg"));
    QCOMPARE(mdlSt::strWorkPath, dir.path() + '/');
}

void TestNameDialogs::tabOrder() {
    const auto chain = [](QDialog& d, int steps) {
        QStringList names{d.focusWidget()->objectName()};
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
            names << d.focusWidget()->objectName();
        }
        return names;
    };
    TestFolder dir;
    prepare(dir, "IMG.JPG");
    QStringList seen;
    RunDialog<frmNameInput>([&](frmNameInput& d) {
        QCOMPARE(d.windowTitle(), QString("ファイル名入力"));
        seen = chain(d, 4);
        d.close();
    });
    QCOMPARE(seen, (QStringList{"txtName", "cmdOK", "cmdAddNumber", "cmdCancel", "txtName"}));
    prepare(dir, "IMG.JPG");
    RunDialog<frmNameInputSingle>([&](frmNameInputSingle& d) {
        QCOMPARE(d.windowTitle(), QString("ファイル名の変更"));
        seen = chain(d, 3);
        d.close();
    });
    QCOMPARE(seen, (QStringList{"txtName", "cmdOk", "cmdCancel", "txtName"}));
}
