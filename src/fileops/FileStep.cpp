#include "fileops/FileStep.h"

#include "platform/MsgBox.h"

bool RunFileStep(const std::function<FsStatus()>& step) {
    for (;;) {
        if (step() == FsStatus::Ok)
            return true;
        const int answer = MsgBox(QStringLiteral("ﾌｧｲﾙが操作出来ません"),
                                  Msg::RetryCancel | Msg::Critical, QStringLiteral("警告"));
        if (answer != Msg::Retry)
            return false;
    }
}
