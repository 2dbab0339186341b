#include "rename/NameEntry.h"

#include "platform/MsgBox.h"
#include "rename/NamingRules.h"

#include <QLineEdit>
#include <QValidator>

namespace {
// The box runs its validator on every change, typed or set by program, and
// takes over the text and caret it leaves.
class ExtensionLock : public QValidator {
public:
    ExtensionLock(const QString& extension, QObject* parent)
        : QValidator(parent), m_extension(extension) {}

    State validate(QString& input, int& pos) const override {
        const QString locked = LockExtension(input, m_extension);
        if (locked != input) {
            input = locked;
            pos = std::min<int>(pos, int(WithoutExtension(locked).size()));
        }
        return Acceptable;
    }

private:
    QString m_extension;
};
} // namespace

void InstallExtensionLock(QLineEdit& box, const QString& extension) {
    box.setValidator(new ExtensionLock(extension, &box));
}

bool RefuseName(const QString& name, QLineEdit& box) {
    const QString problem = NameProblem(name);
    if (problem.isEmpty())
        return false;
    MsgBox(problem, Msg::OkOnly | Msg::Critical, QStringLiteral("警告"));
    box.setFocus();
    return true;
}
