#pragma once

#include "platform/MsgBox.h"
#include "platform/ShowModal.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>

class QDialog;
class QWidget;

// Records every message box and answers from a script; an unscripted box is
// answered with its first button (OK, Yes or Retry).
class MsgBoxRecorder {
public:
    MsgBoxRecorder();
    ~MsgBoxRecorder();
    void answer(int result) { m_answers.push_back(result); }
    const QList<MsgBoxCall>& calls() const { return m_calls; }
    QStringList prompts() const;
    void clear() { m_calls.clear(); }

private:
    QList<MsgBoxCall> m_calls;
    std::deque<int> m_answers;
};

// Drives modal dialogs: each shown dialog goes to the next handler in line.
class ModalScript {
public:
    ModalScript();
    ~ModalScript();
    void then(std::function<void(QDialog&)> handler) { m_handlers.push_back(std::move(handler)); }
    int shown() const { return m_shown; }

private:
    std::deque<std::function<void(QDialog&)>> m_handlers;
    int m_shown = 0;
};

// A fresh shared state with its own program folder, and files in it.
class TestFolder {
public:
    TestFolder();
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    QString write(const QString& relative, const QByteArray& content) const;
    QString mkdir(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

// Resets the shared state and points the program folder at the given folder,
// the thumbnail cache at its subfolder cache/thumbnails and the user's
// configuration folder at its subfolder config.
void ResetForTest(const QString& programFolder);

QByteArray ReadAll(const QString& path);

// A file system mounted over a folder, unmounted at the end (mounting needs
// root; ok tells whether it is mounted).
struct Mounted {
    QByteArray point;
    bool ok = false;
    explicit Mounted(const QString& path);
    ~Mounted();
    Mounted(const Mounted&) = delete;
    Mounted& operator=(const Mounted&) = delete;
};

// Another folder shown at a folder (a bind mount).
struct BindMount : Mounted {
    BindMount(const QString& source, const QString& path);
};

// A tmpfs of its own over a folder.
struct SmallDisk : Mounted {
    SmallDisk(const QString& path, qint64 bytes);
    bool remountReadOnly() const;
    // Fills the disk until only `leave` bytes are free.
    bool leaveFree(qint64 leave) const;
};

// Runs a block as the unprivileged user "nobody", then as root again; ok only
// when the process could change its user.
struct AsNobody {
    bool ok;
    AsNobody();
    ~AsNobody();
};

// Types text into a widget as a user would: key presses for ASCII, an input
// method commit (as a Japanese input method sends it) for anything else.
void TypeText(QWidget* widget, const QString& text);
