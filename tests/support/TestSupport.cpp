#include "TestSupport.h"

#include "app/mdlSt.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QStandardPaths>
#include <QtTest>

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
    mdlSt::ResetState();
    mdlSt::SetProgramFolder(programFolder);
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
