#pragma once

#include <QObject>

class TestNamingRules : public QObject {
    Q_OBJECT
private slots:
    void lockExtension_data();
    void lockExtension();
    void numbering_data();
    void numbering();
    void numberingEndsWhenAllTaken();
    void nameProblems_data();
    void nameProblems();
    void leadingText_data();
    void leadingText();
    void leadingNumber_data();
    void leadingNumber();
    void hugeNumbers();
    void readInteger_data();
    void readInteger();
    void batchName_data();
    void batchName();
};

class TestNameDialogs : public QObject {
    Q_OBJECT
private slots:
    void lockWhileTyping_data();
    void lockWhileTyping();
    void numberingSkipsTaken_data();
    void numberingSkipsTaken();
    void numberingAllTaken();
    void okOnTakenNameDoesNothing_data();
    void okOnTakenNameDoesNothing();
    void refusedNames_data();
    void refusedNames();
    void cancelling_data();
    void cancelling();
    void enterAndEsc();
    void singleInitialSelection();
    void singleOkKeepsLetters();
    void tabOrder();
};

class TestReNameDialog : public QObject {
    Q_OBJECT
private slots:
    void opensWithValues();
    void readings_data();
    void readings();
    void failureOrder_data();
    void failureOrder();
    void convertedBeforeKeepValues();
    void spaceCount_data();
    void spaceCount();
    void cancelling_data();
    void cancelling();
};

class TestPlacement : public QObject {
    Q_OBJECT
private slots:
    void staysOnScreen_data();
    void staysOnScreen();
    void textsFit_data();
    void textsFit();
};
