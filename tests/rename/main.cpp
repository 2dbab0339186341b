// Runs the test classes of the naming dialogs in turn.
#include "tst_rename.h"

#include <QApplication>
#include <QtTest>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int failed = 0;
    {
        TestNamingRules t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        TestNameDialogs t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        TestReNameDialog t;
        failed += QTest::qExec(&t, argc, argv);
    }
    {
        TestPlacement t;
        failed += QTest::qExec(&t, argc, argv);
    }
    return failed;
}
