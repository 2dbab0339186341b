#include "rename/NameEntry.h"

#include "platform/MsgBox.h"
#include "rename/NamingRules.h"

#include <QLineEdit>
#include <QValidator>

namespace {
// The box runs its validator on every change, typed or set by program, and
// takes over the text and caret it leaves. Besides the lock itself it makes
// the fixed ".ext" behave like one piece when typing: a "." typed just before
// it steps over it, and deleting part of it (Backspace from the end) leaves
// it whole instead of turning its letters into part of the name.
class ExtensionLock : public QValidator {
public:
    ExtensionLock(const QString& extension, QObject* parent)
        : QValidator(parent), m_extension(extension), m_suffix(QLatin1Char('.') + extension) {}

    State validate(QString& input, int& pos) const override {
        const QString previousBase = WithoutExtension(m_previous);
        if (pos >= 1 && pos == previousBase.size() + 1 && input.mid(pos - 1, 1) == "." &&
            input.mid(pos) == m_suffix && input.left(pos - 1) == previousBase) {
            input.remove(pos - 1, 1); // typed over the fixed "."
        } else if (!m_previous.isEmpty() && input.size() < m_previous.size() &&
                   input.startsWith(previousBase) &&
                   input.size() - previousBase.size() < m_suffix.size()) {
            input = m_previous; // only characters of the fixed ".ext" were deleted
        }
        const QString locked = LockExtension(input, m_extension);
        if (locked != input)
            input = locked;
        pos = std::min<int>(pos, int(input.size()));
        m_previous = input;
        return Acceptable;
    }

    // The next change is set by program: no editing of the fixed part.
    void forgetPrevious() const { m_previous.clear(); }

private:
    QString m_extension;
    QString m_suffix;
    mutable QString m_previous; // the text as last locked
};
} // namespace

void InstallExtensionLock(QLineEdit& box, const QString& extension) {
    box.setValidator(new ExtensionLock(extension, &box));
}

void SetNameText(QLineEdit& box, const QString& text) {
    if (const auto* lock = dynamic_cast<const ExtensionLock*>(box.validator()))
        lock->forgetPrevious();
    box.setText(text);
}

bool RefuseName(const QString& name, QLineEdit& box) {
    const QString problem = NameProblem(name);
    if (problem.isEmpty())
        return false;
    MsgBox(problem, Msg::OkOnly | Msg::Critical, QStringLiteral("警告"));
    box.setFocus();
    return true;
}
