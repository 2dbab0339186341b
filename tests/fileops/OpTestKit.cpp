#include "OpTestKit.h"

#include "TestSupport.h"
#include "app/frmDir.h"
#include "platform/DirList.h"
#include "thumbs/ThumbWidgets.h"

#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

QByteArray Sha(const QString& path) {
    return QCryptographicHash::hash(ReadAll(path), QCryptographicHash::Sha256).toHex();
}

QMap<QString, QByteArray> Snapshot(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out.insert(QDir(folder).relativeFilePath(path), Sha(path));
    }
    return out;
}

QByteArray Noise(qsizetype size, quint32 seed) {
    QByteArray b(size, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    for (char& c : b)
        c = char(gen.bounded(256));
    return b;
}

int EntryOf(const frmPreview& w, const QString& name) {
    for (int i = 0; i < w.intFileCount && i < w.strFiles.size(); ++i)
        if (QFileInfo(w.strFiles[i]).fileName() == name)
            return i;
    return -1;
}

QStringList ShownNames(const frmPreview& w) {
    QStringList out;
    for (int i = 0; i < w.intFileCount; ++i)
        if (!w.lblName[i]->text().isEmpty())
            out.append(w.lblName[i]->text());
    return out;
}

void SelectNames(frmPreview& w, const QStringList& names) {
    bool first = true;
    for (const QString& name : names) {
        const int i = EntryOf(w, name);
        QVERIFY2(i >= 0, qPrintable(name));
        QTest::mouseClick(w.picPre1[i], Qt::LeftButton,
                          first ? Qt::NoModifier : Qt::ControlModifier, QPoint(2, 2));
        first = false;
    }
}

void Activate(frmMain& f, frmPreview& w) {
    f.mdiArea->setActiveSubWindow(&w);
    QCoreApplication::processEvents();
}

void ChooseFolder(ModalScript& modal, const QString& folder) {
    modal.then([folder](QDialog& d) {
        auto& chooser = static_cast<frmDir&>(d);
        QCOMPARE(chooser.dirCSelect->setPath(folder), FsStatus::Ok);
        QTest::mouseClick(chooser.cmdOK, Qt::LeftButton);
    });
}

namespace {
QPushButton* ButtonOf(QDialog& d, const QString& caption) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
        if (b->text() == caption)
            return b;
    return nullptr;
}
} // namespace

void PressButton(ModalScript& modal, const QString& caption) {
    modal.then([caption](QDialog& d) {
        QPushButton* b = ButtonOf(d, caption);
        QVERIFY2(b, qPrintable(d.windowTitle() + ": " + caption));
        QTest::mouseClick(b, Qt::LeftButton);
    });
}

void TypeNameAndOk(ModalScript& modal, const QString& name) {
    modal.then([name](QDialog& d) {
        auto* box = d.findChild<QLineEdit*>(QStringLiteral("txtName"));
        QVERIFY(box);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        TypeText(box, name);
        QPushButton* ok = ButtonOf(d, QStringLiteral("OK"));
        QVERIFY(ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
}
