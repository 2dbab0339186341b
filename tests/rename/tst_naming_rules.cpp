// The rules behind the naming dialogs: the extension lock, the numbering
// search, refused names, the reading of numbers and the batch names.
#include "tst_rename.h"

#include "rename/NamingRules.h"

#include <QSet>
#include <QtTest>
#include <cmath>

void TestNamingRules::lockExtension_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locked");
    QTest::newRow("typed extension replaced") << "HOLIDAY.PNG"
                                              << "HOLIDAY.jpg";
    QTest::newRow("removed extension restored") << "IMG_0012"
                                                << "IMG_0012.jpg";
    QTest::newRow("emptied box") << ""
                                 << ".jpg";
    QTest::newRow("two dots keep the first") << "A.B.JPG"
                                             << "A.B.jpg";
    QTest::newRow("letter case of the extension") << "X.JpG"
                                                  << "X.jpg";
    QTest::newRow("a dot at the end stays in the name") << "A."
                                                        << "A..jpg";
    QTest::newRow("blank base") << " .gif"
                                << " .jpg";
}

void TestNamingRules::lockExtension() {
    QFETCH(QString, text);
    QFETCH(QString, locked);
    QCOMPARE(LockExtension(text, "jpg"), locked);
    QCOMPARE(LockExtension(locked, "jpg"), locked); // its own result stays
}

void TestNamingRules::numbering_data() {
    QTest::addColumn<QString>("incoming");
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QString>("offered");
    QTest::newRow("nothing taken") << "IMG_0012.JPG" << QStringList{} << "IMG_0012 2.jpg";
    QTest::newRow("2 taken") << "IMG_0012.JPG" << QStringList{"IMG_0012 2.jpg"} << "IMG_0012 3.jpg";
    QTest::newRow("2 to 4 taken, 6 too")
        << "IMG_0012.JPG"
        << QStringList{"IMG_0012 2.jpg", "IMG_0012 3.jpg", "IMG_0012 4.jpg", "IMG_0012 6.jpg"}
        << "IMG_0012 5.jpg";
    QTest::newRow("two dots") << "A.B.JPG" << QStringList{} << "A.B 2.jpg";
    QTest::newRow("last number free") << "X.GIF" << [] {
        QStringList all;
        for (int n = 2; n < HighestFreeNumber; ++n)
            all << QString("X %1.gif").arg(n);
        return all;
    }() << "X 32767.gif";
}

void TestNamingRules::numbering() {
    QFETCH(QString, incoming);
    QFETCH(QStringList, taken);
    QFETCH(QString, offered);
    const QSet<QString> set(taken.begin(), taken.end());
    const auto name = FirstFreeNumberedName(incoming, LowerExtension(incoming),
                                            [&](const QString& n) { return set.contains(n); });
    QVERIFY(name.has_value());
    QCOMPARE(*name, offered);
}

void TestNamingRules::numberingEndsWhenAllTaken() {
    int asked = 0;
    const auto name = FirstFreeNumberedName("A.JPG", "jpg", [&](const QString&) {
        ++asked;
        return true;
    });
    QVERIFY(!name.has_value());
    QCOMPARE(asked, HighestFreeNumber - 1); // 2 .. 32767, each once
}

void TestNamingRules::nameProblems_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::newRow("plain") << "SEA.jpg" << false;
    QTest::newRow("slash") << "a/b.jpg" << true;
    QTest::newRow("slash alone") << "/.jpg" << true;
    QTest::newRow("NUL") << QString("a") + QChar(0) + "b.jpg" << true;
    QTest::newRow("empty base") << ".jpg" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("hidden file keeps its dot") << ".h.jpg" << false;
    QTest::newRow("blank base") << "  .jpg" << true;
    QTest::newRow("full-width blank base") << QString(QChar(0x3000)) + ".jpg" << true;
    QTest::newRow("blank before a name") << " a.jpg" << false;
    QTest::newRow("wildcards are plain characters here") << "a*?.jpg" << false;
}

void TestNamingRules::nameProblems() {
    QFETCH(QString, name);
    QFETCH(bool, refused);
    QCOMPARE(!NameProblem(name).isEmpty(), refused);
}

void TestNamingRules::leadingText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");
    QTest::newRow("plain") << "TRIP" << false;
    QTest::newRow("slash") << "TRIP/" << true;
    QTest::newRow("NUL") << QString("T") + QChar(0) << true;
}

void TestNamingRules::leadingText() {
    QFETCH(QString, text);
    QFETCH(bool, refused);
    QCOMPARE(!LeadingTextProblem(text).isEmpty(), refused);
}

void TestNamingRules::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("12abc") << "12abc" << 12.0;
    QTest::newRow("2.5") << "2.5" << 2.5;
    QTest::newRow("leading blank") << " 7" << 7.0;
    QTest::newRow("blanks inside") << "1 2\t3" << 123.0;
    QTest::newRow("negative") << "-5" << -5.0;
    QTest::newRow("plus") << "+3" << 3.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("point first") << "-.5" << -0.5;
    QTest::newRow("point last") << "5." << 5.0;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent with sign") << "25E-1x" << 2.5;
    QTest::newRow("D exponent") << "1d2" << 100.0;
    QTest::newRow("exponent without digits") << "4e" << 4.0;
    QTest::newRow("tiny") << "1e-400" << 0.0;
}

void TestNamingRules::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(LeadingNumber(text), value);
}

void TestNamingRules::hugeNumbers() {
    QVERIFY(std::isinf(LeadingNumber("1e400")));
    QVERIFY(LeadingNumber("-1e400") < 0);
    QVERIFY(!ReadInteger("1e400", -32768, 32767).has_value());
}

void TestNamingRules::readInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<int>("value"); // -99999 = out of range
    QTest::newRow("2.5 to even 2") << "2.5" << -32768 << 32767 << 2;
    QTest::newRow("3.5 to even 4") << "3.5" << -32768 << 32767 << 4;
    QTest::newRow("-2.5 to even -2") << "-2.5" << -32768 << 32767 << -2;
    QTest::newRow("2.6 up") << "2.6" << -32768 << 32767 << 3;
    QTest::newRow("0.5 to 0") << "0.5" << 0 << 255 << 0;
    QTest::newRow("-0.5 to 0 fits a byte") << "-0.5" << 0 << 255 << 0;
    QTest::newRow("highest") << "32767" << -32768 << 32767 << 32767;
    QTest::newRow("32767.5 rounds out") << "32767.5" << -32768 << 32767 << -99999;
    QTest::newRow("-32768.5 rounds in") << "-32768.5" << -32768 << 32767 << -32768;
    QTest::newRow("40000") << "40000" << -32768 << 32767 << -99999;
    QTest::newRow("byte 255") << "255" << 0 << 255 << 255;
    QTest::newRow("byte 256") << "256" << 0 << 255 << -99999;
    QTest::newRow("byte -1") << "-1" << 0 << 255 << -99999;
}

void TestNamingRules::readInteger() {
    QFETCH(QString, text);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(int, value);
    const std::optional<int> read = ReadInteger(text, lowest, highest);
    QCOMPARE(read.has_value(), value != -99999);
    if (read)
        QCOMPARE(*read, value);
}

void TestNamingRules::batchName_data() {
    QTest::addColumn<QString>("leading");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("digits");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << "TRIP " << 1 << 1 << 3 << 0 << "a.jpg"
                           << "TRIP 001.JPG";
    QTest::newRow("third, its own extension") << "TRIP " << 1 << 1 << 3 << 2 << "c.Gif"
                                              << "TRIP 003.GIF";
    QTest::newRow("no space") << "TRIP" << 1 << 1 << 3 << 0 << "a.jpg"
                              << "TRIP001.JPG";
    QTest::newRow("longer than the digits") << "T" << 1234 << 1 << 2 << 0 << "a.bmp"
                                            << "T1234.BMP";
    QTest::newRow("sign before the padding") << "T" << -5 << 1 << 3 << 0 << "a.jpg"
                                             << "T-005.JPG";
    QTest::newRow("down through zero") << "T" << 1 << -1 << 3 << 1 << "a.jpg"
                                       << "T000.JPG";
    QTest::newRow("below zero") << "T" << 1 << -1 << 3 << 2 << "a.jpg"
                                << "T-001.JPG";
    QTest::newRow("beyond 16 bits") << "T" << 32767 << 32767 << 1 << 254 << "a.jpg"
                                    << "T8355585.JPG";
    QTest::newRow("beyond 16 bits, negative") << "T" << -32768 << -32768 << 3 << 2 << "a.jpg"
                                              << "T-98304.JPG";
    QTest::newRow("two dots") << "T" << 1 << 1 << 1 << 0 << "a.b.jpeg"
                              << "T1.JPEG";
}

void TestNamingRules::batchName() {
    QFETCH(QString, leading);
    QFETCH(int, start);
    QFETCH(int, step);
    QFETCH(int, digits);
    QFETCH(int, k);
    QFETCH(QString, file);
    QFETCH(QString, name);
    QCOMPARE(BatchName(leading, start, step, digits, k, file), name);
}
