#include "platform/FormText.h"

#include <QFont>
#include <QLabel>
#include <QWidget>

QFont FormFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPointSize(9);
    return font;
}

namespace {
// Lengthens [start, start + length) to `need`, keeping its start or its
// centre, within [0, limit).
void grow(int& start, int& length, int need, bool keepCentre, int limit) {
    if (need <= length)
        return;
    if (keepCentre)
        start -= (need - length) / 2;
    length = need;
    start = std::clamp(start, 0, std::max(limit - length, 0));
    length = std::min(length, limit - start);
}
} // namespace

void FitFormTexts(QWidget& form) {
    form.setFont(FormFont());
    for (QLabel* label : form.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QRect r = label->geometry();
        int left = r.left(), top = r.top(), width = r.width(), height = r.height();
        if (label->wordWrap()) {
            grow(top, height, label->heightForWidth(width), false, form.height());
        } else {
            const QSize need = label->sizeHint();
            grow(left, width, need.width(), label->alignment() & Qt::AlignHCenter, form.width());
            grow(top, height, need.height(), false, form.height());
        }
        label->setGeometry(left, top, width, height);
    }
}
