#pragma once

// One run of CopyAndMove: the checks made before any file is touched, the
// dispatch on the operation code, the per-file gates, the operations and the
// closing steps of each. Every file step goes through RunFileStep, and a step
// the user cancels skips the rest of that file's steps.
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

class frmMain;
class frmPreview;

class FileOperation {
public:
    explicit FileOperation(frmMain& main);
    void run(const QString& strDirPath2);

private:
    // Per-file gates; each leaves the name to use in mdlSt::strWorkName and
    // passes when it is not empty.
    bool readOnlyGate(int i);
    bool collisionGate(const QString& folder);
    // The collision gate for a file's upper-case name in the destination,
    // then the copy (for a move, a link arrives as a link); true when the
    // copy is there (its name in strWorkName).
    bool copyIn(const QString& file, bool forMove);

    void opOpen();
    void opRenameAll();
    void opRenameOne();
    void opCopy();
    void opMove();
    void opDelete();
    void fallback();

    // Entry n of the source window shows nothing until the next layout.
    void blank(int n);
    // Entry n of the source window shows and holds its new name.
    void renamed(int n, const QString& name, const QString& path);
    // A file arrived in the folder of the window of a slot.
    void arrived(int slot, const QString& name);

    // Closing steps.
    void relayout();
    void clearSelection();
    void panelRefresh();
    void eraseLists();

    frmMain& m_main;
    // The selection as it was when the operation began: a click in a
    // thumbnail window while an arriving image loads cannot change it.
    QStringList m_files;
    QList<int> m_indexes;
    QPointer<frmPreview> m_source;
    QString m_dirPath2;
    QString m_dest; // the destination folder with one trailing "/"
};
